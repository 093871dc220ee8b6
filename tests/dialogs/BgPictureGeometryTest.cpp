// The background picture canvas: the 16:9 box, picture rectangles, the
// aspect-locked crop frame and its drags.

#include <gtest/gtest.h>

#include "dialogs/core/BgPictureGeometry.h"

namespace {

const QRectF kBox(0, 0, 320, 180);

void expectRect(const QRectF& actual, const QRectF& expected, double tolerance = 0.01)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
    EXPECT_NEAR(actual.width(), expected.width(), tolerance);
    EXPECT_NEAR(actual.height(), expected.height(), tolerance);
}

TEST(BgPictureGeometry, PictureRectanglesAndDefaultCrops)
{
    expectRect(BgPictureGeometry::imageCanvasRect(QSizeF(1920, 1080)), QRectF(0, 0, 1920, 1080));
    expectRect(BgPictureGeometry::imageCanvasRect(QSizeF(1000, 1000)),
               QRectF(0, 218.75, 1000, 562.5));
    const QRectF full(0, 0, 1920, 1080);
    expectRect(BgPictureGeometry::defaultCrop(full, true), full);
    expectRect(BgPictureGeometry::defaultCrop(full, false), QRectF(240, 0, 1440, 1080));
    EXPECT_TRUE(BgPictureGeometry::imageCanvasRect(QSizeF()).isNull());
    EXPECT_EQ(BgPictureGeometry::imageScale(kBox, QRectF()), 0.0f);
    EXPECT_TRUE(BgPictureGeometry::canvasToPicture(kBox, 0.0f, QPointF()).isNull());
}

TEST(BgPictureGeometry, CanvasBoxIsCentred16By9)
{
    expectRect(BgPictureGeometry::canvasBox(QRectF(0, 0, 420, 200)), QRectF(50, 10, 320, 180));
    // A view narrower than 16:9 gives a box wider than the view, centred.
    expectRect(BgPictureGeometry::canvasBox(QRectF(0, 0, 200, 200)), QRectF(-60, 10, 320, 180));
}

TEST(BgPictureGeometry, PictureAndCanvasMapBothWays)
{
    const QRectF picture(0, 218.75, 1000, 562.5);
    const float scale = BgPictureGeometry::imageScale(kBox, picture);
    const QPointF offset = BgPictureGeometry::imageOffset(kBox, picture, scale);
    expectRect(BgPictureGeometry::pictureToCanvas(picture, scale, offset), kBox);
    const QRectF crop(100, 300, 400, 225);
    expectRect(BgPictureGeometry::canvasToPicture(
                   BgPictureGeometry::pictureToCanvas(crop, scale, offset), scale, offset),
               crop, 0.05);
}

TEST(BgPictureGeometry, HitTypes)
{
    const QRectF frame(100, 50, 80, 45);
    struct Case {
        QPointF point;
        int type;
    };
    const Case cases[] = {
        {{100, 95}, 1},  {{180, 95}, 2},    {{100, 50}, 3},
        {{180, 50}, 4},  {{97.5, 97.5}, 1},  // a handle square reaches outside the frame
        {{140, 70}, 10}, {{90, 70}, 0},     {{140, 20}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BgPictureGeometry::hitType(c.point, frame), c.type)
            << c.point.x() << "," << c.point.y();
    }
    EXPECT_EQ(BgPictureGeometry::oppositeHandle(0), 0);
}

TEST(BgPictureGeometry, MoveDragKeepsSizeAndStopsAtTheBox)
{
    const float r = BgPictureGeometry::aspect(true);
    const QRectF start(100, 50, 80, 45);
    expectRect(BgPictureGeometry::dragStep(10, {140, 70}, {170, 50}, start, kBox, r),
               QRectF(130, 30, 80, 45));
    expectRect(BgPictureGeometry::dragStep(10, {140, 70}, {640, -500}, start, kBox, r),
               QRectF(240, 0, 80, 45));
    // A frame over the whole box cannot move.
    expectRect(BgPictureGeometry::dragStep(10, {50, 50}, {80, 30}, kBox, kBox, r), kBox);
}

TEST(BgPictureGeometry, CornerDragFollowsTheDiagonal)
{
    const float r = BgPictureGeometry::aspect(true);
    const QRectF start(100, 50, 80, 45);
    const QPointF handle2(180, 95);
    // 32 to the right: 32 wider, 18 higher, bottom left kept; vertical
    // motion is ignored.
    expectRect(BgPictureGeometry::dragStep(2, handle2, handle2 + QPointF(32, -40), start, kBox, r),
               QRectF(100, 50, 112, 63));
    expectRect(BgPictureGeometry::dragStep(2, handle2, handle2 + QPointF(0, 60), start, kBox, r),
               start);
    // Away from the fixed corner it stops where the box is reached first.
    expectRect(BgPictureGeometry::dragStep(2, handle2, handle2 + QPointF(500, 0), start, kBox, r),
               QRectF(100, 50, 220, 123.75), 0.05);
}

TEST(BgPictureGeometry, CornerDragStopsAtTheMinimum)
{
    struct Case {
        bool is16_9;
        double height;
    };
    for (const Case c : {Case{true, 22.5}, Case{false, 30.0}}) {
        const float r = BgPictureGeometry::aspect(c.is16_9);
        const QRectF start(100, 50, 120, 120 / r);
        for (int type = 1; type <= 4; ++type) {
            const QPointF p0 = BgPictureGeometry::handlePoint(type, start);
            const bool left = type == 1 || type == 3;
            const QPointF to = p0 + QPointF(left ? 500 : -500, 0);
            const QRectF frame = BgPictureGeometry::dragStep(type, p0, to, start, kBox, r);
            EXPECT_NEAR(frame.width(), 40, 0.01) << type;
            EXPECT_NEAR(frame.height(), c.height, 0.01) << type;
            const int fixed = BgPictureGeometry::oppositeHandle(type);
            EXPECT_EQ(BgPictureGeometry::handlePoint(fixed, frame),
                      BgPictureGeometry::handlePoint(fixed, start))
                << type;
        }
    }
}

}  // namespace
