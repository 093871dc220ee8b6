#pragma once
// Shared by the video edit tests that go all the way to a disc: a clip
// imported as the title list imports it, and production's road for one
// title: the converter writes the title's stream (PAL, 16:9), then Corvane's
// dvdauthor step authors it into a DVD folder. Also one frame of a stream as
// a picture, through ffmpeg.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QThread>

#include "TestSupport.h"
#include "corvane/DVDFSMake.h"
#include "corvane/DVDLibrary.h"
#include "lumenta/LMFunctions.h"
#include "media/DVDChapterVideo.h"
#include "media/DVDTitleVideo.h"
#include "media/VCVideoConverter.h"
#include "model/DVDResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/ModelServices.h"
#include "model/SectionDataResource.h"

namespace videoedittest {

// The project's disc: PAL, 16:9.
struct PalWide : ModelServices {
    std::shared_ptr<DVDResource> disc = std::make_shared<DVDResource>();
    PalWide()
    {
        disc->setDvdFormat(1);
        disc->setAspectType(1);
    }
    std::shared_ptr<DVDResource> dvd() const override { return disc; }
};

// The whole file as one clip, the way the title list imports it.
inline std::shared_ptr<MediaData> importClip(const QString& path, double seconds)
{
    const auto resource = SectionDataResource::resourceWithPath(path);
    if (!resource) {
        ADD_FAILURE() << "not imported: " << qPrintable(path);
        return nullptr;
    }
    const auto section = resource->createMediaSectionItem();
    section->setStartTimeInMedia(0);
    section->setEndTimeInMedia(
        static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base())));
    resource->mediaSectionArray().append(section);
    return section->createMediaData();
}

// Encodes the movies as one PAL 16:9 MPEG-2 title stream.
inline bool encode(const QList<VCMovie::Ptr>& movies, const QString& path)
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = 4000000;
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    format.audio_bitrate = 448000;
    format.sample_rate = 48000;
    format.aspect = 16.0f / 9.0f;
    format.width = 720;
    format.height = 576;
    format.frameTime = 1;
    format.framerate = 25;
    auto job = VCVideoConverter::create();
    job->setMovies({movies.begin(), movies.end()});
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
    EXPECT_TRUE(job->isFinished() && job->succeeded()) << qPrintable(job->errorText());
    return job->isFinished() && job->succeeded() && QFile::exists(path);
}

// The clip as the one title of a disc without menu, authored into
// <work>/dvd.dvdmedia; answers that folder, or an empty string on failure.
inline QString authorClip(const std::shared_ptr<MediaData>& clip, const QString& work)
{
    if (!QDir().mkpath(work)) {
        return {};
    }
    auto chapter = brisane::DVDChapterVideo::create();
    chapter->setMovies(clip->segmentMovies());
    auto title = brisane::DVDTitleVideo::create();
    title->setChapters({chapter});
    if (!encode(title->vcmovies(), work + "/title0.dvd")) {
        return {};
    }
    auto disc = std::make_shared<DVDLibrary>();
    disc->setNoMenu(true);
    disc->setAspectType(1);
    disc->setFormat(1);
    disc->setDvdBitrate(4000);
    disc->setTitles({title});
    DVDFSMake author;
    author.dvd(disc, work);
    if (!author.start()) {
        ADD_FAILURE() << "dvdauthor step failed";
        return {};
    }
    return work + "/dvd.dvdmedia";
}

// Frame number `frame` of a stream, written to `png` and read back.
inline QImage frameOf(const QString& stream, int frame, const QString& png)
{
    testsupport::runProgram("ffmpeg",
                            {"-v", "error", "-y", "-i", stream, "-vf",
                             QString("select=eq(n\\,%1)").arg(frame), "-frames:v", "1", png});
    return QImage(png);
}

}  // namespace videoedittest
