#include <gtest/gtest.h>

#include <QThread>

#include "media/AutoTimePlayer.h"

TEST(AutoTimePlayerTest, PausedTimeNeverCounts)
{
    double now = 100.0;
    AutoTimePlayer player([&now] { return now; });
    EXPECT_FALSE(player.isPlay());
    now = 110.0;  // stopped since it was made
    EXPECT_DOUBLE_EQ(player.currentTime(), 0.0);

    player.play();
    now = 113.0;
    EXPECT_DOUBLE_EQ(player.currentTime(), 3.0);
    player.pause();
    now = 118.0;  // a 5 s pause between two readings
    EXPECT_DOUBLE_EQ(player.currentTime(), 3.0);
    player.play();
    EXPECT_DOUBLE_EQ(player.currentTime(), 3.0);
    now = 120.0;
    EXPECT_DOUBLE_EQ(player.currentTime(), 5.0);

    player.setCurrentTime(12.5);  // while playing: continues from 12.5
    now = 121.5;
    EXPECT_DOUBLE_EQ(player.currentTime(), 14.0);

    player.pause();
    player.setCurrentTime(2.0);
    now = 200.0;
    EXPECT_DOUBLE_EQ(player.currentTime(), 2.0);
}

TEST(AutoTimePlayerTest, RunsWithTheRealClock)
{
    AutoTimePlayer player;
    player.play();
    QThread::msleep(200);
    EXPECT_NEAR(player.currentTime(), 0.2, 0.1);
    player.pause();
    const double held = player.currentTime();
    QThread::msleep(50);
    EXPECT_DOUBLE_EQ(player.currentTime(), held);
}
