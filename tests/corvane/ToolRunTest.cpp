// What each tool receives: the exact arguments, working folder, environment,
// standard input and output, seen by fake tools that record them. Also the
// progress figures and what the steps leave in the work folder.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <thread>

#include "DVDLibraryTestFakes.h"
#include "TestSupport.h"
#include "ToolTestSupport.h"
#include "corvane/DVDFSMake.h"
#include "corvane/DVDImageMake.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDToolTask.h"

using namespace tooltest;

namespace {

class ToolRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        work = dir.path() + "/work";
        ASSERT_TRUE(QDir().mkpath(work));
        auto title = disctest::title({disctest::chapter(1.0)});
        auto first = element({100, 50, 200, 100});
        first->target = first;
        menu = page({first});
        disc->setFormat(1);
        disc->setMenus({menu});
        disc->setTitles({title});
    }

    QStringList environmentOf(const QString& tool) const { return tools.lines(tool, "env"); }

    QTemporaryDir dir = testsupport::makeTempDir();
    FakeTools tools{dir.path()};
    QString work;
    std::shared_ptr<ToolPage> menu;
    std::shared_ptr<DVDLibrary> disc = std::make_shared<DVDLibrary>();
};

TEST_F(ToolRun, libraryTaskHasOnlyTheVideoFormat)
{
    for (const auto& [format, expected] :
         {std::pair{1, "PAL"}, std::pair{0, "NTSC"}, std::pair{2, "NTSC"}}) {
        disc->setFormat(format);
        const auto task = disc->taskCurrentArguments("spumux", work, {"a", "b c"});
        EXPECT_EQ(task->launchPath(), tools.folder() + "/spumux");
        EXPECT_EQ(task->arguments(), (QStringList{"a", "b c"}));
        EXPECT_EQ(task->currentDirectoryPath(), work);
        ASSERT_TRUE(task->environment().has_value());
        EXPECT_EQ(task->environment()->toStringList(),
                  QStringList{QString("VIDEO_FORMAT=") + expected});
        EXPECT_EQ(task->outcome(), DVDToolTask::Outcome::NotRun);
    }
    EXPECT_FALSE(DVDImageMake::taskCurrentArguments("mkisofs", work, {})->environment());
}

TEST_F(ToolRun, dvdauthorGetsTheDescriptionAndOnlyTheVideoFormat)
{
    tools.install("dvdauthor", Behaviour::Succeed);
    ASSERT_TRUE(writeFile(work + "/title0.dvd", "stream"));
    DVDFSMake make;
    make.dvd(disc, work);
    ASSERT_TRUE(make.start());

    EXPECT_EQ(tools.lines("dvdauthor", "args"),
              (QStringList{"-x", "author.xml", "-o", "dvd.dvdmedia"}));
    EXPECT_EQ(tools.lines("dvdauthor", "cwd"), QStringList{QDir(work).canonicalPath()});
    EXPECT_EQ(environmentOf("dvdauthor"), QStringList{"VIDEO_FORMAT=PAL"});
    EXPECT_TRUE(tools.bytes("dvdauthor", "stdin").isEmpty());
    EXPECT_EQ(QString::fromUtf8(tools.bytes("dvdauthor", "author.xml")), disc->authorContent());
    EXPECT_FALSE(QFile::exists(work + "/author.xml"));
    EXPECT_TRUE(QFile::exists(work + "/dvd.dvdmedia/VIDEO_TS/VTS_01_1.VOB"));
    EXPECT_EQ(make.output(), work + "/dvd.dvdmedia/VIDEO_TS");
    EXPECT_EQ(make.task(), nullptr);
}

TEST_F(ToolRun, mkisofsInheritsTheEnvironment)
{
    tools.install("mkisofs", Behaviour::Succeed);
    qputenv("CORVANE_TOOL_RUN_MARK", "inherited");
    const struct {
        QString inputPath;
        QString expectedInput;
    } cases[] = {
        {QString(), work + "/dvd.dvdmedia"},
        {"", work + "/dvd.dvdmedia"},
        {dir.path() + "/Other Disc", dir.path() + "/Other Disc"},
    };
    for (const auto& c : cases) {
        DVDImageMake make;
        make.setInputPath(c.inputPath);
        make.volume("My DVD", work);
        ASSERT_TRUE(make.start());
        EXPECT_EQ(tools.lines("mkisofs", "args"),
                  (QStringList{"-dvd-video", "-V", "My DVD", "-o", "dvd.iso", c.expectedInput}));
        EXPECT_EQ(tools.lines("mkisofs", "cwd"), QStringList{QDir(work).canonicalPath()});
        EXPECT_TRUE(environmentOf("mkisofs").contains("CORVANE_TOOL_RUN_MARK=inherited"));
        EXPECT_TRUE(environmentOf("mkisofs").contains("PATH=" + qEnvironmentVariable("PATH")));
        EXPECT_EQ(QFile(work + "/dvd.iso").size(), 100);
    }
    qunsetenv("CORVANE_TOOL_RUN_MARK");
}

