// The rules of the photo crop sheet without a screen: the limited drag, the
// crop frame's zones, resizing, clamping, ratios and presets, the picture
// area's fitting and the mappings between the crop item, the frame and the
// pixel numbers.

#include <gtest/gtest.h>

#include <cmath>

#include "media/CropItem.h"
#include "slideshow/CropBackgroundView.h"
#include "slideshow/core/CropFrameGeometry.h"
#include "slideshow/core/CropMapping.h"
#include "slideshow/core/LimitedDragging.h"

namespace {

void expectRect(const QRectF& actual, const QRectF& expected, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance) << "x";
    EXPECT_NEAR(actual.y(), expected.y(), tolerance) << "y";
    EXPECT_NEAR(actual.width(), expected.width(), tolerance) << "width";
    EXPECT_NEAR(actual.height(), expected.height(), tolerance) << "height";
}

// --- Limited drag ---

TEST(LimitedDragging, ClampsIntoTheLimitRightAndTopWinning)
{
    const QRectF limit(10, 20, 100, 50);
    struct Case {
        QRectF wanted;
        QPointF origin;
    };
    const Case cases[] = {
        {{0, 0, 30, 10}, {10, 20}},     // below and left: onto the lower-left corner
        {{95, 65, 30, 10}, {80, 60}},   // beyond the right and top
        {{40, 30, 30, 10}, {40, 30}},   // inside: unchanged
        {{0, 0, 150, 80}, {-40, -10}},  // wider and taller: right and top sides win
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LimitedDragging::clampedOrigin(c.wanted, limit), c.origin) << c.wanted.x();
    }
}

TEST(LimitedDragging, FollowsTheMouseFromTheDragStart)
{
    LimitedDragging drag;
    drag.setLimitedRect({0, 0, 200, 100});
    drag.setFrame({50, 40, 20, 20});
    drag.mouseDown({60, 50});
    drag.mouseDragged({500, 50});  // far past the right side
    EXPECT_EQ(drag.frame().topLeft(), QPointF(180, 40));
    drag.mouseDragged({65, 47});  // and back: no lag left over
    EXPECT_EQ(drag.frame().topLeft(), QPointF(55, 37));
    drag.mouseUp();
    EXPECT_EQ(drag.pntDragStartPoint(), QPointF());
    EXPECT_EQ(drag.rctDragStartRect(), QRectF());

    drag.setBCanDragNow(false);
    drag.mouseDown({60, 50});
    drag.mouseDragged({90, 80});
    EXPECT_EQ(drag.frame().topLeft(), QPointF(55, 37));
}

TEST(LimitedDragging, AViewWiderThanItsLimitEndsOnTheRightSide)
{
    LimitedDragging drag;
    drag.setLimitedRect({0, 0, 100, 100});
    drag.setFrame({0, 0, 140, 20});
    drag.mouseDown({10, 10});
    drag.mouseDragged({-30, 10});
    EXPECT_EQ(drag.frame().topLeft(), QPointF(-40, 0));
}

// --- Crop frame ---

// A crop of 200 × 100 at (112, 112) over a picture at (12, 12, 400, 300).
class CropFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame.setPictureRect(picture);
        frame.setDisplayRect({112, 112, 200, 100});
    }

    // Presses at a point of the frame (its lower-left corner is 0, 0) and
    // drags by `by`.
    void drag(const QPointF& local, const QPointF& by)
    {
        const QPointF start = frame.frame().topLeft() + local;
        frame.mouseDown(start);
        frame.mouseDragged(start + by);
    }

    QRectF picture{12, 12, 400, 300};
    CropFrameGeometry frame;
};

TEST_F(CropFrame, TheFrameIsTheCropGrownByTheMargin)
{
    expectRect(frame.frame(), {106, 106, 212, 112});
    expectRect(frame.rctLimitedRect(), {6, 6, 412, 312});
    expectRect(frame.getDisplayRect(), {112, 112, 200, 100});
    EXPECT_DOUBLE_EQ(frame.cropRatio(), 2.0);
}

