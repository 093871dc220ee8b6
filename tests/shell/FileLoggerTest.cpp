// The log file, in child processes: openLogger takes over the process's
// standard streams, so each case runs it in a death-test child and reads the
// file afterwards.
//
// A death-test child runs the test from its start again. The folders are
// therefore made once, by the parent, and handed to the child through the
// environment (kChildFolders marks the child).

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cstdio>
#include <memory>

#include "RecordingServices.h"
#include "TestSupport.h"
#include "UserFolders.h"
#include "common/FileManagerExtention.h"
#include "shell/core/FileLogger.h"

namespace {

const char* const kChildFolders = "BRISANE_LOG_TEST_FOLDERS";

class FileLoggerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        if (qEnvironmentVariableIsSet(kChildFolders)) {
            return;  // a child: the parent's folders are in the environment
        }
        folders = std::make_unique<testsupport::UserFolders>();
        ASSERT_TRUE(folders->isValid());
        qputenv(kChildFolders, QFile::encodeName(folders->root()));
    }
    void TearDown() override
    {
        if (folders) {
            qunsetenv(kChildFolders);
        }
    }

    static QString logPath() { return FileLogger::share().loggerPath(); }
    static QString workFolder() { return qEnvironmentVariable(kChildFolders) + "/work"; }

    static QStringList logLines()
    {
        QFile file(logPath());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    // The text of the diagnostic lines, without their time and process.
    static QStringList diagnosticTexts()
    {
        static const QRegularExpression form(
            "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\S+\\[\\d+:\\d+\\] (.*)$");
        QStringList texts;
        for (const QString& line : logLines()) {
            const auto match = form.match(line);
            if (match.hasMatch()) {
                texts << match.captured(1);
            }
        }
        return texts;
    }

    std::unique_ptr<testsupport::UserFolders> folders;
};

bool writeBytes(const QString& path, qint64 size, char fill)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, fill)) == size;
}

TEST_F(FileLoggerTest, aMissingLogStartsANewFileAndEveryStreamLandsInIt)
{
    ASSERT_EQ(logPath(), FileManagerExtention::applicationSupportPath() + "/app.file.log");
    ASSERT_FALSE(QFileInfo::exists(logPath()));
    // The first size line goes to the stderr the process started with.
    EXPECT_EXIT(
        {
            FileLogger::share().openLogger();
            qWarning("a warning from %s", "qWarning");
            std::fprintf(stderr, "plain stderr\n");
            std::printf("plain stdout\n");
            std::fflush(stdout);
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "disk:0\\.000000 M");

    const QStringList texts = diagnosticTexts();
    ASSERT_GE(texts.size(), 4) << logLines().join('\n').toStdString();
    EXPECT_EQ(texts.at(0), "1 2");
    EXPECT_TRUE(QRegularExpression("^disk:\\d+\\.\\d{6} M$").match(texts.at(1)).hasMatch());
    EXPECT_TRUE(texts.at(2).startsWith("SystemVersion "));
    EXPECT_EQ(texts.at(3), "a warning from qWarning");
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains("plain stderr"));
    EXPECT_TRUE(lines.contains("plain stdout"));
    EXPECT_FALSE(lines.join('\n').contains("disk:0.000000 M")) << "written before the redirect";

    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(logPath()), &st), 0);
    EXPECT_EQ(st.st_mode & 0600, 0600u);
}

