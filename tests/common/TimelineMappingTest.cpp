// The editors' shared timeline mapping between media time and x.
#include <gtest/gtest.h>
#include <cmath>

#include "common/TimelineMapping.h"

namespace {

TEST(TimelineMapping, MapsTimeIntoTheInsetContent)
{
    const TimelineMapping m(QRectF(0, 0, 220, 40), 1000);
    EXPECT_EQ(m.content(), QRectF(10, 5, 200, 30));
    EXPECT_DOUBLE_EQ(m.midY(), 20.0);
    const struct {
        qint64 time;
        float x;
    } cases[] = {{0, 10.0f}, {500, 110.0f}, {1000, 210.0f}, {1500, 210.0f}, {-100, -10.0f}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(m.timeToPoint(c.time), c.x) << c.time;
    }
    EXPECT_EQ(m.pointToTime(110.0), 500);
    EXPECT_EQ(m.pointToTime(110.9), 504) << "truncated";
    EXPECT_EQ(m.pointToTime(0.0), -50) << "not clamped";
    EXPECT_EQ(m.pointToTime(260.0), 1250);
    EXPECT_FLOAT_EQ(m.widthOfLength(100), 20.0f);
    EXPECT_FLOAT_EQ(m.widthOfLength(5000), 200.0f) << "a longer unit is the whole width";
}

TEST(TimelineMapping, ZeroDurationPutsEverythingLeft)
{
    const TimelineMapping m(QRectF(0, 0, 220, 40), 0);
    EXPECT_FLOAT_EQ(m.timeToPoint(0), 10.0f);
    EXPECT_FLOAT_EQ(m.timeToPoint(5000), 10.0f);
    EXPECT_EQ(m.pointToTime(150.0), 0);
}

TEST(TimelineMapping, NoRoomMeansNoContent)
{
    for (const QRectF bounds :
         {QRectF(0, 0, 20, 40), QRectF(0, 0, 12, 40), QRectF(0, 0, 220, 10), QRectF()}) {
        const TimelineMapping m(bounds, 1000);
        EXPECT_TRUE(m.isEmpty());
        EXPECT_EQ(m.pointToTime(15.0), 0);
        EXPECT_TRUE(std::isfinite(m.timeToPoint(700)));
        EXPECT_FLOAT_EQ(m.widthOfLength(100), 0.0f);
    }
}

}  // namespace
