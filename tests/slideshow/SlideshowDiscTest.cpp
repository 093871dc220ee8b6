// From the editing window to the disc: a slideshow of three generated photos
// edited as a user does (the Crossfade transition and 2 s per photo chosen in
// the chooser, a photo deleted and one added through the file panel), then
// produced as production does it today (the slideshow through the
// converter, the DVD folder by Corvane's dvdauthor step) and read back with
// libdvdread: the title lasts 2 × (F + 1 + L) seconds and shows the added
// photo, not the deleted one.

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "../media/SlideshowRenderTestSupport.h"
#include "../media/TransitionTestSupport.h"
#include "../model/DVDResourceTestFixture.h"
#include "SlideshowEditTestSupport.h"
#include "corvane/DVDFSMake.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDToolLocator.h"
#include "lumenta/LMFunctions.h"
#include "media/DVDChapterVideo.h"
#include "media/DVDTitleVideo.h"
#include "media/ImageAudioVideo.h"
#include "media/ImageRenderVideo.h"
#include "media/RenderController.h"
#include "media/RenderItem.h"
#include "media/SlideshowItem.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "slideshow/AudioEditItemView.h"
#include "slideshow/AudioEditView.h"
#include "slideshow/AudioLineCtrl.h"
#include "slideshow/BusyWindowController.h"
#include "slideshow/EditPlayerProgressView.h"
#include "slideshow/QuartzPreviewView.h"
#include "slideshow/RenderEditWndCtrl.h"
#include "slideshow/RenderThumbnailView.h"
#include "slideshow/SlideshowWndCtrl.h"

namespace {

using slideshowedit::waitUntil;

LMFFMovieFileOutputFormat discFormat(const DVDLibrary& disc)
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

// Converts the pieces into `path`, keeping the main event loop running.
bool convert(const QList<VCMovie::Ptr>& pieces, const QString& path,
             const LMFFMovieFileOutputFormat& format)
{
    auto job = VCVideoConverter::create();
    job->setMovies({pieces.begin(), pieces.end()});
    job->setPath(path);
    job->setMovieOutputFormat(format);
    job->updateConverterContent();
    job->startConvert();
    waitUntil([&] { return job->isFinished() || job->isCanceled(); }, 120000);
    EXPECT_TRUE(job->isFinished() && job->succeeded()) << qPrintable(job->errorText());
    return job->succeeded() && QFile::exists(path);
}

// The first title's playing time as the disc's program chain states it.
double titleSeconds(const QString& folder)
{
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(folder).constData());
    if (!dvd) {
        ADD_FAILURE() << "libdvdread cannot open " << qPrintable(folder);
        return -1;
    }
    double seconds = -1;
    if (ifo_handle_t* vts = ifoOpen(dvd, 1)) {
        if (vts->vts_pgcit && vts->vts_pgcit->nr_of_pgci_srp > 0) {
            const dvd_time_t& t = vts->vts_pgcit->pgci_srp[0].pgc->playback_time;
            const auto bcd = [](uint8_t v) { return (v >> 4) * 10 + (v & 0x0f); };
            const double rate = (t.frame_u >> 6) == 1 ? 25.0 : 30000.0 / 1001.0;
            seconds = bcd(t.hour) * 3600.0 + bcd(t.minute) * 60.0 + bcd(t.second) +
                      bcd(t.frame_u & 0x3f) / rate;
        }
        ifoClose(vts);
    }
    DVDClose(dvd);
    return seconds;
}

QColor centreOfFrame(const QString& vob, double seconds, const QString& png)
{
    const int frame = static_cast<int>(seconds * 25.0);
    testsupport::runProgram(
        "ffmpeg", {"-v", "error", "-y", "-i", vob, "-vf", QString("select=eq(n\\,%1)").arg(frame),
                   "-frames:v", "1", png});
    const QImage picture(png);
    EXPECT_FALSE(picture.isNull()) << seconds;
    return picture.isNull() ? QColor() : picture.pixelColor(picture.rect().center());
}

class SlideshowToDisc : public disctest::DiscSideTest {};