TEST_F(FileLoggerTest, fiveMegabytesAreKeptOneByteMoreIsReplaced)
{
    struct Case {
        qint64 size;
        bool kept;
    };
    const Case cases[] = {{FileLogger::maxLogBytes, true}, {FileLogger::maxLogBytes + 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        if (folders) {
            ASSERT_TRUE(writeBytes(logPath(), c.size, 'o'));
        }
        EXPECT_EXIT(
            {
                FileLogger::share().openLogger();
                qWarning("after the launch");
                _exit(0);
            },
            ::testing::ExitedWithCode(0),
            QString::asprintf("disk:%f M", double(c.size) / 1024 / 1024)
                .replace(".", "\\.")
                .toStdString());
        QFile file(logPath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.startsWith(QByteArray(c.size, 'o')), c.kept);
        EXPECT_EQ(bytes.size() > c.size, c.kept);
        EXPECT_EQ(bytes.contains(QByteArray(64, 'o')), c.kept);
        EXPECT_TRUE(bytes.contains("] after the launch\n"));
    }
}

// A stream dvdauthor and spumux accept: one second of PAL DVD video.
void makeToolInputs(const QString& work)
{
    ASSERT_TRUE(QDir().mkpath(work));
    ASSERT_TRUE(testsupport::generateMedia(
        work + "/title.mpg",
        {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25", "-f", "lavfi", "-i",
         "anullsrc=r=48000:cl=stereo", "-t", "1", "-target", "pal-dvd", "-b:v", "1500k"}));
    QImage picture(64, 32, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter(&picture).fillRect(8, 8, 32, 12, Qt::white);
    ASSERT_TRUE(picture.save(work + "/sub.png"));
    QFile xml(work + "/sub.xml");
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly));
    xml.write(
        "<subpictures><stream><spu start=\"00:00:00.00\" image=\"sub.png\" "
        "force=\"yes\"/></stream></subpictures>\n");
}

DVDToolTask::Outcome runTool(const QString& tool, const QStringList& arguments, const QString& work,
                             const QString& input = {}, const QString& output = {})
{
    DVDToolTask task;
    task.setLaunchPath(QStandardPaths::findExecutable(tool));
    task.setArguments(arguments);
    task.setCurrentDirectoryPath(work);
    QProcessEnvironment environment;
    environment.insert("VIDEO_FORMAT", "PAL");
    task.setEnvironment(environment);
    task.setStandardInputFile(input);
    task.setStandardOutputFile(output);
    return task.launchAndWait();
}

TEST_F(FileLoggerTest, everyToolRunLeavesItsNameAndStatus)
{
    for (const char* tool : {"dvdauthor", "spumux", "mkisofs", "sh"}) {
        ASSERT_FALSE(QStandardPaths::findExecutable(tool).isEmpty()) << tool << " is needed";
    }
    if (folders) {
        makeToolInputs(workFolder());
    }
    EXPECT_EXIT(
        {
            FileLogger::share().openLogger();
            const QString work = workFolder();
            runTool("spumux", {"-m", "dvd", "sub.xml"}, work, work + "/title.mpg",
                    work + "/menu.mpg");
            runTool("dvdauthor", {"-o", "dvd", "-t", "menu.mpg"}, work);
            runTool("mkisofs", {"-quiet", "-o", "disc.iso", "dvd"}, work);
            runTool("dvdauthor", {"-o", "dvd2", "-x", "missing.xml"}, work);
            runTool("sh", {"-c", "kill -SEGV $$"}, work);
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");

    QStringList runs;
    for (const QString& text : diagnosticTexts()) {
        if (text.startsWith("task ")) {
            runs << text;
        }
    }
    EXPECT_EQ(runs, (QStringList{
                        "task name spumux (null)", "task exit 0 1",     //
                        "task name dvdauthor (null)", "task exit 0 1",  //
                        "task name mkisofs (null)", "task exit 0 1",    //
                        "task name dvdauthor (null)", "task exit 1 1",  // no such file
                        "task name sh (null)", "task exit 11 2",        // killed by SIGSEGV
                    }))
        << logLines().join('\n').toStdString();
    EXPECT_TRUE(QFileInfo::exists(workFolder() + "/disc.iso"));
}

TEST_F(FileLoggerTest, showLoggerFileRevealsTheLog)
{
    testsupport::InstalledServices services;
    FileLogger::share().showLoggerFile();
    EXPECT_EQ(services.reveal->revealed, QStringList{logPath()});
}

}  // namespace
