// The production prepares and starts the burn from its own thread and polls
// it from there; the burner does the work on the main thread meanwhile.
#include <gtest/gtest.h>
#include <QFileInfo>
#include <atomic>
#include <thread>

#include "BurnTestSupport.h"
#include "corvane/DVDBurn.h"

namespace {

TEST(BurnThreadTest, CallsFromAnotherThreadRunOnTheMainThreadAndWait)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString iso = dir.filePath(QStringLiteral("image.iso"));
    ASSERT_TRUE(burntest::makeIso(dir.path(), iso, 512 * 1024));
    const QString target = dir.filePath(QStringLiteral("disc.bin"));
    DRDevicePtr device = DRDevice::pseudoDevice(target);
    ASSERT_TRUE(device);

    DVDBurn burner;
    std::atomic<bool> done{false};
    bool invalidStarted = true;
    bool started = false;
    qint64 sizeAfterStart = 0;
    bool ended = false;
    std::thread production([&] {
        // No device chosen yet: refused at once.
        invalidStarted = burner.burnISOPath(iso);
        burner.setDevice(device);
        burner.prepareForBurn();
        started = burner.burnISOPath(iso);
        sizeAfterStart = burner.burnFileSize();
        for (int i = 0; i < 2000 && !ended; ++i) {
            burner.progress();
            ended = burner.isFinished() || burner.isFailed();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        done = true;
    });
    const bool joined = burntest::waitUntil([&] { return done.load(); }, 30000);
    production.join();
    ASSERT_TRUE(joined);

    EXPECT_FALSE(invalidStarted);
    EXPECT_TRUE(started);
    EXPECT_EQ(sizeAfterStart, QFileInfo(iso).size());
    // The burn could only end if it was started on the main thread's loop.
    EXPECT_TRUE(burner.isFinished());
    EXPECT_TRUE(burntest::readFile(target).startsWith(burntest::readFile(iso)));
    DRDevice::forgetPseudoDevice(device);
}

}  // namespace
