// The wait of the production steps: a wake that comes while the condition is
// being looked at still ends the wait (or the burn watch would sleep through
// the end it was told of), and the condition is looked at once more when the
// time is up.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "common/ChangeWait.h"

namespace {

// Ten minutes: a lost wake would hang the test (ctest's time-out fails it).
constexpr int Forever = 600000;

TEST(ChangeWait, WakeDuringTheLookIsNotLost)
{
    ChangeWait wait;
    int looks = 0;
    // The first look tells of a change and still answers no.
    EXPECT_TRUE(wait.waitFor(Forever, [&] {
        if (++looks == 1) {
            wait.wake();
            return false;
        }
        return true;
    }));
    EXPECT_EQ(looks, 2);
}

TEST(ChangeWait, WakeFromAnotherThreadEndsTheWait)
{
    ChangeWait wait;
    std::atomic<bool> changed{false};
    std::thread other([&] {
        changed = true;
        wait.wake();
    });
    EXPECT_TRUE(wait.waitFor(Forever, [&] { return changed.load(); }));
    other.join();
}

TEST(ChangeWait, TimeUpLooksOnceMore)
{
    ChangeWait wait;
    int looks = 0;
    EXPECT_TRUE(wait.waitFor(0, [&] { return ++looks == 2; }));
    EXPECT_EQ(looks, 2);
    looks = 0;
    EXPECT_FALSE(wait.waitFor(0, [&] { return ++looks > 2; }));
    EXPECT_EQ(looks, 2);
    EXPECT_FALSE(wait.waitFor(0, nullptr));
}

}  // namespace
