// The photo strip tile and the preview display: where pictures go, what a
// click and the Delete key report, what is drawn.

#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "../media/SlideshowRenderTestSupport.h"
#include "SlideshowEditTestSupport.h"
#include "media/PhotoItem.h"
#include "slideshow/DownRenderBackView.h"
#include "slideshow/MiddleRenderBackView.h"
#include "slideshow/RenderDisplayView.h"
#include "slideshow/RenderThumbnailView.h"
#include "slideshow/UpRenderBackView.h"
#include "slideshow/core/RenderThumbnailViewDelegate.h"

namespace {

struct RecordingDelegate : RenderThumbnailViewDelegate {
    QList<RenderThumbnailView*> clicks;
    QList<RenderThumbnailView*> deletes;
    void didClickOnRenderThumbnailView(RenderThumbnailView* v) override { clicks << v; }
    void didDeleteOnRenderThumbnailView(RenderThumbnailView* v) override { deletes << v; }
};

std::shared_ptr<PhotoItem> photoWithThumbnail(QSize size, QColor colour = Qt::red)
{
    auto photo = std::make_shared<PhotoItem>();
    QImage thumbnail(size, QImage::Format_ARGB32_Premultiplied);
    thumbnail.fill(colour);
    photo->setImgThumbnail(thumbnail);
    return photo;
}

// In a 100 × 100 tile the picture area is the centred 80 × 80 square.
TEST(RenderThumbnailView, ThumbnailFitsInTheInsetSquare)
{
    const struct {
        QSize thumbnail;
        QRectF frame;
    } cases[] = {
        {{80, 60}, {10, 20, 80, 60}},
        {{60, 80}, {20, 10, 60, 80}},
        {{50, 50}, {10, 10, 80, 80}},
        {{107, 80}, {10, 20.093457943925234, 80, 59.813084112149532}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.thumbnail.width());
        RenderThumbnailView tile(QRectF(0, 0, 100, 100));
        tile.setOItem(photoWithThumbnail(c.thumbnail));
        EXPECT_NEAR(tile.rctDisplayFrame().x(), c.frame.x(), 1e-9);
        EXPECT_NEAR(tile.rctDisplayFrame().y(), c.frame.y(), 1e-9);
        EXPECT_NEAR(tile.rctDisplayFrame().width(), c.frame.width(), 1e-9);
        EXPECT_NEAR(tile.rctDisplayFrame().height(), c.frame.height(), 1e-9);
    }
}

// A thumbnail without area has no ratio: nothing to fit, nothing drawn.
TEST(RenderThumbnailView, ZeroSizeThumbnailDrawsNothing)
{
    RenderThumbnailView tile(QRectF(0, 0, 100, 100));
    tile.setOItem(photoWithThumbnail({80, 0}));
    EXPECT_TRUE(tile.rctDisplayFrame().isNull());
    tile.setBIsChoosen(true);
    QImage picture(100, 100, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    tile.render(&picture, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(picture.pixelColor(50, 50).alpha(), 0);
    EXPECT_TRUE(RenderThumbnailView::displayFrameInFrame({0, 0, 80, 0}, 1.0).isNull());
    EXPECT_TRUE(RenderThumbnailView::displayFrameInFrame({0, 0, 80, 80}, 0.0).isNull());
}

TEST(RenderThumbnailView, DrawsPictureShadowAndSelectionFrame)
{
    RenderThumbnailView tile(QRectF(0, 0, 100, 100));
    tile.setOItem(photoWithThumbnail({80, 60}, Qt::blue));
    QImage plain(100, 100, QImage::Format_ARGB32_Premultiplied);
    plain.fill(Qt::white);
    tile.render(&plain, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(plain.pixelColor(50, 50), QColor(Qt::blue));
    // The soft shadow darkens just outside the picture (y from the top: 20..80).
    EXPECT_LT(plain.pixelColor(50, 18).red(), 250);
    EXPECT_EQ(plain.pixelColor(50, 5), QColor(Qt::white));

    tile.setBIsChoosen(true);
    QImage chosen(100, 100, QImage::Format_ARGB32_Premultiplied);
    chosen.fill(Qt::white);
    tile.render(&chosen, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(chosen.pixelColor(50, 20), QColor(255, 255, 0));  // the frame's top row
    EXPECT_EQ(chosen.pixelColor(10, 50), QColor(255, 255, 0));
    EXPECT_EQ(chosen.pixelColor(50, 22), QColor(Qt::blue));  // one point wide
    slideshowedit::writeArtifact(chosen, "photo-strip-tile");
}

// Clicks on the picture report; clicks on the margin or beside a
// letterboxed picture report nothing and do not take the focus.
TEST(RenderThumbnailView, OnlyClicksOnThePictureReport)
{
    QWidget window;
    window.resize(120, 120);
    auto* tile = new RenderThumbnailView(QRectF(0, 0, 100, 100), &window);
    tile->setOItem(photoWithThumbnail({80, 60}));
    RecordingDelegate delegate;
    tile->setODelegate(&delegate);
    slideshowedit::showActive(&window);

    for (const QPoint margin : {QPoint(5, 50), QPoint(50, 15), QPoint(50, 85), QPoint(95, 95)}) {
        QTest::mouseClick(tile, Qt::LeftButton, {}, margin);
    }
    EXPECT_TRUE(delegate.clicks.isEmpty());
    EXPECT_FALSE(tile->hasFocus());
    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(11, 21));
    EXPECT_EQ(delegate.clicks, (QList<RenderThumbnailView*>{tile, tile}));
    EXPECT_FALSE(tile->hasFocus());  // the delegate decides about the focus
}

TEST(RenderThumbnailView, DeleteAndBackspaceReportOnlyWithTheFocus)
{
    QWidget window;
    window.resize(120, 120);
    auto* tile = new RenderThumbnailView(QRectF(0, 0, 100, 100), &window);
    auto* other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    RecordingDelegate delegate;
    tile->setODelegate(&delegate);
    slideshowedit::showActive(&window);

    other->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_TRUE(delegate.deletes.isEmpty());
    tile->setFocus();
    ASSERT_TRUE(tile->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    EXPECT_EQ(delegate.deletes, (QList<RenderThumbnailView*>{tile, tile}));
}

// In a 640 × 400 view: 16:9 is full width, 4:3 full height, centred.
TEST(RenderDisplayView, PictureAreaOfTheRatio)
{
    const struct {
        double ratio;
        QRectF area;
    } cases[] = {
        {16.0 / 9.0, {0, 20, 640, 360}},
        {4.0 / 3.0, {160.0 / 3.0, 0, 1600.0 / 3.0, 400}},
        {640.0 / 400.0, {0, 0, 640, 400}},
        {0.0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ratio);
        const QRectF area = RenderDisplayView::displayFrameOfRatio(c.ratio, {640, 400});
        EXPECT_NEAR(area.x(), c.area.x(), 1e-9);
        EXPECT_NEAR(area.y(), c.area.y(), 1e-9);
        EXPECT_NEAR(area.width(), c.area.width(), 1e-9);
        EXPECT_NEAR(area.height(), c.area.height(), 1e-9);
    }
}

// The area is computed when the ratio is set, not when the view is resized;
// a frame fills it, no frame shows it black, and outside it nothing is drawn.
TEST(RenderDisplayView, FrameOrBlack)
{
    RenderDisplayView view;
    view.resize(640, 400);
    view.setDDisplayRatio(16.0 / 9.0);
    view.resize(800, 400);
    EXPECT_EQ(view.rctDisplayFrame(), QRectF(0, 20, 640, 360));
    view.resize(640, 400);

    QImage frame(960, 540, QImage::Format_RGB32);
    frame.fill(Qt::green);
    view.setImgDisplay(frame);
    QImage shown(640, 400, QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    view.render(&shown, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(shown.pixelColor(320, 200), QColor(Qt::green));
    EXPECT_EQ(shown.pixelColor(320, 10).alpha(), 0);

    view.setImgDisplay(QImage());
    shown.fill(Qt::transparent);
    view.render(&shown, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(shown.pixelColor(320, 200), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(320, 10).alpha(), 0);
}

// The panels' fills and lines, positions counted from the bottom.
TEST(RenderBackViews, PanelsDrawTheirGreys)
{
    const auto grey = [](double v) { return QColor::fromRgbF(v, v, v).red(); };
    const auto drawn = [](QWidget& panel) {
        panel.resize(200, 40);
        QImage picture(200, 40, QImage::Format_RGB32);
        panel.render(&picture);
        return picture;
    };
    UpRenderBackView up;
    const QImage upPicture = drawn(up);
    EXPECT_NEAR(upPicture.pixelColor(100, 39).red(), grey(0.03), 1);  // y = 0.5
    EXPECT_NEAR(upPicture.pixelColor(100, 38).red(), grey(0.15), 1);  // y = 1.5
    EXPECT_NEAR(upPicture.pixelColor(100, 0).red(), grey(0.03), 1);   // y = ⌊H⌋ − 0.5
    EXPECT_NEAR(upPicture.pixelColor(100, 20).red(), grey(0.135), 2);
    MiddleRenderBackView middle;
    EXPECT_NEAR(drawn(middle).pixelColor(100, 20).red(), grey(0.1), 1);
    DownRenderBackView down;
    const QImage downPicture = drawn(down);
    EXPECT_NEAR(downPicture.pixelColor(100, 0).red(), grey(0.03), 1);
    EXPECT_NEAR(downPicture.pixelColor(100, 1).red(), grey(0.29), 1);
    EXPECT_GT(downPicture.pixelColor(100, 5).red(), downPicture.pixelColor(100, 38).red());
}

// A click on a panel takes the focus away from the strip.
TEST(RenderBackViews, ClickTakesTheFocus)
{
    QWidget window;
    window.resize(200, 200);
    auto* panel = new MiddleRenderBackView(&window);
    panel->setGeometry(0, 100, 200, 100);
    auto* tile = new RenderThumbnailView(QRectF(0, 0, 100, 100), &window);
    slideshowedit::showActive(&window);
    tile->setFocus();
    ASSERT_TRUE(tile->hasFocus());
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(panel->hasFocus());
}

}  // namespace
