// The transition tiles and the grid background: areas, names, the preview
// loop and what each draws.

#include <gtest/gtest.h>

#include <QTest>

#include "SlideshowEditTestSupport.h"
#include "slideshow/QuartzBackView.h"
#include "slideshow/QuartzPreviewView.h"
#include "slideshow/core/QuartzPreviewViewDelegate.h"

namespace {

struct RecordingDelegate : QuartzPreviewViewDelegate {
    QStringList calls;
    QList<double> times;
    void didEnterQuartzPreview(QuartzPreviewView*) override { calls << "enter"; }
    void didExitQuartzPreview(QuartzPreviewView*) override { calls << "exit"; }
    void didChooseQuartzPreview(QuartzPreviewView*) override { calls << "choose"; }
    void makeQuartzRendererImageOf(QuartzPreviewView*, double time) override { times << time; }
};

// Restores the class-wide speed other tests expect.
class QuartzTiles : public ::testing::Test {
protected:
    void TearDown() override { QuartzPreviewView::updatePreviewSpeed(1.0); }
};

TEST_F(QuartzTiles, AreasWithAndWithoutTitle)
{
    EXPECT_EQ(QuartzPreviewView::viewSizeWithTitleOrNot(true), QSizeF(160, 150));
    EXPECT_EQ(QuartzPreviewView::viewSizeWithTitleOrNot(false), QSizeF(160, 120));

    QuartzPreviewView titled(QRectF(QPointF(), QuartzPreviewView::viewSizeWithTitleOrNot(true)));
    titled.initInterfaceWithTitle(QStringLiteral("Cube New.qtz"));
    EXPECT_TRUE(titled.bWithTitle());
    EXPECT_EQ(titled.abStrTitle(), "Cube New");
    EXPECT_EQ(titled.rctImageRect(), QRectF(0, 38, 160, 112));
    // The name centred in the lower 38 points at its own size.
    const QRectF name = titled.rctNameRect();
    EXPECT_NEAR(name.center().x(), 80.0, 1e-9);
    EXPECT_NEAR(name.center().y(), 19.0, 1e-9);
    EXPECT_GT(name.width(), 30.0);

    QuartzPreviewView plain(QRectF(QPointF(), QuartzPreviewView::viewSizeWithTitleOrNot(false)));
    plain.initInterfaceWithTitle(std::nullopt);
    EXPECT_FALSE(plain.bWithTitle());
    EXPECT_EQ(plain.rctImageRect(), QRectF(0, 0, 160, 120));
    EXPECT_TRUE(plain.rctNameRect().isNull());
}

TEST_F(QuartzTiles, TitleLosesOnlyItsExtension)
{
    const struct {
        const char* title;
        const char* shown;
    } cases[] = {
        {"Cube New.qtz", "Cube New"},
        {"Fade.Through.qtz", "Fade.Through"},
        {"Push", "Push"},
        {".qtz", ".qtz"},
        {"dir.d/Slide", "dir.d/Slide"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuartzPreviewView::titleWithoutExtension(c.title), QString(c.shown)) << c.title;
    }
}

// At speed 1.5 each 1/30-s tick moves 0.05 s: a 3-s transition comes round
// after 60 ticks, 2 s of wall time (the tick that passes 3 s rewinds).
TEST_F(QuartzTiles, PreviewLoopsAtTheClassSpeed)
{
    QuartzPreviewView::updatePreviewSpeed(1.5);
    QuartzPreviewView tile(QRectF(0, 0, 160, 150));
    RecordingDelegate delegate;
    tile.setODelegate(&delegate);
    tile.setDBestDuration(3.0);
    tile.startPreviewing();
    ASSERT_TRUE(tile.isPreviewing());
    int wrapTick = 0;
    for (int tick = 1; tick <= 70 && wrapTick == 0; ++tick) {
        tile.updateRenderingImage();
        if (tile.dCurrentTime() == 0.0) {
            wrapTick = tick;
        }
    }
    EXPECT_TRUE(wrapTick == 60 || wrapTick == 61) << wrapTick;
    EXPECT_NEAR(delegate.times.first(), 0.05, 1e-12);
    EXPECT_EQ(delegate.times.last(), 0.0);
    tile.stopPreviewing();
}

TEST_F(QuartzTiles, StartingTwiceChangesNothingAddTimerRestarts)
{
    QuartzPreviewView tile(QRectF(0, 0, 160, 150));
    tile.setDBestDuration(5.0);
    tile.startPreviewing();
    tile.updateRenderingImage();
    tile.updateRenderingImage();
    const double running = tile.dCurrentTime();
    EXPECT_GT(running, 0.0);
    tile.startPreviewing();
    EXPECT_EQ(tile.dCurrentTime(), running);
    tile.addTimer();
    EXPECT_EQ(tile.dCurrentTime(), 0.0);
    EXPECT_TRUE(tile.isPreviewing());
    tile.stopPreviewing();
    EXPECT_FALSE(tile.isPreviewing());
}

// Previewing shows the frames; stopped, the still picture is back although
// the last frame is still held.
TEST_F(QuartzTiles, StillPictureComesBackAfterPreviewing)
{
    QuartzPreviewView tile(QRectF(0, 0, 160, 150));
    tile.initInterfaceWithTitle(QStringLiteral("Iris.qtz"));
    QImage still(160, 120, QImage::Format_RGB32);
    still.fill(Qt::blue);
    QImage frame(160, 120, QImage::Format_RGB32);
    frame.fill(Qt::red);
    tile.setImgThumbnailImage(still);
    tile.setImgRenderingImage(frame);
    const auto centre = [&tile] {
        QImage picture(160, 150, QImage::Format_RGB32);
        picture.fill(Qt::white);
        tile.render(&picture, {}, {}, QWidget::DrawChildren);
        return picture;
    };
    EXPECT_EQ(centre().pixelColor(80, 50), QColor(Qt::blue));
    tile.startPreviewing();
    EXPECT_EQ(centre().pixelColor(80, 50), QColor(Qt::red));
    tile.stopPreviewing();
    const QImage stopped = centre();
    EXPECT_EQ(stopped.pixelColor(80, 50), QColor(Qt::blue));
    EXPECT_FALSE(tile.imgRenderingImage().isNull());
    // The name in grey 0.8 below the picture.
    bool named = false;
    for (int x = 40; x < 120 && !named; ++x) {
        for (int y = 115; y < 150 && !named; ++y) {
            named = stopped.pixelColor(x, y).red() < 230;
        }
    }
    EXPECT_TRUE(named);
    slideshowedit::writeArtifact(stopped, "transition-tile");
}

// Hover tracking covers the picture only; a click anywhere chooses.
TEST_F(QuartzTiles, HoverOverThePictureClickAnywhere)
{
    QWidget window;
    window.resize(200, 200);
    auto* tile = new QuartzPreviewView(QRectF(10, 10, 160, 150), &window);
    tile->initInterfaceWithTitle(QStringLiteral("Push.qtz"));
    RecordingDelegate delegate;
    tile->setODelegate(&delegate);
    slideshowedit::showActive(&window);

    QTest::mouseMove(tile, QPoint(80, 140));  // on the name
    QTest::mouseMove(tile, QPoint(80, 50));   // onto the picture
    QTest::mouseMove(tile, QPoint(80, 60));
    QTest::mouseMove(tile, QPoint(80, 130));  // back onto the name
    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(80, 140));
    EXPECT_EQ(delegate.calls, (QStringList{"enter", "exit", "choose"}));
    tile->removeTrackArea();
    QTest::mouseMove(tile, QPoint(80, 50));
    EXPECT_EQ(delegate.calls.size(), 3);
}