TEST_F(CropFrame, PressesLessThanTwelveInResizeFurtherInMove)
{
    struct Case {
        QPointF local;
        int drag;
        int resize;
        int stationary;
    };
    const double w = 212;
    const double h = 112;
    const Case cases[] = {
        {{1, 1}, CropFrameGeometry::Resize, CropFrameGeometry::Corner, CropFrameGeometry::TopRight},
        {{w - 2, h - 2},
         CropFrameGeometry::Resize,
         CropFrameGeometry::Corner,
         CropFrameGeometry::BottomLeft},
        {{11.9, 30},
         CropFrameGeometry::Resize,
         CropFrameGeometry::LeftOrRight,
         CropFrameGeometry::TopRight},
        {{11.9, 80},
         CropFrameGeometry::Resize,
         CropFrameGeometry::LeftOrRight,
         CropFrameGeometry::BottomRight},
        {{w - 5, 30},
         CropFrameGeometry::Resize,
         CropFrameGeometry::LeftOrRight,
         CropFrameGeometry::TopLeft},
        {{150, 11.9},
         CropFrameGeometry::Resize,
         CropFrameGeometry::BottomOrTop,
         CropFrameGeometry::TopLeft},
        {{50, h - 3},
         CropFrameGeometry::Resize,
         CropFrameGeometry::BottomOrTop,
         CropFrameGeometry::BottomRight},
        {{12, 12}, CropFrameGeometry::Move, -1, -1},
        {{w - 12, h - 12}, CropFrameGeometry::Move, -1, -1},
        {{100, 50}, CropFrameGeometry::Move, -1, -1},
    };
    for (const Case& c : cases) {
        CropFrameGeometry g = frame;
        g.mouseDown(g.frame().topLeft() + c.local);
        EXPECT_TRUE(g.isDragging());
        EXPECT_EQ(g.enumMouseDragType(), c.drag) << c.local.x() << ", " << c.local.y();
        if (c.drag == CropFrameGeometry::Resize) {
            EXPECT_EQ(g.enumResizeType(), c.resize) << c.local.x() << ", " << c.local.y();
            EXPECT_EQ(g.enumStationaryPointType(), c.stationary)
                << c.local.x() << ", " << c.local.y();
        }
    }
}

TEST_F(CropFrame, TopRightOutwardStopsAtThePictureWithTheBottomLeftFixed)
{
    drag({209, 109}, {1000, 1000});
    expectRect(frame.getDisplayRect(), {112, 112, 300, 200});  // right 412, top 312
    EXPECT_DOUBLE_EQ(frame.cropRatio(), 1.5);                  // a free resize takes the new ratio
}

TEST_F(CropFrame, BottomLeftOutwardStopsAtThePictureWithTheTopRightFixed)
{
    drag({2, 2}, {-1000, -1000});
    expectRect(frame.getDisplayRect(), {12, 12, 300, 200});
}

TEST_F(CropFrame, AFreeShrinkStopsAtTheMinimum)
{
    drag({209, 109}, {-1000, -1000});
    expectRect(frame.getDisplayRect(), {112, 112, 24, 24});
    EXPECT_DOUBLE_EQ(frame.cropRatio(), 1.0);
}

TEST_F(CropFrame, AFixedRatioShrinkKeepsTheRatioAtTheMinimum)
{
    frame.setCustomized(false);
    drag({209, 109}, {-1000, -1000});
    expectRect(frame.getDisplayRect(), {112, 112, 48, 24});
    EXPECT_DOUBLE_EQ(frame.cropRatio(), 2.0);
}

TEST_F(CropFrame, AFixedRatioIgnoresTheBottomAndTopEdges)
{
    frame.setCustomized(false);
    drag({100, 110}, {0, 50});
    expectRect(frame.getDisplayRect(), {112, 112, 200, 100});
    frame.mouseUp();
    // A left edge grows both sides, about the top-right corner.
    drag({3, 30}, {-20, 0});
    expectRect(frame.getDisplayRect(), {92, 102, 220, 110});
}

TEST_F(CropFrame, TheEdgesResizeOneSideWithAFreeRatio)
{
    drag({100, 110}, {40, 30});  // the top edge: only up
    expectRect(frame.getDisplayRect(), {112, 112, 200, 130});
    frame.mouseUp();
    drag({210, 30}, {-50, 77});  // the right edge: only across
    expectRect(frame.getDisplayRect(), {112, 112, 150, 130});
}

