// The program's folders: temporary files, the per-user temporary root and
// its lock, folder creation, numbered names, and the user folders following
// the environment.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "UserFolders.h"
#include "common/FileManagerExtention.h"

namespace {

bool writeFile(const QString& path, const QByteArray& bytes = "x")
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString uid()
{
    return QString::number(getuid());
}

class FileManagerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folders.isValid()); }

    testsupport::UserFolders folders;
};

TEST_F(FileManagerTest, createDirectoryLeavesAnythingThatExistsAlone)
{
    const QString file = folders.root() + "/taken";
    ASSERT_TRUE(writeFile(file, "keep"));
    EXPECT_FALSE(FileManagerExtention::createDirectoryAtPathIfCan(file));
    QFile kept(file);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep");

    // A link to nowhere is something too: no folder appears at its target.
    const QString link = folders.root() + "/dangling";
    ASSERT_TRUE(QFile::link(folders.root() + "/nowhere", link));
    EXPECT_FALSE(FileManagerExtention::createDirectoryAtPathIfCan(link));
    EXPECT_FALSE(QFileInfo::exists(folders.root() + "/nowhere"));

    const QString nested = folders.root() + "/a/b/c";
    EXPECT_TRUE(FileManagerExtention::createDirectoryAtPathIfCan(nested));
    EXPECT_TRUE(FileManagerExtention::isDirectoryAtPath(nested));
    EXPECT_TRUE(FileManagerExtention::createDirectoryAtPathIfCan(nested));
    EXPECT_FALSE(FileManagerExtention::createDirectoryAtPathIfCan(QString()));
}

TEST_F(FileManagerTest, tempFilesAreDistinctEmptyAndKeepTheirExtension)
{
    const QString first = FileManagerExtention::tempFilePath("TmpDVDPath---Key", "dvdmedia");
    const QString second = FileManagerExtention::tempFilePath("TmpDVDPath---Key", "dvdmedia");
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_NE(first, second);
    const QRegularExpression name("^[A-Za-z0-9]{8}\\.dvdmedia$");
    for (const QString& path : {first, second}) {
        SCOPED_TRACE(path.toStdString());
        const QFileInfo info(path);
        EXPECT_TRUE(info.isFile());
        EXPECT_EQ(info.size(), 0);
        EXPECT_EQ(info.absolutePath(), FileManagerExtention::tempFileDirectory("TmpDVDPath---Key"));
        EXPECT_TRUE(name.match(info.fileName()).hasMatch()) << info.fileName().toStdString();
        // mkstemps alone draws six; all eight are drawn, never left as 'X'.
        EXPECT_FALSE(info.fileName().startsWith("XX"));
    }

    // The root is this user's alone.
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(FileManagerExtention::tempUsedFileDirectory()), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, getuid());
}

TEST_F(FileManagerTest, tempFilePathAnswersEmptyForATemplateOverTheLimit)
{
    // 9 folders of 120 two-byte characters: under 2047 characters, over 2047
    // bytes in UTF-8.
    QStringList parts;
    for (int i = 0; i < 9; ++i) {
        parts << QString(120, QChar(0x00e9));
    }
    const QString name = parts.join('/');
    const QString longTemplate = FileManagerExtention::tempFileDirectory(name) + "/XXXXXXXX.mov";
    ASSERT_LT(longTemplate.size(), 2047);
    ASSERT_GT(longTemplate.toUtf8().size(), 2047);
    EXPECT_TRUE(FileManagerExtention::tempFilePath(name, "mov").isEmpty());

    // A file that cannot be made (its folder is a file) gives no path either.
    ASSERT_FALSE(FileManagerExtention::tempFilePath("x", "txt").isEmpty());
    ASSERT_TRUE(writeFile(FileManagerExtention::tempFileDirectory("blocked")));
    EXPECT_TRUE(FileManagerExtention::tempFilePath("blocked", "txt").isEmpty());
}

TEST_F(FileManagerTest, aPlantedTemporaryRootIsNeitherUsedNorFollowed)
{
    const QString elsewhere = folders.root() + "/elsewhere";
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(writeFile(elsewhere + "/precious"));
    ASSERT_TRUE(QFile::link(elsewhere, FileManagerExtention::tempUsedFileDirectory()));

    EXPECT_TRUE(FileManagerExtention::tempFilePath("temp-photo", "dir").isEmpty());
    EXPECT_FALSE(QFileInfo::exists(elsewhere + "/temp-photo"));

    FileManagerExtention::removeTempFiles();
    EXPECT_FALSE(QFileInfo(FileManagerExtention::tempUsedFileDirectory()).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(elsewhere + "/precious"));
}

