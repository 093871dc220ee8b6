// Readers of files the program did not write refuse what is not a regular
// file (a named pipe, a link to an endless device, a folder) and anything
// past their size limit, without blocking and without reading it all; a
// picture is also refused when it would be too large once decoded.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include "ArchiveTestTypes.h"
#include "TestSupport.h"
#include "platform/BoundedFile.h"
#include "platform/BoundedImage.h"
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

        EXPECT_TRUE(BoundedImage::read(path, &error).isNull());
        EXPECT_EQ(error, "not a regular file");
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

TEST(BoundedImage, ReadsPicturesWithinBothBounds)
{
    auto dir = testsupport::makeTempDir();
    // Stored landscape with the tag that turns it upright as a portrait.
    QImage stored(40, 30, QImage::Format_RGB32);
    stored.fill(Qt::red);
    const QString tagged = dir.filePath("tagged.jpg");
    QImageWriter writer(tagged, "jpg");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(stored));
    EXPECT_EQ(BoundedImage::read(tagged), QImage(tagged));
    EXPECT_EQ(BoundedImage::readUpright(tagged).size(), QSize(30, 40));
    // Named by content, not by extension; a preparation may scale or refuse.
    const QString png = dir.filePath("named.tiff");
    ASSERT_TRUE(stored.save(png, "PNG"));
    const auto half = [](QImageReader& reader, QString*) {
        reader.setScaledSize(reader.size() / 2);
        return true;
    };
    EXPECT_EQ(BoundedImage::read(png, half).size(), QSize(20, 15));
    QString error;
    const auto refuse = [](QImageReader&, QString* reason) {
        *reason = "refused";
        return false;
    };
    EXPECT_TRUE(BoundedImage::read(png, refuse, &error).isNull());
    EXPECT_EQ(error, "refused");

    struct Case {
        const char* name;
        QByteArray content;
        qint64 size;  // the file's length; its content's when 0
        QString error;
    };
    const Case cases[] = {
        // A few bytes that claim 8192 x 4097 pixels.
        {"picture bomb", "P6\n8192 4097\n255\n\x01\x02\x03", 0, "the picture is too large"},
        {"text", "not a picture at all", 0, "the file is not a picture that can be read"},
        {"past the file bound", "P6\n2 2\n255\n", BoundedImage::MaximumFileBytes + 1,
         "the file is too large"},
        {"missing", {}, -1, "no such file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(c.name);
        if (c.size >= 0) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_EQ(file.write(c.content), c.content.size());
            ASSERT_TRUE(c.size == 0 || file.resize(c.size));  // sparse: no room taken
        }
        error.clear();
        EXPECT_TRUE(BoundedImage::read(path, &error).isNull());
        EXPECT_TRUE(error.startsWith(c.error)) << qPrintable(error);
    }
}