TEST_F(CropFrame, AMoveStaysInsideThePicture)
{
    drag({100, 50}, {1000, -1000});
    expectRect(frame.getDisplayRect(), {212, 12, 200, 100});
    frame.mouseUp();
    EXPECT_FALSE(frame.isDragging());
    for (int i = 0; i < 50; ++i) {
        frame.transformViewWithOffset({1, -1});
    }
    expectRect(frame.getDisplayRect(), {212, 12, 200, 100});
    frame.transformViewWithOffset({-1, 1});
    expectRect(frame.getDisplayRect(), {211, 13, 200, 100});
}

TEST(CropFramePresets, FitTheRatioAboutTheCentreWithinThePicture)
{
    struct Case {
        int preset;
        QRectF crop;
        QRectF expected;
    };
    const Case cases[] = {
        {CropFrameGeometry::Ratio4_3, {400, 450, 200, 100}, {400, 425, 200, 150}},
        {CropFrameGeometry::Ratio1_1, {400, 450, 200, 100}, {400, 400, 200, 200}},
        {CropFrameGeometry::Ratio16_9,
         {400, 400, 100, 200},
         {272.2222222222, 400, 355.5555555556, 200}},
        {CropFrameGeometry::Ratio2_1, {400, 450, 200, 100}, {400, 450, 200, 100}},
        // 50 from the bottom: the height is cut to 100, the width follows.
        {CropFrameGeometry::Ratio4_3, {400, 0, 200, 100}, {433.3333333333, 0, 133.3333333333, 100}},
    };
    for (const Case& c : cases) {
        CropFrameGeometry g;
        g.setPictureRect({0, 0, 1000, 1000});
        g.setDisplayRect(c.crop);
        EXPECT_TRUE(g.displayWithNewCropFrameRatioType(c.preset));
        expectRect(g.getDisplayRect(), c.expected, 1e-6);
    }
    CropFrameGeometry g;
    g.setPictureRect({0, 0, 1000, 1000});
    g.setDisplayRect({400, 450, 200, 100});
    EXPECT_FALSE(g.displayWithNewCropFrameRatioType(9));
    EXPECT_TRUE(g.displayWithNewCropFrameRatioType(CropFrameGeometry::Customize));
    expectRect(g.getDisplayRect(), {400, 450, 200, 100});
}

TEST(CropFrameZones, EachZoneHasItsCursorPlace)
{
    CropFrameGeometry g;
    g.setFrame({0, 0, 100, 60});
    EXPECT_EQ(g.cursorZoneAt({3, 3}), CropFrameGeometry::BottomLeftCorner);
    EXPECT_EQ(g.cursorZoneAt({97, 57}), CropFrameGeometry::TopRightCorner);
    EXPECT_EQ(g.cursorZoneAt({3, 57}), CropFrameGeometry::TopLeftCorner);
    EXPECT_EQ(g.cursorZoneAt({97, 3}), CropFrameGeometry::BottomRightCorner);
    EXPECT_EQ(g.cursorZoneAt({3, 30}), CropFrameGeometry::LeftEdge);
    EXPECT_EQ(g.cursorZoneAt({97, 30}), CropFrameGeometry::RightEdge);
    EXPECT_EQ(g.cursorZoneAt({50, 3}), CropFrameGeometry::BottomEdge);
    EXPECT_EQ(g.cursorZoneAt({50, 57}), CropFrameGeometry::TopEdge);
    EXPECT_EQ(g.cursorZoneAt({50, 30}), CropFrameGeometry::Inside);
}

// --- Picture area ---

TEST(CropPictureArea, FitsThePhotoWithTwelvePointMargins)
{
    struct Case {
        QSizeF image;
        QSizeF bounds;
        QRectF expected;
    };
    const Case cases[] = {
        {{800, 600}, {524, 424}, {12, 24.5, 500, 375}},
        {{600, 900}, {524, 424}, {(524 - 400 * 600.0 / 900) / 2, 12, 400 * 600.0 / 900, 400}},
        {{100, 50}, {524, 424}, {12, (424 - 250) / 2.0, 500, 250}},  // enlarged
        {{0, 600}, {524, 424}, {}},
        {{800, 0}, {524, 424}, {}},
        {{800, 600}, {20, 20}, {}},
    };
    for (const Case& c : cases) {
        expectRect(CropBackgroundView::displayImageRect(c.image, c.bounds), c.expected, 1e-9);
    }
}

