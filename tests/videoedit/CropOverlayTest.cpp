// The crop and watermark overlay: its geometry as tables (hits, corner and
// edge drags with the smallest side, moves against the border, arrow keys),
// and the real widget driven with mouse and key events offscreen: a press
// and release without motion tells the delegate once, a press outside does
// nothing, onlyMove draws and hits no handle, and the crop tab darkens what
// lies outside the rectangle while the watermark tab does not.
#include <gtest/gtest.h>
#include <QImage>
#include <QTest>

#include "TestSupport.h"
#include "videoedit/VEPlayerCropView.h"
#include "videoedit/core/VEPlayerCropGeometry.h"
#include "videoedit/core/VEPlayerCropViewDelegate.h"

namespace {

using G = VEPlayerCropGeometry;

G geometry(const QRectF& crop, bool onlyMove = false)
{
    G g;
    g.bounds = QSizeF(200, 100);
    g.cropRect = crop;
    g.onlyMove = onlyMove;
    return g;
}

TEST(CropOverlayGeometry, HandlesLieInsideTheRectangleAndWinOverMoving)
{
    const G g = geometry({40, 20, 100, 60});
    // Handle squares of 8 touching the border from inside; y up.
    EXPECT_EQ(g.makeRectForDragType(G::TopLeft), QRectF(40, 72, 8, 8));
    EXPECT_EQ(g.makeRectForDragType(G::BottomRight), QRectF(132, 20, 8, 8));
    EXPECT_EQ(g.makeRectForDragType(G::Top), QRectF(86, 72, 8, 8));
    EXPECT_EQ(g.makeRectForDragType(G::Move), QRectF(40, 20, 100, 60));
    EXPECT_TRUE(g.makeRectForDragType(G::None).isEmpty());
    struct Hit {
        QPointF point;
        int type;
    };
    for (const Hit& hit :
         {Hit{{42, 78}, G::TopLeft}, Hit{{138, 78}, G::TopRight}, Hit{{42, 22}, G::BottomLeft},
          Hit{{138, 22}, G::BottomRight}, Hit{{42, 50}, G::Left}, Hit{{138, 50}, G::Right},
          Hit{{90, 78}, G::Top}, Hit{{90, 22}, G::Bottom}, Hit{{90, 50}, G::Move},
          Hit{{10, 10}, G::None}, Hit{{150, 50}, G::None}}) {
        EXPECT_EQ(g.pointHitDragType(hit.point), hit.type) << hit.point.x() << "," << hit.point.y();
    }
    // Only moving: the corner's spot moves the rectangle.
    const G moving = geometry({40, 20, 100, 60}, true);
    EXPECT_EQ(moving.pointHitDragType({42, 78}), G::Move);
    EXPECT_EQ(moving.pointHitDragType({10, 10}), G::None);
    for (int type = G::None; type <= G::Bottom; ++type) {
        EXPECT_FALSE(moving.allowDragType(type)) << type;
    }
}

TEST(CropOverlayGeometry, DragsKeepTheFixedCornerTheSmallestSideAndTheBounds)
{
    const QRectF start(40, 20, 100, 60);
    const G g = geometry(start);
    struct Case {
        const char* what;
        int type;
        QPointF delta;
        QRectF expected;
    };
    const Case cases[] = {
        {"top-left corner in", G::TopLeft, {10, -10}, {50, 20, 90, 50}},
        {"top-left past the opposite corner stops at 20",
         G::TopLeft,
         {150, -90},
         {120, 20, 20, 20}},
        {"bottom-right past the opposite corner stops at 20",
         G::BottomRight,
         {-200, 200},
         {40, 60, 20, 20}},
        {"top-right out of the view stops at its corner",
         G::TopRight,
         {300, 300},
         {40, 20, 160, 80}},
        {"left edge ignores vertical motion", G::Left, {-30, 25}, {10, 20, 130, 60}},
        {"top edge ignores horizontal motion", G::Top, {-30, 10}, {40, 20, 100, 70}},
        {"bottom edge past the top stops at 20", G::Bottom, {5, 100}, {40, 60, 100, 20}},
        {"move within the view", G::Move, {10, 5}, {50, 25, 100, 60}},
        {"move against the right edge slides along it", G::Move, {100, 10}, {100, 30, 100, 60}},
        {"move against a corner stays in it", G::Move, {-100, -100}, {0, 0, 100, 60}},
        {"nothing under the press changes nothing", G::None, {10, 10}, start},
    };
    for (const Case& c : cases) {
        const QRectF r = g.doDragAction(c.type, {70, 50}, QPointF(70, 50) + c.delta, start);
        EXPECT_EQ(r, c.expected) << c.what;
        if (c.type >= G::TopLeft && c.type <= G::Bottom) {
            EXPECT_EQ(G::fixedPointType(c.type, r), G::fixedPointType(c.type, start))
                << c.what << ": the opposite corner stays";
        }
    }
}

TEST(CropOverlayGeometry, LargerThanTheViewShrinksOnTheFirstMoveAndArrowsStayAtTheBorder)
{
    const G big = geometry({-20, -10, 300, 150});
    EXPECT_EQ(big.doDragAction(G::Move, {0, 0}, {1, 0}, big.cropRect), QRectF(0, 0, 200, 100));
    const G atRight = geometry({150, 40, 50, 30});
    EXPECT_EQ(atRight.moveBy(1, 0), QRectF(150, 40, 50, 30)) << "the border holds";
    EXPECT_EQ(atRight.moveBy(-1, 0), QRectF(149, 40, 50, 30));
    EXPECT_EQ(atRight.moveBy(0, 1), QRectF(150, 41, 50, 30)) << "up is +y";
    // Arrow keys move whatever onlyMove says.
    EXPECT_EQ(geometry({10, 10, 30, 30}, true).moveBy(0, -1), QRectF(10, 9, 30, 30));
}

struct RecordingCropDelegate : VEPlayerCropViewDelegate {
    bool watermark = false;
    QList<QRectF> changes;
    void playerCropDidChanged(VEPlayerCropView* view) override { changes << view->cropRect(); }
    bool isEditWaterMark() const override { return watermark; }
};

class CropOverlayView : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.resize(200, 100);
        view.setDelegate(&delegate);
        view.setCropRect({40, 20, 100, 60});
        view.show();
    }
    // Overlay points (y up) to the widget's.
    QPoint at(double x, double y) const { return view.toWidget({x, y}).toPoint(); }

    RecordingCropDelegate delegate;
    VEPlayerCropView view;
};

