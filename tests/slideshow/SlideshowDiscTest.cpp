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
#include <QTest>
#include <QTimer>

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
#include "media/RenderController.h"
#include "media/RenderItem.h"
#include "media/SlideshowItem.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "slideshow/BusyWindowController.h"
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

}  // namespace