TEST_F(FileManagerTest, removingTemporaryFolders)
{
    const QString root = FileManagerExtention::tempUsedFileDirectory();
    ASSERT_FALSE(QFileInfo::exists(root));
    FileManagerExtention::removeTempFiles();
    FileManagerExtention::removeTempFile("missing");
    EXPECT_FALSE(QFileInfo::exists(root));

    const QString photo = FileManagerExtention::tempFilePath("temp-photo", "dir");
    const QString subtitle = FileManagerExtention::tempFilePath("open-Subtitle-Path", "srt");
    ASSERT_TRUE(QFileInfo::exists(photo));
    FileManagerExtention::removeTempFile("temp-photo");
    EXPECT_FALSE(QFileInfo::exists(FileManagerExtention::tempFileDirectory("temp-photo")));
    EXPECT_TRUE(QFileInfo::exists(subtitle));
    FileManagerExtention::removeTempFiles();
    EXPECT_FALSE(QFileInfo::exists(root));
}

TEST_F(FileManagerTest, numberedNames)
{
    const QString dir = folders.root() + "/out";
    ASSERT_TRUE(QDir().mkpath(dir));
    EXPECT_EQ(FileManagerExtention::fullPathWithNumberIncreaseIfExist(dir + "/b"), dir + "/b.mov");
    ASSERT_TRUE(writeFile(dir + "/b.mov"));
    EXPECT_EQ(FileManagerExtention::fullPathWithNumberIncreaseIfExist(dir + "/b"), dir + "/b1.mov");
    ASSERT_TRUE(writeFile(dir + "/b1.mov"));
    EXPECT_EQ(FileManagerExtention::fullPathWithNumberIncreaseIfExist(dir + "/b"), dir + "/b2.mov");

    EXPECT_EQ(FileManagerExtention::fullPathWithNumberIncreaseIfExist(dir + "/clip.mpg"),
              dir + "/clip.mpg");
    ASSERT_TRUE(QDir().mkpath(dir + "/clip.mpg"));
    ASSERT_TRUE(QFile::link(dir + "/nowhere", dir + "/clip1.mpg"));
    EXPECT_EQ(FileManagerExtention::fullPathWithNumberIncreaseIfExist(dir + "/clip.mpg"),
              dir + "/clip2.mpg");
    // Only the last extension counts; a dotted folder is no extension.
    EXPECT_EQ(FileManagerExtention::fullPathWithNumberIncreaseIfExist(dir + "/a.tar.gz"),
              dir + "/a.tar.gz");
    ASSERT_TRUE(QDir().mkpath(dir + "/v.d"));
    EXPECT_EQ(FileManagerExtention::fullPathWithNumberIncreaseIfExist(dir + "/v.d/b"),
              dir + "/v.d/b.mov");
}

TEST_F(FileManagerTest, pathsFollowTheEnvironment)
{
    const QString id = FileManagerExtention::bundleIdentifier();
    EXPECT_EQ(id, "org.brisane." + QCoreApplication::applicationName());

    EXPECT_EQ(FileManagerExtention::tempUsedFileDirectory(),
              folders.tmp() + "/" + id + "-" + uid());
    EXPECT_EQ(FileManagerExtention::tempFileDirectory("temp-photo"),
              folders.tmp() + "/" + id + "-" + uid() + "/temp-photo");
    EXPECT_EQ(FileManagerExtention::applicationSupportPath(), folders.dataHome() + "/" + id);
    EXPECT_FALSE(QFileInfo::exists(FileManagerExtention::applicationSupportPath()));

    const QString videos = FileManagerExtention::defaultOutputVideoPath();
    EXPECT_EQ(videos.toStdString(),
              QDir(folders.home() + "/Videos/" + id).canonicalPath().toStdString());
    EXPECT_TRUE(QFileInfo(videos).isDir());
    const QString music = FileManagerExtention::defaultOutputMusicPath();
    EXPECT_EQ(music.toStdString(),
              QDir(folders.home() + "/Music/" + id).canonicalPath().toStdString());
    const QString pictures = FileManagerExtention::defaultOutputScreenshotPath();
    EXPECT_EQ(pictures.toStdString(),
              QDir(folders.home() + "/Pictures/" + id).canonicalPath().toStdString());
    EXPECT_EQ(FileManagerExtention::defaultOutputPath(), videos);
    EXPECT_EQ(FileManagerExtention::defaultSaveDocumentPath(), videos);
    EXPECT_EQ(FileManagerExtention::defaultRecordPath(), videos + "/RecordWavePath.mov");
    EXPECT_EQ(FileManagerExtention::projectPath(), videos + "/project");
    EXPECT_TRUE(QFileInfo(videos + "/project").isDir());
    EXPECT_EQ(FileManagerExtention::libraryPath(), videos + "/library");

    // The user's own video folder, reached through a link, resolved.
    const QString films = folders.root() + "/disk/Filme";
    ASSERT_TRUE(QDir().mkpath(films));
    ASSERT_TRUE(QFile::link(films, folders.home() + "/Filme"));
    ASSERT_TRUE(
        writeFile(folders.configHome() + "/user-dirs.dirs", "XDG_VIDEOS_DIR=\"$HOME/Filme\"\n"));
    EXPECT_EQ(FileManagerExtention::defaultOutputVideoPath().toStdString(),
              (QDir(films).canonicalPath() + "/" + id).toStdString());
    EXPECT_TRUE(FileManagerExtention::isSymbolicLinkFileAtPath(folders.home() + "/Filme"));
    EXPECT_FALSE(FileManagerExtention::isSymbolicLinkFileAtPath(films));
}

