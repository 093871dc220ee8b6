// Readers of files the program did not write refuse what is not a regular
// file (a named pipe, a link to an endless device, a folder) and anything
// past their size limit, without blocking and without reading it all.

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ArchiveTestTypes.h"
#include "TestSupport.h"
#include "platform/BoundedFile.h"
#include "platform/PropertyList.h"

namespace {

struct SpecialFiles {
    QTemporaryDir dir = testsupport::makeTempDir();
    QString pipe = dir.filePath("pipe.data");
    QString endless = dir.filePath("endless.data");
    QString folder = dir.filePath("folder.data");

    SpecialFiles()
    {
        EXPECT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        EXPECT_TRUE(QFile::link("/dev/zero", endless));
        EXPECT_TRUE(QDir().mkpath(folder));
    }
    QStringList all() const { return {pipe, endless, folder}; }
};

}  // namespace

TEST(BoundedFile, ReadsRegularFilesUpToTheLimit)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("ten.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0123456789");
    file.close();
    const QString link = dir.filePath("link.txt");
    ASSERT_TRUE(QFile::link(path, link));

    EXPECT_EQ(BoundedFile::read(path, 10).value_or("?"), "0123456789");
    EXPECT_EQ(BoundedFile::read(link, 10).value_or("?"), "0123456789") << "links are followed";
    QString error;
    EXPECT_FALSE(BoundedFile::read(path, 9, &error));
    EXPECT_EQ(error, "the file is too large");
    EXPECT_FALSE(BoundedFile::read(dir.filePath("missing"), 10, &error));
    EXPECT_EQ(error, "no such file");
}

TEST(BoundedFile, SpecialFilesAreRefusedWithoutBlocking)
{
    SpecialFiles special;
    for (const QString& path : special.all()) {
        SCOPED_TRACE(path.toStdString());
        QString error;
        EXPECT_FALSE(BoundedFile::isRegularFile(path, &error));
        EXPECT_EQ(error, "not a regular file");
        EXPECT_FALSE(BoundedFile::read(path, 1 << 20, &error));

        EXPECT_FALSE(PropertyList::read(path, &error));
        EXPECT_FALSE(PropertyList::readDictionary(path));
        auto node = std::make_shared<ArchNode>();
        node->setCount(3);
        EXPECT_FALSE(node->initWithContentsOfFile(path));
        EXPECT_EQ(node->count(), 3);
    }
}

TEST(BoundedFile, UndecodableNamesSaySo)
{
    // What Qt makes of a name whose bytes are not UTF-8.
    const QString name = QFile::decodeName(QByteArray("/tmp/caf\xe9-not-there.data"));
    ASSERT_TRUE(BoundedFile::hasUndecodableName(name));
    QString error;
    EXPECT_FALSE(BoundedFile::read(name, 10, &error));
    EXPECT_EQ(error, BoundedFile::invalidNameMessage());
    EXPECT_EQ(error, "the file name is not valid UTF-8; rename the file");
}
