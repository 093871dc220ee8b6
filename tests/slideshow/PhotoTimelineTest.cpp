// Which time a photo tile stands for, which tile a time selects, and where
// the tiles lie in the strip.

#include <gtest/gtest.h>

#include "slideshow/core/PhotoTimeline.h"

namespace {

// D = 5, F = L = 1, four photos: spans [0,5] [5,10] [10,15] [15,20].
TEST(PhotoTimeline, TileTimesAreTheMiddlesOfTheirSpans)
{
    const PhotoTimeline line(4, 5.0, 1.0, 1.0);
    const double times[] = {0.0, 7.5, 12.5, 17.5};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(line.timeOfIndex(i), times[i]);
    }
    EXPECT_DOUBLE_EQ(line.timeOfIndex(-1), 0.0);
    EXPECT_DOUBLE_EQ(line.timeOfIndex(4), 0.0);
}

TEST(PhotoTimeline, ATimeSelectsTheTileWhoseSpanHoldsIt)
{
    const PhotoTimeline line(4, 5.0, 1.0, 1.0);
    const struct {
        double time;
        int index;
    } cases[] = {
        {0.0, 0}, {4.9, 0},  {5.0, 0},  // a boundary belongs to the earlier photo
        {5.1, 1}, {10.0, 1}, {12.5, 2}, {20.0, 3}, {20.01, -1}, {-0.1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        EXPECT_EQ(line.indexOfTime(c.time), c.index);
    }
}

// First and last ratios stretch the outer photos: D = 2, F = 1.5, L = 0.5,
// three photos span [0,3] [3,5] [5,6].
TEST(PhotoTimeline, OuterRatiosStretchTheOuterSpans)
{
    const PhotoTimeline line(3, 2.0, 1.5, 0.5);
    EXPECT_DOUBLE_EQ(line.spanOf(0), 3.0);
    EXPECT_DOUBLE_EQ(line.spanOf(1), 2.0);
    EXPECT_DOUBLE_EQ(line.spanOf(2), 1.0);
    EXPECT_DOUBLE_EQ(line.timeOfIndex(1), 4.0);
    EXPECT_DOUBLE_EQ(line.timeOfIndex(2), 5.5);
    EXPECT_EQ(line.indexOfTime(3.0), 0);
    EXPECT_EQ(line.indexOfTime(5.5), 2);
}

TEST(PhotoTimeline, OnePhotoStandsForTheWholeSlideshow)
{
    const PhotoTimeline one(1, 5.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(one.timeOfIndex(0), 0.0);
    for (const double t : {0.0, 7.0, 1000.0, -3.0}) {
        EXPECT_EQ(one.indexOfTime(t), 0) << t;
    }
    EXPECT_EQ(PhotoTimeline(0, 5.0, 1.0, 1.0).indexOfTime(0.0), -1);
}

TEST(PhotoTimeline, StripGeometry)
{
    EXPECT_EQ(PhotoTimeline::tileFrame(0), QRectF(0, 0, 100, 100));
    EXPECT_EQ(PhotoTimeline::tileFrame(3), QRectF(270, 0, 100, 100));
    // Wide enough for the tiles, never narrower than the view.
    EXPECT_EQ(PhotoTimeline::stripSize(3, {600, 110}), QSizeF(600, 110));
    EXPECT_EQ(PhotoTimeline::stripSize(10, {600, 110}), QSizeF(910, 110));
    EXPECT_EQ(PhotoTimeline::stripSize(0, {600, 110}), QSizeF(600, 110));
}

}  // namespace
