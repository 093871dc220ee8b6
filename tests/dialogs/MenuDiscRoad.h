#pragma once
// A short road from a disc model to a DVD folder for the dialog tests: each
// title's pieces and each menu converted the way production converts them,
// spumux for the menus' buttons and dvdauthor through Corvane; then what the
// folder's first menu shows and the button areas its navigation packets
// hold. Titles are plain clips here (no slideshow music).

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>
#include <dvdread/nav_read.h>
#include <dvdread/nav_types.h>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QList>
#include <QRect>
#include <QThread>

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

namespace dialogtest {

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
    DVDFSMake author;
    author.dvd(disc, work);
    if (!author.start()) {
        ADD_FAILURE() << "dvdauthor failed";
        return false;
    }
    return true;
}

// The button areas of the first navigation packet of the first menu of the
// DVD folder at `path`, each x0, y0, x1, y1 in video pixels from the top.
inline QList<QRect> firstMenuButtons(const QString& path)
{
    QList<QRect> buttons;
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(path).constData());
    if (!dvd) {
        ADD_FAILURE() << "libdvdread cannot open " << qPrintable(path);
        return buttons;
    }
    ifo_handle_t* vts = ifoOpen(dvd, 1);
    dvd_file_t* menus = vts ? DVDOpenFile(dvd, 1, DVD_READ_MENU_VOBS) : nullptr;
    if (vts && menus && vts->pgci_ut && vts->pgci_ut->nr_of_lus > 0) {
        const pgcit_t* chains = vts->pgci_ut->lu[0].pgcit;
        for (int i = 0; i < chains->nr_of_pgci_srp && buttons.isEmpty(); ++i) {
            const pgc_t* pgc = chains->pgci_srp[i].pgc;
            if (!pgc || pgc->nr_of_cells == 0 || !pgc->cell_playback) {
                continue;
            }
            unsigned char block[DVD_VIDEO_LB_LEN];
            const int sector = static_cast<int>(pgc->cell_playback[0].first_sector);
            if (DVDReadBlocks(menus, sector, 1, block) != 1) {
                continue;
            }
            const unsigned char* pci = block + 0x26;
            if (pci[0] == 0 && pci[1] == 0 && pci[2] == 1 && pci[3] == 0xbf && pci[6] == 0) {
                pci_t packet;
                navRead_PCI(&packet, const_cast<unsigned char*>(pci) + 7);
                for (int b = 0; b < (packet.hli.hl_gi.btn_ns & 0x3f); ++b) {
                    const btni_t& button = packet.hli.btnit[b];
                    buttons.append(QRect(QPoint(int(button.x_start), int(button.y_start)),
                                         QPoint(int(button.x_end), int(button.y_end))));
                }
            }
        }
    }
    if (menus) {
        DVDCloseFile(menus);
    }
    if (vts) {
        ifoClose(vts);
    }
    DVDClose(dvd);
    return buttons;
}

// Frame `frame` of a stream, decoded by ffmpeg into `png`.
inline QImage frameOf(const QString& path, int frame, const QString& png)
{
    testsupport::runProgram(
        "ffmpeg", {"-v", "error", "-y", "-i", path, "-vf", QString("select=eq(n\\,%1)").arg(frame),
                   "-frames:v", "1", png});
    return QImage(png);
}

}  // namespace dialogtest