TEST_F(FileManagerTest, prepareForCreateFilePathClearsThePlace)
{
    const QString target = folders.root() + "/new/place/out.iso";
    FileManagerExtention::prepareForCreateFilePath(target);
    EXPECT_TRUE(QFileInfo(folders.root() + "/new/place").isDir());
    ASSERT_TRUE(QDir().mkpath(target + "/inner"));
    FileManagerExtention::prepareForCreateFilePath(target);
    EXPECT_FALSE(QFileInfo::exists(target));
}

// ---------------------------------------------------------------------------
// Two instances: this test starts itself twice as child processes with a
// role. The first holds the shared root and keeps a work file there; the
// second starts while the first runs.

const char* const kRole = "BRISANE_TEMP_ROOT_ROLE";

void report(const QString& key, const QString& value)
{
    printf("@%s %s\n", qPrintable(key), qPrintable(value));
    fflush(stdout);
}

QString reported(const QByteArray& output, const QString& key)
{
    for (const QByteArray& line : output.split('\n')) {
        const QString text = QString::fromUtf8(line);
        if (text.startsWith("@" + key + " ")) {
            return text.mid(key.size() + 2).trimmed();
        }
    }
    return {};
}

void runFirstInstance()
{
    report("owns", FileManagerExtention::claimTempRoot() ? "yes" : "no");
    report("work", FileManagerExtention::tempFilePath("temp-photo", "dir"));
    char line[16];
    (void)!fgets(line, sizeof line, stdin);  // until the test lets it go
    FileManagerExtention::releaseTempRoot();
}

void runSecondInstance()
{
    report("owns", FileManagerExtention::claimTempRoot() ? "yes" : "no");
    report("root", FileManagerExtention::tempUsedFileDirectory());
    report("work", FileManagerExtention::tempFilePath("temp-photo", "dir"));
    FileManagerExtention::removeTempFiles();
    FileManagerExtention::tempFilePath("temp-photo", "dir");
    FileManagerExtention::releaseTempRoot();
}

class Instance {
public:
    explicit Instance(const QString& role)
    {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kRole, role);
        process.setProcessEnvironment(environment);
        process.setProgram(QCoreApplication::applicationFilePath());
        process.setArguments({"--gtest_filter=TempRootInstances.*"});
        process.start();
    }
    // Waits until the child has reported `key`.
    QString waitFor(const QString& key)
    {
        for (int i = 0; i < 300 && reported(output, key).isEmpty(); ++i) {
            process.waitForReadyRead(100);
            output += process.readAllStandardOutput();
        }
        return reported(output, key);
    }
    bool finish()
    {
        process.closeWriteChannel();
        const bool ended = process.waitForFinished(30000);
        output += process.readAllStandardOutput();
        return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QProcess process;
    QByteArray output;
};

TEST(TempRootInstances, secondInstanceLeavesTheFirstOnesWorkIntact)
{
    const QString role = qEnvironmentVariable(kRole);
    if (role == "first") {
        runFirstInstance();
        return;
    }
    if (role == "second") {
        runSecondInstance();
        return;
    }

    testsupport::UserFolders folders;
    ASSERT_TRUE(folders.isValid());
    const QString sharedRoot = FileManagerExtention::tempUsedFileDirectory();
    ASSERT_TRUE(QDir().mkpath(sharedRoot + "/left-over"));

    Instance first("first");
    EXPECT_EQ(first.waitFor("owns"), "yes");
    const QString firstWork = first.waitFor("work");
    ASSERT_TRUE(firstWork.startsWith(sharedRoot + "/temp-photo/")) << firstWork.toStdString();
    EXPECT_FALSE(QFileInfo::exists(sharedRoot + "/left-over")) << "the owner wipes at launch";

    Instance second("second");
    EXPECT_TRUE(second.finish()) << second.output.toStdString();
    EXPECT_EQ(reported(second.output, "owns"), "no");
    const QString secondRoot = reported(second.output, "root");
    EXPECT_TRUE(secondRoot.startsWith(sharedRoot + "-")) << secondRoot.toStdString();
    EXPECT_TRUE(reported(second.output, "work").startsWith(secondRoot + "/temp-photo/"));
    EXPECT_FALSE(QFileInfo::exists(secondRoot)) << "its own root goes at quit";
    EXPECT_TRUE(QFileInfo::exists(firstWork));

    EXPECT_TRUE(first.finish()) << first.output.toStdString();
    EXPECT_TRUE(QFileInfo::exists(firstWork)) << "the owner's root stays at quit";

    // With the first gone, the next launch owns the root again and wipes it.
    Instance third("second");
    EXPECT_TRUE(third.finish());
    EXPECT_EQ(reported(third.output, "owns"), "yes");
    EXPECT_FALSE(QFileInfo::exists(firstWork));
}

}  // namespace
