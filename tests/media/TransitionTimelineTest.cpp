// The pacing of photo positions and changes in a composition's own time.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "media/TransitionTimeline.h"

namespace {

TransitionTiming timing(double n, double first, double last, double change)
{
    return TransitionTiming{n, first, last, change};
}

}  // namespace

TEST(TransitionTimelineTest, SpansFollowTheRatios)
{
    const TransitionTimeline line(timing(3, 1.5, 2, 1), 4);
    EXPECT_DOUBLE_EQ(line.length(0), 4.5);
    EXPECT_DOUBLE_EQ(line.length(1), 3);
    EXPECT_DOUBLE_EQ(line.length(3), 6);
    EXPECT_DOUBLE_EQ(line.start(2), 7.5);
    EXPECT_DOUBLE_EQ(line.totalLength(), 16.5);
    EXPECT_DOUBLE_EQ(line.changeLength(3), 0.0);  // the last position has no change
    // A position's change takes at most 40% of its span.
    EXPECT_DOUBLE_EQ(TransitionTimeline(timing(1, 1, 1, 2), 3).changeLength(0), 0.4);
}

TEST(TransitionTimelineTest, FramesAtTimes)
{
    const TransitionTimeline line(timing(3, 1, 1, 1), 3);
    struct Case {
        double time;
        int from, to;
        double progress;
    };
    const Case cases[] = {
        {-5, 0, -1, 0},
        {0, 0, -1, 0},
        {1.0, 0, -1, 0},
        {2.0, 0, -1, 0},
        {2.5, 0, 1, 0.5},
        {3.0, 1, -1, 0},
        {5.75, 1, 2, 0.75},
        {6.0, 2, -1, 0},
        {8.99, 2, -1, 0},
        {9.0, 2, -1, 0},
        {100, 2, -1, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0, -1, 0},
        {std::numeric_limits<double>::infinity(), 2, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        const auto frame = line.frameAt(c.time);
        EXPECT_EQ(frame.from, c.from);
        EXPECT_EQ(frame.to, c.to);
        EXPECT_NEAR(frame.progress, c.progress, 1e-9);
    }
    EXPECT_EQ(TransitionTimeline(timing(3, 1, 1, 1), 0).frameAt(1).from, -1);
}

TEST(TransitionTimelineTest, VisibleRangeCoversTheLookAhead)
{
    const TransitionTimeline line(timing(3, 1, 1, 1), 5);
    EXPECT_EQ(line.visibleRange(0, 2), std::make_pair(0, 0));
    EXPECT_EQ(line.visibleRange(0.5, 2), std::make_pair(0, 1));  // reaches the first change
    EXPECT_EQ(line.visibleRange(2.5, 2), std::make_pair(0, 1));
    EXPECT_EQ(line.visibleRange(4.0, 4), std::make_pair(1, 2));
    EXPECT_EQ(line.visibleRange(13.5, 2), std::make_pair(4, 4));
    EXPECT_EQ(line.visibleRange(50, 2), std::make_pair(4, 4));
    EXPECT_EQ(TransitionTimeline(timing(3, 1, 1, 1), 0).visibleRange(1, 2), std::make_pair(-1, -1));
}
