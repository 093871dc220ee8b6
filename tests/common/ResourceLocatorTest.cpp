// Resources beside the executable (the build tree) or in the installed
// "<prefix>/share/brisane" beside "<prefix>/bin".

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "TestSupport.h"
#include "common/ResourceLocator.h"

namespace {

TEST(ResourceLocatorTest, BesideTheExecutableFirstThenTheInstalledShare)
{
    QTemporaryDir prefix = testsupport::makeTempDir();
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.filePath("bin");
    const QString share = prefix.filePath("share/brisane");
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(share + "/Slideshows.plugin"));
    QFile help(share + "/Brisane Help.pdf");
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    EXPECT_EQ(ResourceLocator::sharedResourceFolder(bin), share);

    struct Case {
        QString name, path;
    };
    const QList<Case> installed = {
        {"Slideshows.plugin", share + "/Slideshows.plugin"},
        {"Brisane Help.pdf", share + "/Brisane Help.pdf"},
        {"missing.pdf", bin + "/missing.pdf"},  // nowhere: the build tree's place
    };
    for (const Case& c : installed) {
        EXPECT_EQ(ResourceLocator::resourcePath(c.name, bin), c.path) << c.name.toStdString();
    }
    // A build tree: the copy beside the executable wins.
    ASSERT_TRUE(QDir().mkpath(bin + "/Slideshows.plugin"));
    EXPECT_EQ(ResourceLocator::resourcePath("Slideshows.plugin", bin), bin + "/Slideshows.plugin");
}

}  // namespace
