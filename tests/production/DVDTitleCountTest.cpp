// The title count the failure texts print: an authored folder and its ISO
// image read back; anything else counts 0.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include "TestSupport.h"
#include "corvane/DVDToolTask.h"
#include "production/DVDTitleCount.h"

namespace {

// Runs a tool found on PATH to its end; true on exit status 0.
bool runTool(const QString& tool, const QStringList& arguments, const QString& folder)
{
    const QString path = QStandardPaths::findExecutable(tool);
    EXPECT_FALSE(path.isEmpty()) << tool.toStdString() << " is needed";
    DVDToolTask task;
    task.setLaunchPath(path);
    task.setArguments(arguments);
    task.setCurrentDirectoryPath(folder);
    QProcessEnvironment environment;
    environment.insert("VIDEO_FORMAT", "PAL");
    task.setEnvironment(environment);
    return task.launchAndWait() == DVDToolTask::Outcome::Succeeded;
}

TEST(DVDTitleCountTest, countsTheTitlesOfAFolderAndItsImage)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    const QString work = dir.path();
    for (const char* name : {"a.mpg", "b.mpg"}) {
        ASSERT_TRUE(testsupport::generateMedia(
            work + "/" + name,
            {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25", "-f", "lavfi", "-i",
             "anullsrc=r=48000:cl=stereo", "-t", "1", "-target", "pal-dvd", "-b:v", "1500k"}));
    }
    ASSERT_TRUE(runTool("dvdauthor", {"-o", "dvd", "-t", "a.mpg"}, work));
    ASSERT_TRUE(runTool("dvdauthor", {"-o", "dvd", "-t", "b.mpg"}, work));
    ASSERT_TRUE(runTool("dvdauthor", {"-o", "dvd", "-T"}, work));
    ASSERT_TRUE(runTool("mkisofs", {"-quiet", "-dvd-video", "-o", "disc.iso", "dvd"}, work));

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
