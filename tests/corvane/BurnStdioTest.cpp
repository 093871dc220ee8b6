// Whole burns through libburn onto "stdio:" pseudo-drives: a file stands for
// the disc, so the written bytes can be compared with the image.
#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>

#include "BurnTestSupport.h"
#include "corvane/DVDBurn.h"
#include "platform/DRNotificationCenter.h"
#include "platform/DRStatus.h"

namespace {

class BurnStdioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        iso = dir.filePath(QStringLiteral("image.iso"));
        ASSERT_TRUE(burntest::makeIso(dir.path(), iso, 3 * 1024 * 1024 + 123));
        QObject::connect(DRNotificationCenter::currentRunLoopCenter(),
                         &DRNotificationCenter::burnStatusChanged, &context,
                         [this](const DRBurn* burn, const QVariantMap& status) {
                             if (burn == burner.burn().get()) {
                                 states << status.value(DRStatusStateKey).toString();
                             }
                         });
    }
    void TearDown() override
    {
        if (device) {
            DRDevice::forgetPseudoDevice(device);
        }
    }

    // Chooses a pseudo-drive on `target`, burns the image and waits for the end.
    void burnTo(const QString& target)
    {
        device = DRDevice::pseudoDevice(target);
        ASSERT_TRUE(device) << target.toStdString();
        burner.setDevice(device);
        burner.prepareForBurn();
        ASSERT_TRUE(burner.isValid());
        ASSERT_TRUE(burner.burnISOPath(iso));
        EXPECT_EQ(burner.burnFileSize(), QFileInfo(iso).size());
        ASSERT_TRUE(burntest::waitUntil([this] {
            burner.progress();
            return !burner.isDeviceFree();
        })) << "the burn never ended";
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QString iso;
    QObject context;
    DRDevicePtr device;
    DVDBurn burner;
    QStringList states;
};

TEST_F(BurnStdioTest, WritesTheImageAndFinishes)
{
    const QString target = dir.filePath(QStringLiteral("disc.bin"));
    burnTo(target);
    EXPECT_TRUE(burner.isFinished())
        << burner.status().value(DRErrorStatusKey).toString().toStdString();
    const QByteArray image = burntest::readFile(iso);
    const QByteArray disc = burntest::readFile(target);
    ASSERT_GE(disc.size(), image.size());
    EXPECT_TRUE(disc.startsWith(image));
    EXPECT_EQ(burner.status().value(DRStatusStateKey).toString(), DRStatusStateDone);
    EXPECT_FALSE(burner.isBurning());
    EXPECT_FALSE(states.contains(DRStatusStateVerifying));
    EXPECT_EQ(states.last(), DRStatusStateDone);
}

TEST_F(BurnStdioTest, VerifiesWhenAllowed)
{
    const QString target = dir.filePath(QStringLiteral("disc.bin"));
    burner.setAllowVerify(true);
    burnTo(target);
    EXPECT_TRUE(burner.isFinished())
        << burner.status().value(DRErrorStatusKey).toString().toStdString();
    EXPECT_TRUE(states.contains(DRStatusStateVerifying));
    EXPECT_LT(states.indexOf(DRStatusStateTrackWrite), states.indexOf(DRStatusStateVerifying));
    EXPECT_TRUE(burntest::readFile(target).startsWith(burntest::readFile(iso)));
}

// Targets that libburn accepts as drives but cannot write.
struct FailingTarget {
    const char* name;
    const char* path;
};

void PrintTo(const FailingTarget& target, std::ostream* out)
{
    *out << target.name;
}

class BurnFailingTargetTest : public BurnStdioTest,
                              public ::testing::WithParamInterface<FailingTarget> {};

TEST_P(BurnFailingTargetTest, EndsFailedWithAReadableStatus)
{
    burnTo(QString::fromLatin1(GetParam().path));
    EXPECT_TRUE(burner.isFailed());
    const QVariantMap status = burner.status();
    EXPECT_EQ(status.value(DRStatusStateKey).toString(), DRStatusStateFailed);
    EXPECT_FALSE(status.value(DRErrorStatusKey).toString().isEmpty());
    // The failure stays until the next preparation.
    burner.progress();
    EXPECT_TRUE(burner.isFailed());
}

