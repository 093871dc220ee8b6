#include <gtest/gtest.h>
#include <atomic>
#include <thread>

#include "media/VCImagePool.h"

TEST(ImagePool, ListsAreFirstInFirstOut)
{
    VCImagePool pool;
    EXPECT_EQ(pool.getFreeImageContext(), nullptr);
    EXPECT_EQ(pool.getBufferedImageContext(), nullptr);
    EXPECT_EQ(pool.freeCount(), 0);
    auto a = std::make_shared<LMDrawContext>(4, 4);
    auto b = std::make_shared<LMDrawContext>(4, 4);
    pool.appendFreeImageContext(a);
    pool.appendFreeImageContext(nullptr);
    pool.appendFreeImageContext(b);
    EXPECT_EQ(pool.freeCount(), 2);
    EXPECT_EQ(pool.getFreeImageContext(), a);
    pool.appendBufferedImageContext(b);
    pool.appendBufferedImageContext(a);
    EXPECT_EQ(pool.getFreeImageContext(), b);
    EXPECT_EQ(pool.getBufferedImageContext(), b);
    EXPECT_EQ(pool.getBufferedImageContext(), a);
    EXPECT_EQ(pool.getBufferedImageContext(), nullptr);
}

TEST(ImagePool, ProducerAndConsumerLoseNothing)
{
    VCImagePool pool;
    for (int i = 0; i < 10; ++i) {
        auto context = std::make_shared<LMDrawContext>(2, 2);
        context->image().fill(0);
        pool.appendFreeImageContext(context);
    }
    constexpr int Frames = 2000;
    std::thread producer([&] {
        for (int i = 0; i < Frames; ++i) {
            VCImagePool::Context context;
            while (!(context = pool.getFreeImageContext())) {
                std::this_thread::yield();
            }
            context->image().setPixel(0, 0, static_cast<uint>(i));
            pool.appendBufferedImageContext(context);
        }
    });
    int expected = 0;
    while (expected < Frames) {
        if (auto context = pool.getBufferedImageContext()) {
            ASSERT_EQ(static_cast<int>(context->image().pixel(0, 0) & 0xffffff), expected);
            ++expected;
            pool.appendFreeImageContext(context);
        }
    }
    producer.join();
    EXPECT_EQ(pool.freeCount(), 10);
    pool.appendBufferedImageContext(pool.getFreeImageContext());
    pool.clearPool();
    EXPECT_EQ(pool.freeCount(), 0);
    EXPECT_EQ(pool.bufferedCount(), 0);
}

TEST(ImagePool, WaitingTakerWakesWhenAContextComesBack)
{
    VCImagePool pool;
    EXPECT_EQ(pool.waitForFreeImageContext(std::chrono::milliseconds(1)), nullptr);
    auto context = std::make_shared<LMDrawContext>(4, 4);
    std::thread giver([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        pool.appendFreeImageContext(context);
    });
    // A generous limit: the context arrives long before it.
    EXPECT_EQ(pool.waitForFreeImageContext(std::chrono::seconds(30)), context);
    giver.join();
    EXPECT_EQ(pool.freeCount(), 0);
}
