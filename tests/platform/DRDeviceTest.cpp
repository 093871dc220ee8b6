// Pseudo-drives: a file chosen as a writable disc, seen and watched like a drive.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "platform/DRDevice.h"
#include "platform/DRNotificationCenter.h"

namespace {

class DRDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        target = dir.filePath(QStringLiteral("disc.bin"));
        DRNotificationCenter* center = DRNotificationCenter::currentRunLoopCenter();
        QObject::connect(center, &DRNotificationCenter::deviceAppeared, &context,
                         [this](const DRDevicePtr& d) { appeared << d; });
        QObject::connect(center, &DRNotificationCenter::deviceDisappeared, &context,
                         [this](const DRDevicePtr& d) { disappeared << d; });
        QObject::connect(center, &DRNotificationCenter::deviceStatusChanged, &context,
                         [this](const DRDevicePtr& d) { changed << d; });
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QString target;
    QObject context;
    QList<DRDevicePtr> appeared, disappeared, changed;
};

TEST_F(DRDeviceTest, PseudoDriveLooksLikeABlankRewritableDisc)
{
    DRDevicePtr device = DRDevice::pseudoDevice(target);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->address(), QStringLiteral("stdio:") + target);
    EXPECT_TRUE(device->isPseudo());
    EXPECT_TRUE(device->isValid());
    EXPECT_TRUE(device->writesDVD());
    EXPECT_TRUE(device->mediaIsPresent());
    EXPECT_TRUE(device->mediaIsBlank());
    EXPECT_TRUE(device->mediaIsOverwritable());
    EXPECT_GT(device->mediaSpaceFree(), 0u);
    EXPECT_EQ(device->mediaSpaceUsed(), 0u);
    EXPECT_GE(device->mediaSpaceOverwritable(), device->mediaSpaceFree());
    EXPECT_TRUE(DRDevice::devices().contains(device));
    EXPECT_EQ(appeared, QList<DRDevicePtr>{device});
    // Choosing the same file again gives the same drive.
    EXPECT_EQ(DRDevice::pseudoDevice(target), device);
    DRDevice::forgetPseudoDevice(device);
}

TEST_F(DRDeviceTest, WrittenBytesCountAsUsedSectorsAfterTheNextLook)
{
    DRDevicePtr device = DRDevice::pseudoDevice(target);
    ASSERT_TRUE(device);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(5000, 'x'));
    file.close();
    DRNotificationCenter::currentRunLoopCenter()->pollDevices();
    EXPECT_EQ(device->mediaSpaceUsed(), 3u);  // 5000 bytes take three 2048-byte sectors
    EXPECT_TRUE(changed.contains(device));
    DRDevice::forgetPseudoDevice(device);
}

TEST_F(DRDeviceTest, ForgottenDriveDisappearsAndTurnsInvalid)
{
    DRDevicePtr device = DRDevice::pseudoDevice(target);
    ASSERT_TRUE(device);
    DRDevice::forgetPseudoDevice(device);
    EXPECT_FALSE(device->isValid());
    EXPECT_FALSE(device->mediaIsPresent());
    EXPECT_EQ(device->mediaSpaceFree(), 0u);
    EXPECT_FALSE(DRDevice::devices().contains(device));
    EXPECT_EQ(disappeared, QList<DRDevicePtr>{device});
    // Choosing it again makes a new drive object.
    DRDevicePtr again = DRDevice::pseudoDevice(target);
    ASSERT_TRUE(again);
    EXPECT_NE(again, device);
    DRDevice::forgetPseudoDevice(again);
}

TEST_F(DRDeviceTest, DriveWhoseFolderGoesAwayDisappearsOnTheNextLook)
{
    const QString folder = dir.filePath(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkpath(folder));
    DRDevicePtr device = DRDevice::pseudoDevice(folder + QStringLiteral("/disc.bin"));
    ASSERT_TRUE(device);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    DRNotificationCenter::currentRunLoopCenter()->pollDevices();
    EXPECT_FALSE(device->isValid());
    EXPECT_TRUE(disappeared.contains(device));
}

TEST_F(DRDeviceTest, UnusablePathGivesNoDrive)
{
    EXPECT_EQ(DRDevice::pseudoDevice(dir.filePath(QStringLiteral("missing/disc.bin"))), nullptr);
    EXPECT_TRUE(appeared.isEmpty());
}

}  // namespace
