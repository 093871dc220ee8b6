// The title count the failure texts print: an authored folder and its ISO
// image read back; anything else counts 0.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "TestSupport.h"
#include "TwoTitleDisc.h"
#include "production/DVDTitleCount.h"

namespace {

TEST(DVDTitleCountTest, countsTheTitlesOfAFolderAndItsImage)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    const QString work = dir.path();
    ASSERT_TRUE(twotitledisc::makeTwoTitleDisc(work));

    EXPECT_EQ(DVDTitleCount::titleCountAtPath(work + "/dvd"), 2);
    EXPECT_EQ(DVDTitleCount::titleCountAtPath(work + "/disc.iso"), 2);
}

TEST(DVDTitleCountTest, anythingUnreadableCountsZero)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    QFile random(dir.path() + "/random.iso");
    ASSERT_TRUE(random.open(QIODevice::WriteOnly));
    QByteArray bytes(64 * 1024, '\0');
    for (int i = 0; i < bytes.size(); ++i) {
        bytes[i] = char((i * 7919) >> 3);
    }
    random.write(bytes);
    random.close();
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/empty"));

    EXPECT_EQ(DVDTitleCount::titleCountAtPath(dir.path() + "/random.iso"), 0);
    EXPECT_EQ(DVDTitleCount::titleCountAtPath(dir.path() + "/empty"), 0);
    EXPECT_EQ(DVDTitleCount::titleCountAtPath(dir.path() + "/missing.iso"), 0);
    EXPECT_EQ(DVDTitleCount::titleCountAtPath(QString()), 0);
}

}  // namespace
