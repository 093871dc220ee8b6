// The arithmetic of the menu canvas's selection: the hit areas, the union of
// the selection and the target rectangles of a move and of a resize.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "menuedit/core/MenuShapeGeometry.h"

namespace {

using G = MenuShapeGeometry;

const QRectF item(100, 100, 100, 50);

TEST(MenuShapeGeometryTest, HandlesAreTwelveSquaresOnTheCornersOfTheFrameGrownByTwo)
{
    struct Case {
        int type;
        QPointF centre;
    };
    const Case cases[] = {
        {G::dragUpperLeft, {98, 152}},
        {G::dragUpperRight, {202, 152}},
        {G::dragLowerLeft, {98, 98}},
        {G::dragLowerRight, {202, 98}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(G::dragTypeCenterPoint(c.type, item), c.centre) << c.type;
        EXPECT_EQ(G::makeRectForDragType(c.type, item),
                  QRectF(c.centre.x() - 6, c.centre.y() - 6, 12, 12))
            << c.type;
    }
    EXPECT_EQ(G::makeRectForDragType(G::dragMove, item), item);
    EXPECT_EQ(G::makeRectForDragType(G::dragNone, item), QRectF());
}

TEST(MenuShapeGeometryTest, HitsTakeTheLowerAndLeftEdgesAndAMarginOfFour)
{
    EXPECT_TRUE(G::pointInRect({100, 100}, item));
    EXPECT_FALSE(G::pointInRect({200, 120}, item));
    EXPECT_FALSE(G::pointInRect({150, 150}, item));
    EXPECT_FALSE(G::pointInRect({0, 0}, QRectF(0, 0, 0, 10)));

    EXPECT_TRUE(G::itemFrameHit(item, {96, 96}));
    EXPECT_TRUE(G::itemFrameHit(item, {203.9, 153.9}));
    EXPECT_FALSE(G::itemFrameHit(item, {95.9, 120}));
    EXPECT_FALSE(G::itemFrameHit(item, {204, 120}));
}

TEST(MenuShapeGeometryTest, RectanglesOverlapOnlyWithAnArea)
{
    EXPECT_TRUE(G::rectsOverlap(item, {190, 140, 50, 50}));
    EXPECT_FALSE(G::rectsOverlap(item, {200, 100, 50, 50}));  // shares the right edge
    EXPECT_FALSE(G::rectsOverlap(item, {50, 150, 50, 50}));   // shares a corner
    EXPECT_FALSE(G::rectsOverlap(item, {150, 0, 0, 300}));    // a band without width
}

TEST(MenuShapeGeometryTest, TheUnionHoldsEveryFrameInSinglePrecision)
{
    EXPECT_EQ(G::getValidSelectedItemLargeRect({}), QRectF());
    EXPECT_EQ(G::getValidSelectedItemLargeRect({item, QRectF(20, 300, 10, 10)}),
              QRectF(20, 100, 180, 210));
    const QRectF union_ = G::getValidSelectedItemLargeRect({QRectF(0.1, 0, 10, 10)});
    EXPECT_EQ(union_.x(), double(0.1f));
}

TEST(MenuShapeGeometryTest, AMoveFollowsThePointerOnBothAxes)
{
    EXPECT_EQ(G::doDragAction(G::dragMove, {10, 10}, {15, 2}, item, item, 0.3f, 5),
              QRectF(105, 92, 100, 50));
    EXPECT_EQ(G::doDragAction(G::dragNone, {10, 10}, {15, 2}, item, item, 0.3f, 5), item);
}

TEST(MenuShapeGeometryTest, AResizeScalesAboutTheCentreByTheHorizontalTravelAlone)
{
    // 100 wide, from 100 to 200 across, centre (150, 125).
    struct Case {
        const char* what;
        int type;
        QPointF to;
        float scale;
    };
    const float min = 0.3f;  // 30 over 100
    const float max = 4.0f;
    const Case cases[] = {
        {"right handle 10 out", G::dragUpperRight, {210, 0}, 1.2f},
        {"right handle 10 out, dy ignored", G::dragLowerRight, {210, 90}, 1.2f},
        {"right handle 40 in, raised to the minimum", G::dragUpperRight, {160, 0}, 0.3f},
        {"left handle 10 right", G::dragUpperLeft, {210, 0}, 0.8f},
        {"left handle 10 left", G::dragLowerLeft, {190, -30}, 1.2f},
        {"right handle far out, lowered to the maximum", G::dragLowerRight, {600, 0}, 4.0f},
        {"no horizontal travel", G::dragUpperLeft, {200, 77}, 1.0f},
    };
    for (const Case& c : cases) {
        const QRectF r = G::doDragAction(c.type, {200, 0}, c.to, item, item, min, max);
        EXPECT_FLOAT_EQ(float(r.width()), 100 * c.scale) << c.what;
        EXPECT_FLOAT_EQ(float(r.height()), 50 * c.scale) << c.what;
        EXPECT_DOUBLE_EQ(r.center().x(), 150) << c.what;
        EXPECT_DOUBLE_EQ(r.center().y(), 125) << c.what;
    }
    // 1.2 exactly as the canvas keeps it: 120 wide.
    EXPECT_EQ(G::doDragAction(G::dragUpperRight, {200, 0}, {210, 0}, item, item, min, max).width(),
              100 * double(1.2f));
}

TEST(MenuShapeGeometryTest, ResizeLimitsLetTheMinimumWinAndIgnoreWhatIsNotANumber)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Crossed limits: the minimum, below, between and above them.
    for (const double dx : {-40.0, 10.0, 30.0, 100.0}) {
        EXPECT_FLOAT_EQ(G::resizeScale(G::dragUpperRight, dx, 100, 2.0f, 1.5f), 2.0f) << dx;
    }
    EXPECT_FLOAT_EQ(G::resizeScale(G::dragUpperRight, 10, 100, nan, nan), 1.2f);
    EXPECT_FLOAT_EQ(G::resizeScale(G::dragUpperLeft, 10, 100, 0.3f, nan), 0.8f);
}

TEST(MenuShapeGeometryTest, AnItemWithoutAPositiveFiniteWidthIsNeverResized)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const QRectF& frame : {QRectF(10, 10, 0, 20), QRectF(10, 10, -5, 20),
                                QRectF(10, 10, inf, 20), QRectF(10, 10, nan, 20)}) {
        EXPECT_FALSE(G::canResizeFrame(frame));
        const QRectF r =
            G::doDragAction(G::dragUpperRight, {0, 0}, {10, 0}, frame, frame,
                            30.0f / float(frame.width()), std::numeric_limits<float>::infinity());
        EXPECT_EQ(r.topLeft(), frame.topLeft());
        EXPECT_EQ(r.height(), frame.height());
        EXPECT_TRUE(r.width() == frame.width() ||
                    (std::isnan(r.width()) && std::isnan(frame.width())));
        EXPECT_FLOAT_EQ(G::resizeScale(G::dragUpperRight, 10, frame.width(), 0.3f, 2), 1.0f);
    }
    EXPECT_TRUE(G::isFiniteRect(item));
    EXPECT_FALSE(G::isFiniteRect(QRectF(0, nan, 1, 1)));
    EXPECT_FALSE(G::isFiniteRect(QRectF(0, 0, inf, 1)));
}

}  // namespace
