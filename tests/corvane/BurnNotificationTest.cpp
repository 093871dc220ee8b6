// Drive monitoring: DVDBurnNotification tells its delegate about drives that
// come and go and media that change, each call only where the delegate has it.
#include <gtest/gtest.h>
#include <QFile>

#include "BurnTestSupport.h"
#include "corvane/DVDBurnDeviceStatusDelegate.h"
#include "corvane/DVDBurnDevicesDelegate.h"
#include "corvane/DVDBurnNotification.h"
#include "platform/DRNotificationCenter.h"

namespace {

struct Counts {
    int devices = 0;
    int status = 0;
};

class DevicesOnly : public QObject, public DVDBurnDevicesDelegate {
public:
    explicit DevicesOnly(Counts* counts) : counts_(counts) {}
    void devicesDidChanged() override { ++counts_->devices; }

private:
    Counts* counts_;
};

class StatusOnly : public QObject, public DVDBurnDeviceStatusDelegate {
public:
    explicit StatusOnly(Counts* counts) : counts_(counts) {}
    void deviceStatusDidChanged() override { ++counts_->status; }

private:
    Counts* counts_;
};

class Both : public QObject, public DVDBurnDevicesDelegate, public DVDBurnDeviceStatusDelegate {
public:
    explicit Both(Counts* counts) : counts_(counts) {}
    void devicesDidChanged() override { ++counts_->devices; }
    void deviceStatusDidChanged() override { ++counts_->status; }

private:
    Counts* counts_;
};

enum class Kind { Neither, DevicesOnly, StatusOnly, Both };

std::unique_ptr<QObject> makeDelegate(Kind kind, Counts* counts)
{
    switch (kind) {
        case Kind::DevicesOnly:
            return std::make_unique<DevicesOnly>(counts);
        case Kind::StatusOnly:
            return std::make_unique<StatusOnly>(counts);
        case Kind::Both:
            return std::make_unique<Both>(counts);
        case Kind::Neither:
            break;
    }
    return std::make_unique<QObject>();
}

void appendBytes(const QString& path, int count)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(count, 'x'));
}

class BurnNotificationTest : public ::testing::TestWithParam<Kind> {};

// A drive appears, its medium changes, it disappears.
TEST_P(BurnNotificationTest, CallsOnlyWhatTheDelegateImplements)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString target = dir.filePath(QStringLiteral("disc.bin"));
    Counts counts;
    std::unique_ptr<QObject> delegate = makeDelegate(GetParam(), &counts);
    DVDBurnNotification notification;
    notification.setDelegate(delegate.get());

    DRDevicePtr device = DRDevice::pseudoDevice(target);
    ASSERT_TRUE(device);
    appendBytes(target, 5000);
    DRNotificationCenter::currentRunLoopCenter()->pollDevices();
    DRDevice::forgetPseudoDevice(device);

    const bool hearsDevices = GetParam() == Kind::DevicesOnly || GetParam() == Kind::Both;
    const bool hearsStatus = GetParam() == Kind::StatusOnly || GetParam() == Kind::Both;
    EXPECT_EQ(counts.devices, hearsDevices ? 2 : 0);
    if (hearsStatus) {
        EXPECT_GE(counts.status, 1);
    } else {
        EXPECT_EQ(counts.status, 0);
    }
}

const char* nameOf(Kind kind)
{
    static const char* const names[] = {"Neither", "DevicesOnly", "StatusOnly", "Both"};
    return names[int(kind)];
}

void PrintTo(Kind kind, std::ostream* out)
{
    *out << nameOf(kind);
}

std::string kindName(const ::testing::TestParamInfo<Kind>& info)
{
    return nameOf(info.param);
}

INSTANTIATE_TEST_SUITE_P(Delegates, BurnNotificationTest,
                         ::testing::Values(Kind::Neither, Kind::DevicesOnly, Kind::StatusOnly,
                                           Kind::Both),
                         kindName);

TEST(BurnNotificationWatchTest, MediaChangesArriveFromTheMainThreadTimer)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString target = dir.filePath(QStringLiteral("disc.bin"));
    DRNotificationCenter* center = DRNotificationCenter::currentRunLoopCenter();
    center->setPollInterval(20);
    Counts counts;
    Both delegate(&counts);
    DRDevicePtr device;
    {
        DVDBurnNotification notification;
        notification.setDelegate(&delegate);
        EXPECT_TRUE(center->isWatchingDevices());
        device = DRDevice::pseudoDevice(target);
        ASSERT_TRUE(device);
        EXPECT_EQ(counts.devices, 1);
        appendBytes(target, 3 * 2048);
        // Only the timer looks at the drive here.
        EXPECT_TRUE(burntest::waitUntil([&] { return counts.status >= 1; }, 5000));
        EXPECT_EQ(device->mediaSpaceUsed(), 3u);
    }
    EXPECT_FALSE(center->isWatchingDevices());

    // A delegate that is gone is not called.
    auto gone = std::make_unique<Both>(&counts);
    DVDBurnNotification notification;
    notification.setDelegate(gone.get());
    gone.reset();
    DRDevice::forgetPseudoDevice(device);
    EXPECT_EQ(notification.delegate(), nullptr);
}

}  // namespace