INSTANTIATE_TEST_SUITE_P(Targets, BurnFailingTargetTest,
                         ::testing::Values(FailingTarget{"unwritable_path",
                                                         "/proc/brisane-burn-target.iso"},
                                           FailingTarget{"target_too_small", "/dev/full"}),
                         [](const ::testing::TestParamInfo<FailingTarget>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(BurnStdioTest, NoValidDeviceAnswersNoAtOnce)
{
    EXPECT_FALSE(burner.isValid());
    EXPECT_FALSE(burner.burnISOPath(iso));
    EXPECT_EQ(burner.burnFileSize(), 0);
    EXPECT_TRUE(burner.isDeviceFree());

    // A device that has gone is no valid device either.
    device = DRDevice::pseudoDevice(dir.filePath(QStringLiteral("disc.bin")));
    ASSERT_TRUE(device);
    burner.setDevice(device);
    DRDevice::forgetPseudoDevice(device);
    EXPECT_TRUE(burner.burn());
    EXPECT_FALSE(burner.isValid());
    EXPECT_FALSE(burner.mediaIsPresent());
    EXPECT_EQ(burner.mediaFreeSpace(), 0);
    EXPECT_FALSE(burner.burnISOPath(iso));
    device.reset();
}

TEST_F(BurnStdioTest, MediaQueriesAnswerFromTheChosenDriveInBytes)
{
    const QString target = dir.filePath(QStringLiteral("disc.bin"));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(5000, 'x'));
    file.close();
    device = DRDevice::pseudoDevice(target);
    ASSERT_TRUE(device);
    EXPECT_FALSE(burner.mediaIsPresent());
    EXPECT_EQ(burner.mediaUsedSpace(), 0);

    burner.setDevice(device);
    EXPECT_EQ(burner.device(), device);
    EXPECT_TRUE(burner.isValid());
    EXPECT_TRUE(burner.mediaIsPresent());
    EXPECT_TRUE(burner.mediaIsBlank());
    EXPECT_EQ(burner.mediaUsedSpace(), 3 * 2048);
    EXPECT_GT(burner.mediaFreeSpace(), 0);
    EXPECT_EQ(burner.mediaFreeSpace() % 2048, 0);
    EXPECT_GE(burner.mediaOverWritableSpace(), burner.mediaUsedSpace());
    EXPECT_TRUE(burner.devices().contains(device));
}

TEST_F(BurnStdioTest, UnusableImageAnswersNo)
{
    device = DRDevice::pseudoDevice(dir.filePath(QStringLiteral("disc.bin")));
    ASSERT_TRUE(device);
    burner.setDevice(device);
    EXPECT_FALSE(burner.burnISOPath(dir.filePath(QStringLiteral("missing.iso"))));
    EXPECT_FALSE(burner.burnISOPath(dir.path()));
    EXPECT_EQ(burner.burnFileSize(), 0);
}

TEST_F(BurnStdioTest, DriveLostDuringTheBurnFails)
{
    device = DRDevice::pseudoDevice(dir.filePath(QStringLiteral("disc.bin")));
    ASSERT_TRUE(device);
    burner.setDevice(device);
    ASSERT_TRUE(burner.burnISOPath(iso));
    DRDevice::forgetPseudoDevice(device);
    EXPECT_TRUE(burner.isFailed());
    EXPECT_FALSE(burner.status().value(DRErrorStatusKey).toString().isEmpty());
    // Whatever the drive reports afterwards, the burn stays failed.
    ASSERT_TRUE(burntest::waitUntil([this] {
        return states.contains(DRStatusStateDone) || states.contains(DRStatusStateFailed);
    }));
    EXPECT_TRUE(burner.isFailed());
    device.reset();
}

TEST_F(BurnStdioTest, DrivesAreNotLookedAtWhileABurnHoldsOne)
{
    // Another drive's medium changes while the burn holds its drive: a look
    // at the drives then changes nothing (no medium, no drive lost); once the
    // burn has let go it sees the change.
    const QString other = dir.filePath(QStringLiteral("other.bin"));
    const DRDevicePtr watched = DRDevice::pseudoDevice(other);
    ASSERT_TRUE(watched);
    const quint32 usedBefore = watched->mediaSpaceUsed();
    DRNotificationCenter* center = DRNotificationCenter::currentRunLoopCenter();
    bool looked = false;
    bool changedWhileBurning = true;
    bool listedWhileBurning = false;
    QObject::connect(center, &DRNotificationCenter::burnStatusChanged, &context,
                     [&](const DRBurn* burn, const QVariantMap&) {
                         if (looked || burn != burner.burn().get()) {
                             return;
                         }
                         looked = true;
                         QFile file(other);
                         ASSERT_TRUE(file.open(QIODevice::Append));
                         file.write(QByteArray(3 * 2048, 'x'));
                         file.close();
                         center->pollDevices();
                         changedWhileBurning = watched->mediaSpaceUsed() != usedBefore;
                         listedWhileBurning =
                             watched->isValid() && DRDevice::devices().contains(watched);
                     });
    burnTo(dir.filePath(QStringLiteral("disc.bin")));
    EXPECT_TRUE(burner.isFinished());
    ASSERT_TRUE(looked);
    EXPECT_FALSE(changedWhileBurning);
    EXPECT_TRUE(listedWhileBurning);
    EXPECT_TRUE(burntest::waitUntil([&] {
        center->pollDevices();
        return watched->mediaSpaceUsed() != usedBefore;
    }));
    DRDevice::forgetPseudoDevice(watched);
}

TEST_F(BurnStdioTest, ReplacedBurnNoLongerCountsAsBurning)
{
    // Whoever watches the burn must not wait for statuses that never come.
    device = DRDevice::pseudoDevice(dir.filePath(QStringLiteral("disc.bin")));
    ASSERT_TRUE(device);
    burner.setDevice(device);
    EXPECT_FALSE(burner.isBurning());
    ASSERT_TRUE(burner.burnISOPath(iso));
    EXPECT_TRUE(burner.isBurning());
    burner.setDevice(device);
    EXPECT_FALSE(burner.isBurning());
    EXPECT_TRUE(burner.isDeviceFree());
}

TEST_F(BurnStdioTest, CancelEndsFailed)
{
    device = DRDevice::pseudoDevice(dir.filePath(QStringLiteral("disc.bin")));
    ASSERT_TRUE(device);
    burner.setDevice(device);
    ASSERT_TRUE(burner.burnISOPath(iso));
    burner.cancel();
    ASSERT_TRUE(burntest::waitUntil([this] { return !burner.isDeviceFree(); }));
    EXPECT_TRUE(burner.isFailed());
}

}  // namespace
