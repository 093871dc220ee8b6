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
#include <QMouseEvent>
#include <QScopeGuard>
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
#include "slideshow/CropBackgroundView.h"
#include "slideshow/CropFrameView.h"
#include "slideshow/CropWndCtrl.h"
#include "slideshow/EditPlayerProgressView.h"
#include "slideshow/QuartzPreviewView.h"
#include "slideshow/RenderEditWndCtrl.h"
#include "slideshow/RenderThumbnailView.h"
#include "slideshow/ResortableBackView.h"
#include "slideshow/ResortableThumbnailView.h"
#include "slideshow/SlideshowWndCtrl.h"
#include "slideshow/SortWndCtrl.h"
#include "slideshow/core/UpCoordinates.h"

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

// A PAL 16:9 disc without menus whose one title is a clip of the slideshow's
// first `seconds`. Null members when the clip could not be made.
struct SlideshowDisc {
    std::shared_ptr<DVDLibrary> disc;
    decltype(brisane::DVDTitleVideo::create()) title;
};

SlideshowDisc slideshowDisc(const std::shared_ptr<SectionDataResource>& slides, double seconds,
                            qint64 bitrate)
{
    const auto section = slides->createMediaSectionItem();
    if (!section) {
        ADD_FAILURE() << "no section";
        return {};
    }
    section->setStartTimeInMedia(0);
    section->setEndTimeInMedia(disctest::seconds(seconds));
    slides->mediaSectionArray().append(section);
    const auto clip = section->createMediaData();
    if (!clip) {
        ADD_FAILURE() << "no clip";
        return {};
    }
    auto chapter = brisane::DVDChapterVideo::create();
    chapter->setMovies(clip->segmentMovies());
    auto title = brisane::DVDTitleVideo::create();
    title->setChapters({chapter});
    auto disc = std::make_shared<DVDLibrary>();
    disc->setNoMenu(true);
    disc->setAspectType(1);
    disc->setFormat(1);
    disc->setDvdBitrate(bitrate);
    disc->setTitles({title});
    return {disc, title};
}

// The slideshow as production makes it today: a clip of the slideshow's
// length, converted as a title, the DVD folder authored by Corvane's
// dvdauthor step. Answers the DVD folder, empty on failure.
QString produce(const std::shared_ptr<SectionDataResource>& slides,
                const std::shared_ptr<RenderItem>& slideshow, const QTemporaryDir& dir,
                qint64 bitrate)
{
    const auto [disc, title] = slideshowDisc(slides, slideshow->slideshowDuration(), bitrate);
    if (!disc) {
        return {};
    }
    const QString work = dir.filePath("work");
    QDir().mkpath(work);
    if (!convert(title->vcmovies(), work + "/title0.dvd", discFormat(*disc))) {
        return {};
    }
    DVDFSMake author;
    author.dvd(disc, work);
    if (!author.start()) {
        ADD_FAILURE() << "authoring failed";
        return {};
    }
    return work + "/dvd.dvdmedia";
}

// The frame of the title at `seconds`, decoded into `png`.
QImage frameAt(const QString& vob, double seconds, const QString& png)
{
    const int frame = static_cast<int>(seconds * 25.0);
    testsupport::runProgram(
        "ffmpeg", {"-v", "error", "-y", "-i", vob, "-vf", QString("select=eq(n\\,%1)").arg(frame),
                   "-frames:v", "1", png});
    const QImage picture(png);
    EXPECT_FALSE(picture.isNull()) << seconds;
    return picture;
}

QColor centreOfFrame(const QString& vob, double seconds, const QString& png)
{
    const QImage picture = frameAt(vob, seconds, png);
    return picture.isNull() ? QColor() : picture.pixelColor(picture.rect().center());
}