TEST_F(CropOverlayView, PressAndReleaseWithoutMotionTellsOnceAndAPressOutsideNothing)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, at(138, 22));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, at(138, 22));
    ASSERT_EQ(delegate.changes.size(), 1);
    EXPECT_EQ(view.cropRect(), QRectF(40, 20, 100, 60));

    delegate.changes.clear();
    QTest::mousePress(&view, Qt::LeftButton, {}, at(10, 90));
    QTest::mouseMove(&view, at(30, 70));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, at(30, 70));
    EXPECT_TRUE(delegate.changes.isEmpty());
    EXPECT_EQ(view.cropRect(), QRectF(40, 20, 100, 60));
}

TEST_F(CropOverlayView, ADragTellsEveryStepFromThePressAndTheKeysMoveOnePoint)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, at(138, 22));  // bottom-right handle
    // QTest's mouseMove sends no buttons; a real drag holds the left one.
    for (const QPoint p : {at(148, 12), at(158, 2)}) {
        QMouseEvent move(QEvent::MouseMove, p, view.mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &move);
    }
    QTest::mouseRelease(&view, Qt::LeftButton, {}, at(158, 2));
    ASSERT_EQ(delegate.changes.size(), 3) << "two steps and the release";
    EXPECT_EQ(delegate.changes[0], QRectF(40, 10, 110, 70));
    EXPECT_EQ(view.cropRect(), QRectF(40, 0, 120, 80));

    delegate.changes.clear();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(delegate.changes.size(), 2);
    EXPECT_EQ(view.cropRect(), QRectF(39, 1, 120, 80));
}

TEST_F(CropOverlayView, OnlyMoveHitsNoHandleAndTheCropTabDarkensOutside)
{
    view.setOnlyMove(true);
    QTest::mousePress(&view, Qt::LeftButton, {}, at(42, 78));  // where a corner would be
    QMouseEvent move(QEvent::MouseMove, at(52, 78), view.mapToGlobal(at(52, 78)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &move);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, at(52, 78));
    EXPECT_EQ(view.cropRect(), QRectF(50, 20, 100, 60)) << "moved, not resized";

    // Painted over a mid-grey picture.
    const auto paint = [this] {
        QImage image(view.size(), QImage::Format_ARGB32);
        image.fill(QColor(128, 128, 128));
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    const QImage watermarkLook = [&] {
        delegate.watermark = true;
        view.setOnlyMove(true);
        return paint();
    }();
    delegate.watermark = false;
    view.setOnlyMove(false);
    const QImage cropLook = paint();
    testsupport::writeArtifact(cropLook, "crop-overlay-crop-tab.png");
    testsupport::writeArtifact(watermarkLook, "crop-overlay-watermark-tab.png");

    const QPoint outside = at(10, 90);
    const QPoint inside = at(100, 50);
    EXPECT_LT(qGray(cropLook.pixel(outside)), 50) << "outside darkened by black at 0.7";
    EXPECT_EQ(qGray(cropLook.pixel(inside)), 128) << "inside untouched";
    EXPECT_EQ(qGray(watermarkLook.pixel(outside)), 128) << "no shade on the watermark tab";
    // Handles: green on the crop tab; none with onlyMove on the watermark tab.
    const QColor handle = cropLook.pixelColor(at(53, 77));
    EXPECT_GT(handle.green(), 150);
    EXPECT_LT(handle.red(), 60);
    EXPECT_EQ(qGray(watermarkLook.pixel(at(53, 77))), 128);
    // The white outline on the watermark tab.
    EXPECT_GT(qGray(watermarkLook.pixel(at(100, 79))), 230);
}

}  // namespace
