// End to end: the three page dialogs, opened from the menu editor's buttons
// and applied, then the disc made through production's own rendering step
// and dvdauthor (DiscRoadSupport.h) and read back with libdvdread and ffmpeg:
// - music trimmed to 2..7 s on the music dialog's trim bar, with the page
//   duration following the music, gives a menu of 5 s that sounds all along;
// - a red border at opacity 0.6 and a blue fill at 0.25 chosen on the play
//   mode dialog are the colours and contrasts of the menu button's highlight;
// - a four-quadrant picture cropped to one quadrant on the background
//   picture dialog fills the menu picture with that quadrant's colour.
// The project: one clip title on one list page, PAL 16:9, the highlight
// drawn as the program draws it.

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <iostream>
#include <optional>

#include "DialogOnDiscTest.h"
#include "MenuDiscRoad.h"
#include "PageDialogFixture.h"
#include "dialogs/BackgroundMusicWindowController.h"
#include "dialogs/BackgroundPictureWindowController.h"
#include "dialogs/BgMusicProgressView.h"
#include "dialogs/BgPictureCanvasView.h"
#include "dialogs/BgPictureShapeView.h"
#include "dialogs/PlayModeWindowController.h"
#include "dialogs/core/BgMusicTrimGeometry.h"
#include "model/MusicData.h"
#include "production/DVDMenuImageGeneratorCustomImage.h"
#include "shell/core/DiscModelBuilder.h"

