// The canvas arithmetic: keeping rectangles in the canvas, fitting the canvas
// into a view with its one transform, and the zoom limits of an item.
#include <gtest/gtest.h>

#include "menuedit/core/MenuCanvasGeometry.h"

namespace {

const QRectF wide(0, 0, 854, 480);
const QRectF narrow(0, 0, 640, 480);

TEST(MenuCanvasGeometry, BoundInCanvasLimitKeepsRectanglesInside)
{
    struct Case {
        const char* what;
        QRectF rect;
        QRectF canvas;
        QRectF expected;
    } cases[] = {
        {"inside stays", {100, 100, 200, 150}, wide, {100, 100, 200, 150}},
        {"touching the edges stays", {654, 330, 200, 150}, wide, {654, 330, 200, 150}},
        {"past the right edge", {700, 100, 200, 150}, wide, {654, 100, 200, 150}},
        {"past the left and lower edges", {-30, -20, 200, 150}, wide, {0, 0, 200, 150}},
        {"past the upper edge", {100, 400, 200, 150}, wide, {100, 330, 200, 150}},
        {"wider than 4:3 becomes 640 wide", {-50, 100, 700, 100}, narrow, {0, 100, 640, 100}},
        {"taller than the canvas", {10, -10, 100, 500}, wide, {10, 0, 100, 480}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MenuCanvasGeometry::boundInCanvasLimit(c.rect, c.canvas), c.expected) << c.what;
    }
}

TEST(MenuCanvasGeometry, FitKeepsAMarginAndCentresTheCanvas)
{
    const CanvasFit fit = MenuCanvasGeometry::fitCanvasInView(wide, QSizeF(870, 496));
    EXPECT_FLOAT_EQ(fit.scale, 1.0f);
    EXPECT_EQ(fit.fitted, QRectF(8, 8, 854, 480));
    EXPECT_EQ(fit.bounds, QRectF(-8, -8, 870, 496));
    // The canvas's lower-left corner is the fitted rectangle's bottom-left
    // pixel corner; y is flipped.
    EXPECT_EQ(fit.canvasToView.map(QPointF(0, 0)), QPointF(8, 488));
    EXPECT_EQ(fit.canvasToView.map(QPointF(854, 480)), QPointF(862, 8));
    EXPECT_EQ(fit.canvasToView.mapRect(wide), fit.fitted);

    // A view twice as large shows the canvas at half a unit per pixel.
    const CanvasFit big = MenuCanvasGeometry::fitCanvasInView(wide, QSizeF(1724, 976));
    EXPECT_FLOAT_EQ(big.scale, 0.5f);
    EXPECT_EQ(big.canvasToView.mapRect(wide), QRectF(8, 8, 1708, 960));
    EXPECT_EQ(big.canvasToView.inverted().map(QPointF(8, 968)), QPointF(0, 0));
}

TEST(MenuCanvasGeometry, FittedWidthBelowOneCountsAsOne)
{
    for (const QSizeF view : {QSizeF(16, 16), QSizeF(10, 400), QSizeF(0, 0)}) {
        const CanvasFit fit = MenuCanvasGeometry::fitCanvasInView(wide, view);
        EXPECT_LT(fit.fitted.width(), 1.0);
        EXPECT_FLOAT_EQ(fit.scale, 854.0f) << view.width() << "x" << view.height();
        EXPECT_TRUE(fit.canvasToView.isInvertible());
    }
}

TEST(MenuCanvasGeometry, WideViewGivesBothAspectsOneScale)
{
    const QSizeF view(1600, 496);
    const CanvasFit sixteenNine = MenuCanvasGeometry::fitCanvasInView(wide, view);
    const CanvasFit fourThree = MenuCanvasGeometry::fitCanvasInView(narrow, view);
    EXPECT_FLOAT_EQ(sixteenNine.scale, 1.0f);
    EXPECT_FLOAT_EQ(fourThree.scale, sixteenNine.scale);
    EXPECT_DOUBLE_EQ(fourThree.fitted.height(), sixteenNine.fitted.height());
    EXPECT_LT(fourThree.fitted.width(), sixteenNine.fitted.width());
    // Both centred in the view.
    EXPECT_DOUBLE_EQ(fourThree.fitted.center().x(), 800);
    EXPECT_DOUBLE_EQ(sixteenNine.fitted.center().x(), 800);
}

TEST(MenuCanvasGeometry, EmptyCanvasGivesAPlainFlip)
{
    const CanvasFit fit = MenuCanvasGeometry::fitCanvasInView(QRectF(), QSizeF(300, 200));
    EXPECT_FLOAT_EQ(fit.scale, 1.0f);
    EXPECT_EQ(fit.canvasToView.map(QPointF(0, 0)), QPointF(0, 200));
}

TEST(MenuCanvasGeometry, ZoomLimits)
{
    EXPECT_FLOAT_EQ(MenuCanvasGeometry::minZoomForFrame({0, 0, 200, 150}), 0.15f);
    EXPECT_FLOAT_EQ(MenuCanvasGeometry::minZoomForFrame({0, 0, 0, 150}), 1.0f);

    struct Case {
        QRectF frame;
        float expected;
    } cases[] = {
        // Centred: limited by the height (240 / 75).
        {{327, 165, 200, 150}, 3.2f},
        // Near the left edge: 100 / 100.
        {{0, 165, 200, 150}, 1.0f},
        // Near the top: (480 - 400) / 25.
        {{400, 375, 100, 50}, 3.2f},
        // Already touching the right edge cannot grow.
        {{754, 200, 100, 50}, 1.0f},
        // No area.
        {{100, 100, 0, 0}, 1.0f},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(MenuCanvasGeometry::maxZoomForFrame(c.frame, wide), c.expected)
            << c.frame.x() << "," << c.frame.y();
    }
}

}  // namespace