// --- Mappings ---

TEST(CropMappingTable, ItemFrameAndPixels)
{
    const QRectF p(12, 24.5, 500, 375);
    const QSizeF s(4000, 3000);
    CropItem item;
    // A reset item is the whole picture, and 0, 0, w, h.
    const QRectF whole = CropMapping::frameFromItem(CropMapping::ratiosOf(item), p);
    expectRect(whole, p);
    const auto all = CropMapping::fieldsFromFrame(whole, p, s);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->x, 0);
    EXPECT_EQ(all->y, 0);
    EXPECT_EQ(all->width, 4000);
    EXPECT_EQ(all->height, 3000);

    // The right half, y from the bottom: a frame at the top gives Y = h - H.
    const QRectF top(12 + 250, 24.5 + 375 - 100.3, 250, 100.3);
    const auto pixels = CropMapping::fieldsFromFrame(top, p, s);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->x, 2000);
    EXPECT_EQ(pixels->width, 2000);
    EXPECT_EQ(pixels->height, 802);  // 802.4 truncated
    EXPECT_EQ(pixels->y, 2197);      // 2197.6 truncated: h - H within a pixel
    EXPECT_NEAR(pixels->y, s.height() - pixels->height, 1.0);

    const auto ratios = CropMapping::itemFromFields({2000, 0, 2000, 1500}, s);
    ASSERT_TRUE(ratios);
    EXPECT_DOUBLE_EQ(ratios->centerX, 0.75);
    EXPECT_DOUBLE_EQ(ratios->centerY, 0.25);
    EXPECT_DOUBLE_EQ(ratios->width, 0.5);
    EXPECT_DOUBLE_EQ(ratios->height, 0.5);
    expectRect(CropMapping::frameFromItem(*ratios, p), {262, 24.5, 250, 187.5});
}

TEST(CropMappingTable, TheWholePhotoMapsBackWholeAtAwkwardScales)
{
    // Scaled onto the display and back, the width must not lose a pixel.
    for (const QSizeF source : {QSizeF(800, 600), QSizeF(3001, 1999), QSizeF(7, 5),
                                QSizeF(4032, 3024), QSizeF(1, 9000)}) {
        const QRectF p = CropBackgroundView::displayImageRect(source, {640, 480});
        const auto pixels = CropMapping::fieldsFromFrame(p, p, source);
        ASSERT_TRUE(pixels);
        EXPECT_EQ(pixels->width, source.width());
        EXPECT_EQ(pixels->height, source.height());
    }
}

TEST(CropMappingTable, TypedSizesAndTheMinimum)
{
    const QRectF p(12, 24.5, 500, 375);
    const QSizeF s(4000, 3000);
    EXPECT_EQ(CropMapping::minimumPixels(24, p, s), std::floor(24 * 4000 / 500.0));
    // At least m, at most the photo, no further than its edge from X.
    EXPECT_EQ(CropMapping::clampedTypedSize(0, 192, 4000, 0), 192);
    EXPECT_EQ(CropMapping::clampedTypedSize(9999, 192, 4000, 0), 4000);
    EXPECT_EQ(CropMapping::clampedTypedSize(9999, 192, 4000, 1000), 3000);
    EXPECT_EQ(CropMapping::clampedTypedSize(2500, 192, 4000, 1000), 2500);
}

TEST(CropMappingTable, NothingMapsOntoAnEmptyPictureOrPhoto)
{
    EXPECT_FALSE(CropMapping::fieldsFromFrame({0, 0, 10, 10}, {}, {800, 600}));
    EXPECT_FALSE(CropMapping::fieldsFromFrame({0, 0, 10, 10}, {0, 0, 100, 100}, {0, 600}));
    EXPECT_FALSE(CropMapping::itemFromFields({0, 0, 10, 10}, {800, 0}));
    EXPECT_FALSE(CropMapping::minimumPixels(24, {}, {800, 600}));
}

}  // namespace