TEST_F(ToolRun, spumuxReadsTheMenuStreamAndWritesTheOutput)
{
    tools.install("spumux", Behaviour::Succeed, 1500);
    disc->setFormat(0);
    const QString input = work + "/menu-temp-0.dvd";
    const QString output = work + "/menu0.dvd";
    ASSERT_TRUE(writeFile(input, QByteArray(500, 'm')));
    ASSERT_TRUE(writeFile(output, "stale"));

    DVDMenuMake make;
    EXPECT_EQ(make.progress(), 0.0);
    make.makeMenu(menu, disc, output, input, work);
    ASSERT_TRUE(make.start());

    const QStringList args = tools.lines("spumux", "args");
    ASSERT_EQ(args.size(), 1);
    EXPECT_TRUE(
        QRegularExpression("^" + QRegularExpression::escape(work) + "/menu\\d+\\.\\d{6}\\.xml$")
            .match(args.first())
            .hasMatch())
        << qPrintable(args.first());
    EXPECT_EQ(tools.lines("spumux", "cwd"), QStringList{QDir(work).canonicalPath()});
    EXPECT_EQ(environmentOf("spumux"), QStringList{"VIDEO_FORMAT=NTSC"});
    EXPECT_EQ(tools.bytes("spumux", "stdin"), QByteArray(500, 'm'));
    EXPECT_EQ(QString::fromUtf8(tools.bytes("spumux", "control.xml")),
              DVDMenuMake::xmlConfigForMenu(menu, *disc));
    EXPECT_EQ(readFile(output), QByteArray(1500, '\0'));
    EXPECT_DOUBLE_EQ(make.progress(), 1500.0 / 1000.0);  // the input counts at least 1000 bytes

    // The three pictures were there for spumux, and are gone afterwards with
    // the description.
    for (const QString name : {"menu_highlight", "menu_select", "menu_image"}) {
        QImage picture;
        EXPECT_TRUE(picture.loadFromData(tools.bytes("spumux", name + ".png"), "png"));
        EXPECT_EQ(picture.size(), QSize(720, 480)) << qPrintable(name);
        EXPECT_FALSE(QFile::exists(work + "/" + name + ".png"));
    }
    EXPECT_FALSE(QFile::exists(args.first()));
    EXPECT_EQ(QDir(work).entryList(QDir::Files), (QStringList{"menu-temp-0.dvd", "menu0.dvd"}));
}

TEST_F(ToolRun, progressComparesFileSizes)
{
    // dvdauthor: VIDEO_TS bytes over the work folder's own files; what lies
    // in sub-folders counts for nothing.
    tools.install("dvdauthor", Behaviour::Succeed, 300);
    ASSERT_TRUE(writeFile(work + "/title0.dvd", QByteArray(400, 't')));
    ASSERT_TRUE(writeFile(work + "/menu0.dvd", QByteArray(200, 'm')));
    ASSERT_TRUE(QDir().mkpath(work + "/sub"));
    ASSERT_TRUE(writeFile(work + "/sub/big", QByteArray(5000, 'x')));
    DVDFSMake author;
    EXPECT_EQ(author.progress(), 0.0);
    author.dvd(disc, work);
    ASSERT_TRUE(author.start());
    EXPECT_EQ(author.totalSize(), 600);
    EXPECT_DOUBLE_EQ(author.progress(), 300.0 / 600.0);

    // mkisofs: the image over the input's VIDEO_TS files, free to pass 1.
    tools.install("mkisofs", Behaviour::Succeed, 3000);
    DVDImageMake image;
    EXPECT_EQ(image.progress(), 0.0);
    image.volume("DISC", work);
    ASSERT_TRUE(image.start());
    EXPECT_EQ(image.totalSize(), 300);
    EXPECT_DOUBLE_EQ(image.progress(), 10.0);
}

TEST_F(ToolRun, fileSizesOfFoldersAndFiles)
{
    ASSERT_TRUE(writeFile(work + "/a", QByteArray(7, 'a')));
    ASSERT_TRUE(writeFile(work + "/.hidden", QByteArray(3, 'h')));
    ASSERT_TRUE(QDir().mkpath(work + "/sub"));
    ASSERT_TRUE(writeFile(work + "/sub/b", QByteArray(50, 'b')));
    EXPECT_EQ(DVDToolStep::fileSizeForItem(work), 10);
    EXPECT_EQ(DVDToolStep::fileSizeForItem(QString()), 0);
    EXPECT_EQ(DVDToolStep::fileSizeForItem(work + "/none"), 0);
    EXPECT_EQ(DVDToolStep::fileSizeForFile(work + "/a"), 7);
    EXPECT_EQ(DVDToolStep::fileSizeForFile(work + "/none"), 0);
    EXPECT_EQ(DVDToolStep::fileSizeForFile(work), 0);
}

TEST_F(ToolRun, aStepRunsOnceAndNotAfterCancel)
{
    tools.install("mkisofs", Behaviour::Succeed);
    DVDImageMake unprepared;
    EXPECT_FALSE(unprepared.start());

    DVDImageMake cancelled;
    cancelled.volume("DISC", work);
    cancelled.cancel();
    EXPECT_FALSE(cancelled.start());
    EXPECT_FALSE(tools.ran("mkisofs"));

    DVDImageMake once;
    once.volume("DISC", work);
    EXPECT_TRUE(once.start());
    EXPECT_FALSE(once.start());
}

TEST_F(ToolRun, theRunningTaskIsVisibleFromAnotherThread)
{
    tools.install("dvdauthor", Behaviour::Hang);
    DVDFSMake make;
    make.dvd(disc, work);
    bool result = true;
    std::thread runner([&] { result = make.start(); });
    ASSERT_TRUE(tools.waitUntilStarted("dvdauthor"));
    const auto task = make.task();
    ASSERT_NE(task, nullptr);
    EXPECT_TRUE(task->isRunning());
    make.cancel();
    runner.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(task->outcome(), DVDToolTask::Outcome::Terminated);
    EXPECT_EQ(make.task(), nullptr);
}

}  // namespace