TEST_F(SlideshowToDisc, EditedSlideshowBecomesATitle)
{
    RenderController::setTransitionFolderPath(transitiontest::shippedTransitionFolder());
    DVDToolLocator::setToolFolder(QString());
    services->disc = std::make_shared<DVDResource>();
    services->disc->setDvdFormat(1);
    services->disc->setAspectType(1);
    slideshowtest::PhotoFolder photos;
    const QStringList paths = photos.photos(3);  // red, green, blue
    const auto slides = SectionDataResource::resourceWithImagePaths(paths);
    ASSERT_TRUE(slides && slides->imageSource());
    const std::shared_ptr<RenderItem> slideshow = slides->imageSource();
    QTemporaryDir dir = testsupport::makeTempDir();
    QImage magenta(320, 240, QImage::Format_RGB32);
    magenta.fill(Qt::magenta);
    const QString added = dir.filePath("added.png");
    ASSERT_TRUE(magenta.save(added));

    // --- The editing window, as the user works it ---
    QWidget mainWindow;
    mainWindow.resize(1024, 768);
    RenderEditWndCtrl editor(&mainWindow);
    editor.setEnumDisplayRatio(1);
    mainWindow.show();
    bool edited = false;
    QTimer::singleShot(0, [&] {
        slideshowedit::showActive(editor.window());
        SlideshowWndCtrl* chooser = editor.wCtrlSlideshow();
        QTimer::singleShot(0, [&, chooser] {
            QTest::mouseClick(chooser->previewViewOfName("Crossfade.qtz"), Qt::LeftButton, {},
                              QPoint(80, 50));
            QLineEdit* field = chooser->edtDuration();
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, "2");
            QTest::keyClick(field, Qt::Key_Return);
            chooser->btnDone()->click();
        });
        editor.btnThemes()->click();  // returns when the chooser closes
        ASSERT_EQ(slideshow->slideshowName(), "Crossfade.qtz");

        slideshowedit::showActive(editor.window());
        QTest::mouseClick(editor.mtAryThumbnailViews().first(), Qt::LeftButton, {}, QPoint(50, 50));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        ASSERT_EQ(editor.mtAryThumbnailViews().size(), 2);

        editor.btnAdd()->click();
        auto* panel = editor.window()->findChild<QFileDialog*>();
        ASSERT_TRUE(panel);
        EXPECT_EQ(panel->labelText(QFileDialog::Accept), "Select");
        EXPECT_EQ(panel->fileMode(), QFileDialog::ExistingFiles);
        panel->selectFile(added);
        static_cast<QDialog*>(panel)->accept();  // the panel's OK
        ASSERT_TRUE(waitUntil([&] {
            return editor.mtAryThumbnailViews().size() == 3 &&
                   !editor.wCtrlBusy()->window()->isVisible();
        })) << editor.mtAryThumbnailViews().size()
            << " tiles";
        edited = true;
        editor.btnDone()->click();
    });
    editor.startEditting(slideshow);
    ASSERT_TRUE(edited);

    EXPECT_EQ(slideshow->slideshowName(), "Crossfade.qtz");
    EXPECT_DOUBLE_EQ(slideshow->slideshowMetaDuration(), 2.0);
    ASSERT_EQ(slideshow->mtAryPhotoItems().size(), 3);
    const double f = slideshow->slideshowFirstRatio();
    const double l = slideshow->slideshowLastRatio();
    const double expected = 2.0 * (f + 1.0 + l);
    EXPECT_DOUBLE_EQ(slideshow->slideshowDuration(), expected);

    // --- The clip takes the new length, then production ---
    const auto section = slides->createMediaSectionItem();
    ASSERT_TRUE(section);
    section->setStartTimeInMedia(0);
    section->setEndTimeInMedia(disctest::seconds(slideshow->slideshowDuration()));
    slides->mediaSectionArray().append(section);
    const auto clip = section->createMediaData();
    ASSERT_TRUE(clip);
    auto chapter = brisane::DVDChapterVideo::create();
    chapter->setMovies(clip->segmentMovies());
    auto title = brisane::DVDTitleVideo::create();
    title->setChapters({chapter});
    auto disc = std::make_shared<DVDLibrary>();
    disc->setNoMenu(true);
    disc->setAspectType(1);
    disc->setFormat(1);
    disc->setDvdBitrate(services->disc->dvdBitrate());
    disc->setTitles({title});

    const QString work = dir.filePath("work");
    QDir().mkpath(work);
    ASSERT_TRUE(convert(title->vcmovies(), work + "/title0.dvd", discFormat(*disc)));
    DVDFSMake author;
    author.dvd(disc, work);
    ASSERT_TRUE(author.start());

    const QString folder = work + "/dvd.dvdmedia";
    EXPECT_NEAR(titleSeconds(folder), expected, 2.0 / 25.0);
    const QString vob = folder + "/VIDEO_TS/VTS_01_1.VOB";
    // Photo spans: green [0, 2], blue [2, 4], the added magenta [4, 6].
    const QColor first = centreOfFrame(vob, 1.0, dir.filePath("first.png"));
    EXPECT_GT(first.green(), 150);
    EXPECT_LT(first.red(), 80);  // the deleted red photo is gone
    const QColor last = centreOfFrame(vob, 5.0, dir.filePath("last.png"));
    EXPECT_GT(last.red(), 150);
    EXPECT_GT(last.blue(), 150);
    EXPECT_LT(last.green(), 80);
    const QString artifacts = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
    if (!artifacts.isEmpty()) {
        QFile::remove(artifacts + "/slideshow-disc-last.png");
        QFile::copy(dir.filePath("last.png"), artifacts + "/slideshow-disc-last.png");
    }
}