TEST(QuartzBackView, ChoiceFrameAndStrip)
{
    QuartzBackView back;
    back.resize(400, 300);
    EXPECT_EQ(back.clBackColor(), QColor::fromRgbF(0.13, 0.13, 0.13, 1.0));
    back.setRctChoosenFrame(QRectF(12, 130, 160, 150));
    EXPECT_EQ(back.rctChoosenFrame(), QRectF(7, 125, 170, 160));
    back.setRctChoosenFrame(QRectF());
    EXPECT_EQ(back.rctChoosenFrame(), QRectF(-5, -5, 10, 10));

    back.setRctChoosenFrame(QRectF(100, 20, 160, 150));
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    back.render(&picture, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(picture.pixelColor(2, 150).rgb(), QColor::fromRgbF(0.13, 0.13, 0.13).rgb());
    EXPECT_EQ(picture.pixelColor(30, 150), QColor(Qt::white));
    // The frame's top edge, y up 175 high from the bottom: row 300 − 175 = 125.
    const QColor top = picture.pixelColor(180, 125);
    EXPECT_GT(top.red(), 200);
    EXPECT_GT(top.green(), 200);
    EXPECT_LT(top.blue(), 120);
    EXPECT_EQ(picture.pixelColor(180, 200), QColor(Qt::white));  // inside: not filled
}

}  // namespace