// Pixels of the picture that are plainly red, green or blue.
int pixelsOf(const QImage& picture, Qt::GlobalColor colour)
{
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            const int own = colour == Qt::red     ? c.red()
                            : colour == Qt::green ? c.green()
                                                  : c.blue();
            const int others = c.red() + c.green() + c.blue() - own;
            count += own > 150 && others < 160 ? 1 : 0;
        }
    }
    return count;
}

// Writes a picture of a sheet into $BRISANE_TEST_ARTIFACTS, and into the
// temporary folder for a look.
void keepPicture(QWidget* window, const QString& name)
{
    const QImage picture = window->grab().toImage();
    slideshowedit::writeArtifact(picture, name);
}

// A mouse event at a point of `widget` (Qt's coordinates).
void sendMouse(QWidget* widget, QEvent::Type type, const QPointF& at)
{
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
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
    const QString folder = produce(slides, slideshow, dir, services->disc->dvdBitrate());
    ASSERT_FALSE(folder.isEmpty());
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

// A photo with a red left half and a blue right half, cropped to its right
// half in the crop sheet by dragging the frame's left edge, and moved behind
// a green photo in the sort sheet, both opened from the editing window: the
// produced title shows the green photo first, then the cropped one with no
// red left in it.
TEST_F(SlideshowToDisc, CroppedAndSortedPhotosReachTheTitle)
{
    RenderController::setTransitionFolderPath(transitiontest::shippedTransitionFolder());
    DVDToolLocator::setToolFolder(QString());
    services->disc = std::make_shared<DVDResource>();
    services->disc->setDvdFormat(1);
    services->disc->setAspectType(1);
    slideshowtest::PhotoFolder photos;
    QTemporaryDir dir = testsupport::makeTempDir();
    QImage halves(320, 240, QImage::Format_RGB32);
    halves.fill(Qt::blue);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 160; ++x) {
            halves.setPixelColor(x, y, Qt::red);
        }
    }
    QImage green(320, 240, QImage::Format_RGB32);
    green.fill(Qt::green);
    const QString halvesPath = dir.filePath("halves.png");
    const QString greenPath = dir.filePath("green.png");
    ASSERT_TRUE(halves.save(halvesPath) && green.save(greenPath));
    const auto slides = SectionDataResource::resourceWithImagePaths({halvesPath, greenPath});
    ASSERT_TRUE(slides && slides->imageSource());
    const std::shared_ptr<RenderItem> slideshow = slides->imageSource();
    slideshow->oSlideshowItem()->mergeFromDic(
        RenderController::sharedRenderController().informationOfName("Crossfade.qtz"));
    slideshow->oSlideshowItem()->setDDuration(2.0);
    const auto cropped = slideshow->mtAryPhotoItems().first();
    const auto greenPhoto = slideshow->mtAryPhotoItems().last();

    QWidget mainWindow;
    mainWindow.resize(1024, 768);
    RenderEditWndCtrl editor(&mainWindow);
    editor.setEnumDisplayRatio(1);
    mainWindow.show();
    bool edited = false;
    QTimer::singleShot(0, [&] {
        slideshowedit::showActive(editor.window());
        QTest::mouseClick(editor.mtAryThumbnailViews().first(), Qt::LeftButton, {}, QPoint(50, 50));
        auto* crop = dynamic_cast<CropWndCtrl*>(editor.wCtrlCrop());
        ASSERT_TRUE(crop);
        QTimer::singleShot(0, [&, crop] {
            CropFrameView* frame = crop->vCropFrameView();
            const QRectF picture = crop->vCropBackgroundView()->displayImageFrame();
            const double areaHeight = crop->vCropBackgroundView()->height();
            const auto at = [&](const QPointF& up) {
                return UpCoordinates::toWidget(up, areaHeight) - QPointF(frame->pos());
            };
            // The top edge down and back: the centre guide shows meanwhile.
            const QPointF top(picture.center().x(), picture.bottom() + 3);
            sendMouse(frame, QEvent::MouseButtonPress, at(top));
            sendMouse(frame, QEvent::MouseMove, at(top + QPointF(0, -60)));
            keepPicture(crop->window(), "crop-sheet-from-editor");
            sendMouse(frame, QEvent::MouseMove, at(top + QPointF(0, 500)));
            sendMouse(frame, QEvent::MouseButtonRelease, at(top + QPointF(0, 500)));
            // The left edge to the middle of the photo.
            const QPointF left(picture.x() - 3, picture.center().y());
            const QPointF middle = left + QPointF(picture.width() / 2, 0);
            sendMouse(frame, QEvent::MouseButtonPress, at(left));
            sendMouse(frame, QEvent::MouseMove, at(middle));
            sendMouse(frame, QEvent::MouseButtonRelease, at(middle));
            EXPECT_EQ(crop->edtCropW()->text(), "160");
            EXPECT_EQ(crop->edtCropH()->text(), "240");
            crop->btnDone()->click();
        });
        editor.btnCrop()->click();  // returns when the crop sheet closes
        EXPECT_DOUBLE_EQ(cropped->oCropItem()->dCenterXRatio(), 0.75);
        EXPECT_DOUBLE_EQ(cropped->oCropItem()->dWidthRatio(), 0.5);
        EXPECT_DOUBLE_EQ(cropped->oCropItem()->dHeightRatio(), 1.0);

        auto* sort = dynamic_cast<SortWndCtrl*>(editor.wCtrlSort());
        ASSERT_TRUE(sort);
        slideshowedit::whenReady(
            [sort] { return sort->isReady(); },
            [&, sort] {
                const auto finish = qScopeGuard([sort] { sort->btnDone()->click(); });
                ASSERT_EQ(sort->mtAryViews().size(), 2);
                ResortableThumbnailView* second = sort->mtAryViews().last();
                QTest::mouseClick(second, Qt::LeftButton, {}, second->rect().center());
                ASSERT_TRUE(second->bIsChoosen());
                const QRectF first = sort->mtAryViews().first()->frameUp();
                sort->vBackView()->draggingUpdated({first.x() + 10, first.center().y()});
                keepPicture(sort->window(), "sort-sheet-from-editor");
                sort->vBackView()->performDragOperation();
                sort->vBackView()->draggingEnded();
            });
        editor.btnSort()->click();  // returns when the sort sheet closes
        edited = true;
        editor.btnDone()->click();
    });
    editor.startEditting(slideshow);
    ASSERT_TRUE(edited);
    ASSERT_EQ(slideshow->mtAryPhotoItems(),
              QList<std::shared_ptr<PhotoItem>>({greenPhoto, cropped}));
    EXPECT_TRUE(cropped->oCropItem()->isCropped());

    const QString folder = produce(slides, slideshow, dir, services->disc->dvdBitrate());
    ASSERT_FALSE(folder.isEmpty());
    const QString vob = folder + "/VIDEO_TS/VTS_01_1.VOB";
    const double f = slideshow->slideshowFirstRatio();
    const double l = slideshow->slideshowLastRatio();
    // Photo spans: green [0, 2f], the cropped photo [2f, 2f + 2l].
    const QImage first = frameAt(vob, f, dir.filePath("first.png"));
    const QImage second = frameAt(vob, 2.0 * f + l, dir.filePath("second.png"));
    ASSERT_FALSE(first.isNull() || second.isNull());
    EXPECT_GT(pixelsOf(first, Qt::green), first.width() * first.height() / 4);
    EXPECT_EQ(pixelsOf(second, Qt::red), 0);
    EXPECT_GT(pixelsOf(second, Qt::blue), second.width() * second.height() / 8);
    slideshowedit::writeArtifact(second, "slideshow-disc-cropped");
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
    const std::shared_ptr<DVDLibrary> disc =
        slideshowDisc(slides, duration, services->disc->dvdBitrate()).disc;
    ASSERT_TRUE(disc);
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