// Mean absolute level of 16-bit mono samples in [from, to) seconds.
double level(const QByteArray& pcm, int rate, double from, double to)
{
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    const qsizetype count = pcm.size() / 2;
    const qsizetype a = std::min<qsizetype>(qsizetype(from * rate), count);
    const qsizetype b = std::min<qsizetype>(qsizetype(to * rate), count);
    double sum = 0;
    for (qsizetype i = a; i < b; ++i) {
        sum += std::abs(int(samples[i]));
    }
    return b > a ? sum / double(b - a) : 0;
}

TEST_F(SlideshowToDisc, MusicTrimmedInTheMusicLinePlaysUnderTheTitle)
{
    RenderController::setTransitionFolderPath(transitiontest::shippedTransitionFolder());
    DVDToolLocator::setToolFolder(QString());
    services->disc = std::make_shared<DVDResource>();
    services->disc->setDvdFormat(1);
    services->disc->setAspectType(1);
    slideshowtest::PhotoFolder photos;
    const auto slides = SectionDataResource::resourceWithImagePaths(photos.photos(3));
    ASSERT_TRUE(slides && slides->imageSource());
    const std::shared_ptr<RenderItem> slideshow = slides->imageSource();
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(testsupport::generateMedia(
        tone, {"-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-ac", "2"}));

    // --- The music line, opened from the editing window ---
    QWidget mainWindow;
    mainWindow.resize(1024, 768);
    RenderEditWndCtrl editor(&mainWindow);
    mainWindow.show();
    auto* line = dynamic_cast<AudioLineCtrl*>(editor.audioLineCtrl());
    ASSERT_TRUE(line);
    bool edited = false;
    QTimer::singleShot(0, [&] {
        slideshowedit::showActive(editor.window());
        QTimer::singleShot(0, [&] {
            AudioEditView* strip = line->audioEditView();
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(tone)});
            const QPoint at(40, 60);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(strip, &enter);
            QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(strip, &move);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(strip, &drop);
            ASSERT_EQ(strip->rows().size(), 1);
            EditPlayerProgressView* bar = strip->rows().first()->audioTrimView();
            const QRectF r = bar->progressRect();
            bar->seekToPointX(r.x() + r.width() * 0.5e6 / bar->duration(),
                              EditPlayerProgressView::ActionLeft);
            bar->seekToPointX(r.x() + r.width() * 2.5e6 / bar->duration(),
                              EditPlayerProgressView::ActionRight);
            line->audioEditDone();
        });
        editor.btnMusic()->click();  // returns when the music line closes
        edited = true;
        editor.btnDone()->click();
    });
    editor.startEditting(slideshow);
    ASSERT_TRUE(edited);
    ASSERT_EQ(slideshow->audioItems().size(), 1);
    EXPECT_NEAR(double(slideshow->audioItems().first()->trimStart()), 0.5e6, 1e3);
    EXPECT_NEAR(double(slideshow->audioItems().first()->trimStop()), 2.5e6, 1e3);

    // --- Production, then the title's AC-3 decoded ---
    const double duration = slideshow->slideshowDuration();
    ASSERT_GT(duration, 4.0);
    const auto pieces = slideshow->audioVcMovies();
    ASSERT_EQ(pieces.size(), qsizetype(std::ceil(duration / 2.0 - 0.05)));
    EXPECT_NEAR(double(pieces.first().duration()), 2e6, 1e3);
    const auto section = slides->createMediaSectionItem();
    ASSERT_TRUE(section);
    section->setStartTimeInMedia(0);
    section->setEndTimeInMedia(disctest::seconds(duration));
    slides->mediaSectionArray().append(section);
    const auto clip = section->createMediaData();
    ASSERT_TRUE(clip);
    auto chapter = brisane::DVDChapterVideo::create();
    chapter->setMovies(clip->segmentMovies());
    auto title = brisane::DVDTitleVideo::create();
    title->setChapters({chapter});
    auto disc = std::make_shared<DVDLibrary>();
    disc->setNoMenu(true);
    disc->setAspectType(1);
    disc->setFormat(1);
    disc->setDvdBitrate(services->disc->dvdBitrate());
    disc->setTitles({title});
    const QString work = dir.filePath("work");
    QDir().mkpath(work);
    // The music is encoded first, then carried under the slideshow's pictures.
    auto pictures = std::make_shared<ImageRenderVideo>(slideshow);
    const QList<VCMovie::Ptr> music = pictures->musicVcMovies();
    ASSERT_EQ(music.size(), pieces.size());
    ASSERT_TRUE(convert(music, work + "/music.dvd", discFormat(*disc)));
    const auto musicStream = VCMovie::movieWithPath(work + "/music.dvd");
    ASSERT_NE(musicStream, nullptr);
    auto composed = std::make_shared<ImageAudioVideo>(pictures, musicStream->movie());
    ASSERT_TRUE(convert({VCMovie::movieWithMovie(composed, composed->duration())},
                        work + "/title0.dvd", discFormat(*disc)));
    QFile::remove(work + "/music.dvd");
    DVDFSMake author;
    author.dvd(disc, work);
    ASSERT_TRUE(author.start());

    const QString vob = work + "/dvd.dvdmedia/VIDEO_TS/VTS_01_1.VOB";
    const QString raw = dir.filePath("sound.raw");
    constexpr int Rate = 8000;
    ASSERT_EQ(
        testsupport::runProgram("ffmpeg", {"-v", "error", "-y", "-i", vob, "-map", "0:a:0", "-ac",
                                           "1", "-ar", QString::number(Rate), "-f", "s16le", raw}),
        0);
    QFile file(raw);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pcm = file.readAll();
    // The tone sounds through every 2 s repeat, then falls to silence.
    const double full = level(pcm, Rate, 0.2, 1.8);
    EXPECT_GT(full, 1000);
    for (double t = 2.2; t + 1.6 < duration - 1.0; t += 2.0) {
        EXPECT_GT(level(pcm, Rate, t, t + 1.6), full * 0.8) << t;
    }
    const double fading = level(pcm, Rate, duration - 0.5, duration - 0.3);
    const double end = level(pcm, Rate, duration - 0.12, duration - 0.02);
    EXPECT_LT(fading, full * 0.6);
    EXPECT_LT(end, full * 0.15);
}

}  // namespace
