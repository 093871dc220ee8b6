#pragma once
// Production's road from a disc model to a DVD folder, for the tests that go
// all the way to a disc: each title's pieces and each menu converted the way
// production converts them, spumux for the menus' buttons and dvdauthor
// through Corvane. Also one frame of a stream as a picture, through ffmpeg.
// Header-only: only test executables that link the media and Corvane
// modules include it.
//
// produceDisc takes the whole road with production's own rendering step
// (menu music included); executables that include this header link the
// production module for it.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QList>
#include <QThread>

#include "ProductionThread.h"
#include "TestSupport.h"
#include "corvane/DVDFSMake.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuMake.h"
#include "lumenta/LMFormats.h"
#include "lumenta/LMFunctions.h"
#include "media/DVDMenuVideo.h"
#include "media/DVDTitleVideo.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"
#include "model/DVDPage.h"
#include "production/MakeDVDVideo.h"
#include "production/ProductionResult.h"

namespace testsupport {

// The MPEG-2/AC-3 stream format of the disc's video standard and aspect.
inline LMFFMovieFileOutputFormat movieOutputFormat(const DVDLibrary& disc)
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = static_cast<int32_t>(disc.dvdBitrate() * 1000);
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    format.audio_bitrate = 448000;
    format.sample_rate = 48000;
    format.aspect = disc.aspectType() == 1 ? 16.0f / 9.0f : 4.0f / 3.0f;
    format.width = disc.dvdVideoSize().width();
    format.height = disc.dvdVideoSize().height();
    format.frameTime = disc.dvdVideoTimebase().width();
    format.framerate = disc.dvdVideoTimebase().height();
    return format;
}

// Converts the items into `path`, keeping the event loop running until the
// job ends. False (and a failure) when nothing was written.
inline bool convertMovies(const QList<IMediaItem::Ptr>& items, const QString& path,
                          const LMFFMovieFileOutputFormat& format)
{
    auto job = VCVideoConverter::create();
    job->setMovies(items);
    job->setPath(path);
    job->setMovieOutputFormat(format);
    job->updateConverterContent();
    job->startConvert();
    QElapsedTimer timer;
    timer.start();
    while (!job->isFinished() && !job->isCanceled() && timer.elapsed() < 120000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    if (!job->isFinished() || !job->succeeded()) {
        ADD_FAILURE() << "conversion to " << qPrintable(path)
                      << " failed: " << qPrintable(job->errorText());
        return false;
    }
    return QFile::exists(path);
}

// dvdauthor through Corvane over what `work` holds: the DVD folder
// "dvd.dvdmedia" there. False (with a failure) when it fails.
inline bool runDvdauthor(const std::shared_ptr<DVDLibrary>& disc, const QString& work)
{
    DVDFSMake author;
    author.dvd(disc, work);
    if (!author.start()) {
        ADD_FAILURE() << "dvdauthor failed";
        return false;
    }
    return true;
}

// Renders every title and menu of `disc` into `work` and authors the DVD
// folder "dvd.dvdmedia" there. False (with a failure) when a step fails.
inline bool authorDisc(const std::shared_ptr<DVDLibrary>& disc, const QString& work)
{
    const LMFFMovieFileOutputFormat format = movieOutputFormat(*disc);
    const auto titles = disc->titles();
    for (qsizetype i = 0; i < titles.size(); ++i) {
        const auto title = std::dynamic_pointer_cast<brisane::DVDTitleVideo>(titles[i]);
        if (!title) {
            ADD_FAILURE() << "title " << i << " is not a title video";
            return false;
        }
        const QList<VCMovie::Ptr> pieces = title->vcmovies();
        if (!convertMovies({pieces.begin(), pieces.end()}, work + QString("/title%1.dvd").arg(i),
                           format)) {
            return false;
        }
    }
    const auto menus = disc->menus();
    for (qsizetype k = 0; k < menus.size(); ++k) {
        const auto page = std::dynamic_pointer_cast<DVDPage>(menus[k]);
        const DVDMenuVideo::Ptr menu = DVDMenuVideo::vcmovies(page).last();
        const QString stream = work + QString("/menu-temp-%1.dvd").arg(k);
        if (!convertMovies({menu}, stream, format)) {
            return false;
        }
        DVDMenuMake spumux;
        spumux.makeMenu(page, disc, work + QString("/menu%1.dvd").arg(k), stream, work);
        if (!spumux.start()) {
            ADD_FAILURE() << "spumux failed for menu " << k;
            return false;
        }
    }
    return runDvdauthor(disc, work);
}

// Frame number `frame` of a stream, decoded by ffmpeg into `png` and read back.
inline QImage frameOf(const QString& stream, int frame, const QString& png)
{
    runProgram("ffmpeg", {"-v", "error", "-y", "-i", stream, "-vf",
                          QString("select=eq(n\\,%1)").arg(frame), "-frames:v", "1", png});
    return QImage(png);
}

// Production's own rendering step (MakeDVDVideo: the titles, then each menu
// with its music rendered and carried as its sound, and its buttons through
// spumux) into `work`, then dvdauthor through Corvane: the DVD folder
// "dvd.dvdmedia" there. Renders on a production thread while the calling
// thread serves its events. False (with a failure) when a step fails.
// `minimumPieceLength` (seconds, when positive) is the shortest piece a title
// is cut into; `titlesInPieces` gets how many titles were.
inline bool produceDisc(const std::shared_ptr<DVDLibrary>& disc, const QString& work,
                        double minimumPieceLength = 0.0, int* titlesInPieces = nullptr)
{
    MakeDVDVideo render;
    if (minimumPieceLength > 0.0) {
        render.setMinimumPieceLength(minimumPieceLength);
    }
    const ProductionResult made = renderOnProductionThread(render, disc, work);
    if (titlesInPieces) {
        *titlesInPieces = render.titlesInPieces();
    }
    if (!made.isSucceeded()) {
        ADD_FAILURE() << "rendering failed: " << qPrintable(made.toString());
        return false;
    }
    return runDvdauthor(disc, work);
}

}  // namespace testsupport
