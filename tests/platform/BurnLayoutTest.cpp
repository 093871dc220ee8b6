// Which files can be laid out for burning.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "platform/DRBurn.h"

namespace {

TEST(BurnLayoutTest, OnlyNonEmptyReadableFilesCanBeLaidOut)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString image = dir.filePath(QStringLiteral("image.iso"));
    const QString empty = dir.filePath(QStringLiteral("empty.iso"));
    QFile imageFile(image);
    ASSERT_TRUE(imageFile.open(QIODevice::WriteOnly));
    imageFile.write(QByteArray(4096, 'i'));
    imageFile.close();
    QFile emptyFile(empty);
    ASSERT_TRUE(emptyFile.open(QIODevice::WriteOnly));
    emptyFile.close();

    const std::optional<DRBurn::Layout> layout = DRBurn::layoutForImageFile(image);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->size, 4096);
    EXPECT_EQ(layout->path, image);

    for (const QString& unusable :
         {QString(), dir.path(), empty, dir.filePath(QStringLiteral("missing.iso"))}) {
        EXPECT_FALSE(DRBurn::layoutForImageFile(unusable)) << unusable.toStdString();
    }
}

TEST(BurnLayoutTest, BurnNeedsADevice)
{
    EXPECT_EQ(DRBurn::burnForDevice(nullptr), nullptr);
}

}  // namespace
