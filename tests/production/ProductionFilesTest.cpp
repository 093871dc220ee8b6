// What production may clear from an output path, and moving its results.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "TestSupport.h"
#include "production/ProductionFiles.h"

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(ProductionFiles, OnlyNothingAnEmptyFileOrAnEmptyFolderIsAPlaceholder)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString root = dir.path();
    ASSERT_TRUE(writeFile(root + "/empty.dvdmedia", {}));
    ASSERT_TRUE(writeFile(root + "/movie.iso", "data"));
    ASSERT_TRUE(QDir().mkpath(root + "/empty-folder"));
    ASSERT_TRUE(QDir().mkpath(root + "/full-folder/VIDEO_TS"));
    ASSERT_TRUE(QDir().mkpath(root + "/hidden-folder"));
    ASSERT_TRUE(writeFile(root + "/hidden-folder/.keep", {}));
    ASSERT_TRUE(QDir().mkpath(root + "/linked"));
    ASSERT_TRUE(QFile::link(root + "/linked", root + "/link"));
    const struct {
        const char* name;
        bool placeholder;
    } cases[] = {
        {"missing", true},    {"empty.dvdmedia", true}, {"empty-folder", true},
        {"movie.iso", false}, {"full-folder", false},   {"hidden-folder", false},
        {"link", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = root + "/" + c.name;
        const bool existed = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
        EXPECT_EQ(ProductionFiles::isPlaceholder(path), c.placeholder);
        EXPECT_EQ(ProductionFiles::removePlaceholder(path), c.placeholder);
        EXPECT_EQ(QFileInfo::exists(path) || QFileInfo(path).isSymLink(),
                  existed && !c.placeholder);
    }
    EXPECT_TRUE(QFileInfo::exists(root + "/full-folder/VIDEO_TS"));
    EXPECT_TRUE(QFileInfo::exists(root + "/linked"));  // a link is never followed
}

TEST(ProductionFiles, MoveNeverReplacesAndKeepsTheTree)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString root = dir.path();
    ASSERT_TRUE(QDir().mkpath(root + "/dvd.dvdmedia/VIDEO_TS"));
    ASSERT_TRUE(QDir().mkpath(root + "/dvd.dvdmedia/AUDIO_TS"));
    ASSERT_TRUE(writeFile(root + "/dvd.dvdmedia/VIDEO_TS/VIDEO_TS.IFO", "ifo"));
    ASSERT_TRUE(writeFile(root + "/taken", "mine"));

    QString error;
    EXPECT_FALSE(ProductionFiles::moveItem(root + "/dvd.dvdmedia", root + "/taken", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ProductionFiles::moveItem(root + "/nothing", root + "/out", &error));

    // Into a folder that does not exist yet.
    ASSERT_TRUE(ProductionFiles::moveItem(root + "/dvd.dvdmedia", root + "/out/My Disc", &error))
        << qPrintable(error);
    EXPECT_EQ(ProductionFiles::entryNames(root + "/out/My Disc"),
              (QStringList{"AUDIO_TS", "VIDEO_TS"}));
    EXPECT_FALSE(QFileInfo::exists(root + "/dvd.dvdmedia"));
    QFile moved(root + "/out/My Disc/VIDEO_TS/VIDEO_TS.IFO");
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), "ifo");

    ProductionFiles::removeItem(root + "/out");
    ProductionFiles::removeItem(root + "/missing");
    EXPECT_FALSE(QFileInfo::exists(root + "/out"));
}

}  // namespace