namespace {

using dialogtest::DialogOnDiscTest;
using pagedialogs::ticks;

// One PAL frame, in seconds.
constexpr double kFrame = 0.04;

// Sends a press at `from`, a move to `to` and a release there (points of
// `widget`, fractions kept).
void drag(QWidget* widget, const QPointF& from, const QPointF& to)
{
    const auto send = [widget](QEvent::Type type, const QPointF& at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// The push button titled `text` inside `root`; null (with a failure) when
// there is none.
QPushButton* buttonTitled(QWidget* root, const QString& text)
{
    for (auto* button : root->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    ADD_FAILURE() << "no button " << qPrintable(text);
    return nullptr;
}

// The first visible colour (contrast above 0) of `colours` that `matches`;
// prints them all.
std::optional<dialogtest::SubpictureColour> findColour(
    const QList<dialogtest::SubpictureColour>& colours,
    const std::function<bool(const QColor&)>& matches)
{
    std::optional<dialogtest::SubpictureColour> found;
    for (const auto& c : colours) {
        std::cout << "colour " << qPrintable(c.colour.name()) << ", contrast " << c.contrast
                  << '\n';
        if (!found && c.contrast > 0 && matches(c.colour)) {
            found = c;
        }
    }
    return found;
}

class PageDialogsOnDiscTest : public DialogOnDiscTest {
protected:
    void SetUp() override
    {
        DialogOnDiscTest::SetUp();
        DVDMenuImageGeneratorCustomImage::install();
        dir = std::make_unique<QTemporaryDir>(testsupport::makeTempDir());
        const QString movie = dir->filePath("one.mp4");
        ASSERT_TRUE(testsupport::makeTestClip(movie, 1.2, 160, 120));
        page = dialogtest::oneTitlePage(services->media, services->disc, movie, 1.2).page;
        ASSERT_TRUE(page);
        page->setMenuDuration(1.0);
        controller->flushDVDPageEditWhenOpen();
        ASSERT_EQ(controller->currentMenu(), page);
    }

    void TearDown() override
    {
        DVDMenuImageGeneratorCustomImage::uninstall();
        DialogOnDiscTest::TearDown();
    }

    // Presses the menu editor's button titled `text`, which opens `dialog`
    // (one of the menu editor's own page dialogs, as T); null (with a
    // failure) when it is not a T or does not open.
    template <typename T>
    T* openFromMenuEditor(const QString& text, QWidget* dialog)
    {
        auto* opened = dynamic_cast<T*>(dialog);
        QPushButton* button = buttonTitled(controller->view(), text);
        if (button) {
            button->click();
        }
        menutest::processEvents();
        if (!opened || !opened->isVisible()) {
            ADD_FAILURE() << "no dialog opened from " << qPrintable(text);
            return nullptr;
        }
        return opened;
    }
    PlayModeWindowController* openPlayMode()
    {
        return openFromMenuEditor<PlayModeWindowController>(
            "Play Mode", controller->playModeController()->window());
    }

    // The disc as the main window models it, made into a DVD folder;
    // answers the folder, or an empty string (with a failure).
    QString produce()
    {
        const auto model = DiscModelBuilder(services->disc).getDVDObj();
        const QString work = dir->filePath("work");
        if (!model || !QDir().mkpath(work) || !testsupport::produceDisc(model, work)) {
            ADD_FAILURE() << "no disc made";
            return {};
        }
        return work + "/dvd.dvdmedia";
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::shared_ptr<DVDPage> page;
};

TEST_F(PageDialogsOnDiscTest, TrimmedMusicGivesTheMenuItsLengthAndSound)
{
    // A 10 s file that sounds only from 2 to 7 s.
    const QString tune = dir->filePath("tune.wav");
    ASSERT_TRUE(testsupport::generateMedia(
        tune, {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=10", "-af",
               "volume='between(t,2,7)':eval=frame", "-c:a", "pcm_s16le"}));

    // Play mode: the loop length follows the music.
    PlayModeWindowController* playMode = openPlayMode();
    ASSERT_TRUE(playMode);
    playMode->chooseLoopTitle("Background Music Length");
    buttonTitled(playMode, "Done")->click();
    ASSERT_TRUE(disc().useBackMusicLengthAsPageDuration());
    EXPECT_DOUBLE_EQ(page->menuDuration(), 15.0);  // no music yet

    // Music: the file, no fades, the handles dragged to 2 s and 7 s.
    auto* music = openFromMenuEditor<BackgroundMusicWindowController>(
        "Music", controller->bgMusicController()->window());
    ASSERT_TRUE(music);
    ASSERT_TRUE(music->createMusicDataWithPath(tune));
    music->fadeInChanged(0);
    music->fadeOutChanged(0);
    BgMusicProgressView* bar = music->progressView();
    const BgMusicTrimGeometry before = bar->geometryNow();
    const float perSecond =
        before.mapping().timeToPoint(ticks(1)) - before.mapping().timeToPoint(0);
    ASSERT_GT(perSecond, 10.0f);
    const QPointF left = before.leftTrimIconRect().center();
    drag(bar, left, left + QPointF(2 * perSecond, 0));
    const QPointF right = bar->geometryNow().rightTrimIconRect().center();
    drag(bar, right, right - QPointF(3 * perSecond, 0));
    const VCMovie::Ptr trimmed = music->musicData()->vcmovie();
    EXPECT_NEAR(trimmed->trimStart(), ticks(2), ticks(0.002));
    EXPECT_NEAR(trimmed->trimStop(), ticks(7), ticks(0.002));
    const auto applied = music->musicData();
    buttonTitled(music, "Apply")->click();
    EXPECT_FALSE(music->isVisible());
    ASSERT_EQ(page->music(), applied);
    EXPECT_NEAR(page->menuDuration(), 5.0, 0.005);

    const QString folder = produce();
    ASSERT_FALSE(folder.isEmpty());
    const discreadback::ReadBack read = discreadback::readBack(folder);
    ASSERT_EQ(read.menuSeconds.size(), 1);
    EXPECT_NEAR(read.menuSeconds.first(), 5.0, kFrame);
    const QString stream = folder + "/VIDEO_TS/VTS_01_0.VOB";
    const double whole = discreadback::meanVolume(stream);
    const double early = dialogtest::meanVolumeOf(stream, 0.2, 1.5, dir->path());
    const double late = dialogtest::meanVolumeOf(stream, 3.3, 1.5, dir->path());
    std::cout << "menu " << read.menuSeconds.first() << " s; mean volume " << whole
              << " dB (0.2-1.7 s " << early << " dB, 3.3-4.8 s " << late << " dB)\n";
    EXPECT_GT(whole, -35.0);
    // The first seconds of the file are silent: a sounding start shows the
    // trim reached the menu.
    EXPECT_GT(early, -35.0);
    EXPECT_GT(late, -35.0);
}

TEST_F(PageDialogsOnDiscTest, HighlightColoursReachTheButtonSubpicture)
{
    PlayModeWindowController* playMode = openPlayMode();
    ASSERT_TRUE(playMode);
    playMode->borderColorChangedAction(Qt::red);
    playMode->borderColorAlphaChanged(0.6);
    playMode->fillColorChangedAction(Qt::blue);
    playMode->fillColorAlphaChanged(0.25);
    playMode->borderWidthSliderChangedAction(6);
    buttonTitled(playMode, "Done")->click();
    EXPECT_NEAR(disc().borderColor().alphaF(), 0.6, 0.005);

    const QString folder = produce();
    ASSERT_FALSE(folder.isEmpty());
    const dialogtest::ButtonColours colours = dialogtest::firstMenuButtonColours(folder);
    ASSERT_EQ(colours.selected.size(), 4);
    ASSERT_EQ(colours.activated.size(), 4);
    const auto border = findColour(colours.selected, [](const QColor& c) {
        return c.red() > 200 && c.green() < 60 && c.blue() < 60;
    });
    ASSERT_TRUE(border) << "no red among the selected button's colours";
    EXPECT_EQ(border->contrast, 9);  // 0.6 of 15
    const auto fill = findColour(colours.selected, [](const QColor& c) {
        return c.blue() > 200 && c.red() < 60 && c.green() < 60;
    });
    ASSERT_TRUE(fill) << "no blue among the selected button's colours";
    EXPECT_EQ(fill->contrast, 4);  // 0.25 of 15
    // Activated, the button shows the program's own dark select look.
    const auto dark =
        findColour(colours.activated, [](const QColor& c) { return c.lightness() < 40; });
    ASSERT_TRUE(dark) << "no dark colour among the activated button's colours";
    EXPECT_EQ(dark->contrast, 5);  // 0.35 of 15
}

TEST_F(PageDialogsOnDiscTest, CroppedQuadrantFillsTheMenuPicture)
{
    // 640 x 360: red, green above; blue, white below.
    QImage quadrants(640, 360, QImage::Format_RGB32);
    quadrants.fill(Qt::red);
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 640; ++x) {
            const QColor c =
                y < 180 ? (x < 320 ? Qt::red : Qt::green) : (x < 320 ? Qt::blue : Qt::white);
            quadrants.setPixelColor(x, y, c);
        }
    }
    const QString file = dir->filePath("quadrants.png");
    ASSERT_TRUE(quadrants.save(file));

    auto* dialog = openFromMenuEditor<BackgroundPictureWindowController>(
        "Background", controller->bgPictureController()->window());
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog->choosePictureFile(file));
    // The frame's top right corner dragged left by half the box: the frame
    // keeps its bottom left corner and crops the lower left (blue) quadrant.
    BgPictureCanvasView* canvas = dialog->canvasView();
    const QRectF box = canvas->canvasRect();
    const QPointF corner = canvas->toWidget(QRectF(box.bottomRight(), QSizeF(0, 0))).topLeft();
    drag(canvas->shapeView(), corner, corner - QPointF(box.width() / 2, 0));
    const QRectF crop = dialog->imageCropRect();
    EXPECT_NEAR(crop.x(), 0, 0.5);
    EXPECT_NEAR(crop.y(), 0, 0.5);
    EXPECT_NEAR(crop.width(), 320, 3);
    EXPECT_NEAR(crop.height(), 180, 2);
    buttonTitled(dialog, "Apply")->click();
    ASSERT_TRUE(page->backgourndPictureResource());
    EXPECT_EQ(page->imageCropRect(), crop);

    const QString folder = produce();
    ASSERT_FALSE(folder.isEmpty());
    const QImage picture =
        testsupport::frameOf(folder + "/VIDEO_TS/VTS_01_0.VOB", 10, dir->filePath("menu.png"));
    ASSERT_EQ(picture.size(), QSize(720, 576));
    testsupport::writeArtifact(picture, "background-picture-disc-menu.png");
    const QList<QRect> buttons = dialogtest::firstMenuButtons(folder);
    ASSERT_FALSE(buttons.isEmpty());
    int sampled = 0;
    int blue = 0;
    for (int y = 4; y < picture.height(); y += 12) {
        for (int x = 4; x < picture.width(); x += 12) {
            const bool nearButton = std::any_of(
                buttons.begin(), buttons.end(),
                [&](const QRect& b) { return b.adjusted(-8, -8, 8, 8).contains(x, y); });
            if (nearButton) {
                continue;
            }
            const QColor c = picture.pixelColor(x, y);
            ++sampled;
            blue += c.blue() > 180 && c.red() < 70 && c.green() < 70 ? 1 : 0;
        }
    }
    std::cout << blue << " of " << sampled << " samples away from the buttons are blue\n";
    ASSERT_GT(sampled, 1000);
    EXPECT_GE(blue, sampled * 97 / 100);
}

}  // namespace
