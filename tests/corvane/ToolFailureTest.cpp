// How each production step fails: a tool that is missing, crashes, ends with
// a non-zero status, is cancelled mid-run, or (spumux) writes nothing. Every
// failure is a false start and leaves no output that could pass for a result.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <thread>

#include "DVDLibraryTestFakes.h"
#include "TestSupport.h"
#include "ToolTestSupport.h"
#include "corvane/DVDFSMake.h"
#include "corvane/DVDImageMake.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDToolLocator.h"

using namespace tooltest;

namespace {

enum class Mode { Missing, Crash, Fail, Cancel, Silent };

struct Case {
    QString tool;
    Mode mode;
};

std::string caseName(const Case& c)
{
    static const char* modes[] = {"Missing", "Crash", "Fail", "Cancel", "Silent"};
    return c.tool.toStdString() + modes[int(c.mode)];
}

void PrintTo(const Case& c, std::ostream* os)
{
    *os << caseName(c);
}

class ToolFailure : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        work = dir.path() + "/work";
        ASSERT_TRUE(QDir().mkpath(work));
        auto first = element({100, 50, 200, 100});
        first->target = first;
        menu = page({first});
        disc->setFormat(1);
        disc->setMenus({menu});
        disc->setTitles({disctest::title({disctest::chapter(1.0)})});
        ASSERT_TRUE(writeFile(work + "/menu-temp-0.dvd", QByteArray(2000, 'm')));
        ASSERT_TRUE(writeFile(work + "/title0.dvd", QByteArray(2000, 't')));
    }

    // The step for the tool under test, prepared.
    std::unique_ptr<DVDToolStep> makeStep(const QString& tool)
    {
        if (tool == "dvdauthor") {
            auto step = std::make_unique<DVDFSMake>();
            step->dvd(disc, work);
            return step;
        }
        if (tool == "mkisofs") {
            auto step = std::make_unique<DVDImageMake>();
            step->volume("DISC", work);
            return step;
        }
        auto step = std::make_unique<DVDMenuMake>();
        step->makeMenu(menu, disc, work + "/menu0.dvd", work + "/menu-temp-0.dvd", work);
        return step;
    }

    // Runs the step; for Cancel, cancels it once the tool is running.
    bool run(const Case& c)
    {
        const std::map<Mode, Behaviour> behaviours = {{Mode::Crash, Behaviour::Crash},
                                                      {Mode::Fail, Behaviour::Fail},
                                                      {Mode::Cancel, Behaviour::Hang},
                                                      {Mode::Silent, Behaviour::Silent}};
        if (c.mode != Mode::Missing) {
            tools.install(c.tool, behaviours.at(c.mode));
        }
        auto step = makeStep(c.tool);
        if (c.mode != Mode::Cancel) {
            return step->start();
        }
        bool result = true;
        QElapsedTimer timer;
        timer.start();
        std::thread runner([&] { result = step->start(); });
        EXPECT_TRUE(tools.waitUntilStarted(c.tool));
        step->cancel();
        runner.join();
        EXPECT_LT(timer.elapsed(), 10000);  // the sleeping tool was stopped
        return result;
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    FakeTools tools{dir.path()};
    QString work;
    std::shared_ptr<ToolPage> menu;
    std::shared_ptr<DVDLibrary> disc = std::make_shared<DVDLibrary>();
};

TEST_P(ToolFailure, failsAndLeavesNoOutput)
{
    const Case c = GetParam();
    EXPECT_FALSE(run(c));
    EXPECT_EQ(tools.ran(c.tool), c.mode != Mode::Missing);

    // The inputs stay; outputs and temporary files are gone.
    QStringList expected{"menu-temp-0.dvd", "title0.dvd"};
    EXPECT_EQ(QDir(work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ToolFailure,
    ::testing::Values(Case{"dvdauthor", Mode::Missing}, Case{"dvdauthor", Mode::Crash},
                      Case{"dvdauthor", Mode::Fail}, Case{"dvdauthor", Mode::Cancel},
                      Case{"mkisofs", Mode::Missing}, Case{"mkisofs", Mode::Crash},
                      Case{"mkisofs", Mode::Fail}, Case{"mkisofs", Mode::Cancel},
                      Case{"spumux", Mode::Missing}, Case{"spumux", Mode::Crash},
                      Case{"spumux", Mode::Fail}, Case{"spumux", Mode::Cancel},
                      Case{"spumux", Mode::Silent}),
    [](const ::testing::TestParamInfo<Case>& info) { return caseName(info.param); });

TEST(ToolFailureSpumux, aMissingPictureStopsTheRunBeforeSpumux)
{
    // spumux itself would accept a description whose pictures are missing and
    // write a menu whose buttons do nothing; the pictures must exist first.
    QTemporaryDir dir = testsupport::makeTempDir();
    FakeTools tools(dir.path());
    tools.install("spumux", Behaviour::Succeed);
    const QString work = dir.path() + "/work";
    ASSERT_TRUE(QDir().mkpath(work));
    ASSERT_TRUE(writeFile(work + "/menu-temp-0.dvd", "stream"));
    // A folder where a picture should go: that picture cannot be written.
    ASSERT_TRUE(QDir().mkpath(work + "/menu_select.png/blocked"));
    auto disc = std::make_shared<DVDLibrary>();
    auto menu = page({element({10, 10, 50, 50})});
    disc->setMenus({menu});

    DVDMenuMake make;
    make.makeMenu(menu, disc, work + "/menu0.dvd", work + "/menu-temp-0.dvd", work);
    EXPECT_FALSE(make.start());
    EXPECT_FALSE(tools.ran("spumux"));
    EXPECT_FALSE(QFile::exists(work + "/menu0.dvd"));
    EXPECT_FALSE(QFile::exists(work + "/menu_highlight.png"));
}

TEST(ToolFailureSpumux, aMissingInputStreamFails)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    FakeTools tools(dir.path());
    tools.install("spumux", Behaviour::Succeed);
    auto disc = std::make_shared<DVDLibrary>();
    auto menu = page({});
    DVDMenuMake make;
    make.makeMenu(menu, disc, dir.path() + "/menu0.dvd", dir.path() + "/none.dvd", dir.path());
    EXPECT_FALSE(make.start());
    EXPECT_FALSE(QFile::exists(dir.path() + "/menu0.dvd"));
}

TEST(ToolFailureDvdauthor, anUnwritableDescriptionStopsTheRun)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    FakeTools tools(dir.path());
    tools.install("dvdauthor", Behaviour::Succeed);
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/author.xml/blocked"));
    DVDFSMake make;
    make.dvd(std::make_shared<DVDLibrary>(), dir.path());
    EXPECT_FALSE(make.start());
    EXPECT_FALSE(tools.ran("dvdauthor"));
}

}  // namespace

namespace {

// The same failures with the real tools, in the ways they really fail.
class ToolFailureReal : public ::testing::Test {
protected:
    void SetUp() override
    {
        DVDToolLocator::setToolFolder(QString());
        ASSERT_TRUE(dir.isValid());
        work = dir.path();
        disc->setFormat(1);
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QString work;
    std::shared_ptr<DVDLibrary> disc = std::make_shared<DVDLibrary>();
};

TEST_F(ToolFailureReal, mkisofsWithoutVideoTsLeavesNoImage)
{
    // mkisofs fails on a folder without VIDEO_TS and leaves an empty image.
    ASSERT_TRUE(QDir().mkpath(work + "/dvd.dvdmedia"));
    DVDImageMake make;
    make.volume("DISC", work);
    EXPECT_FALSE(make.start());
    EXPECT_FALSE(QFile::exists(work + "/dvd.iso"));
}

TEST_F(ToolFailureReal, mkisofsWithATooLongVolumeNameLeavesNoImage)
{
    ASSERT_TRUE(QDir().mkpath(work + "/dvd.dvdmedia/VIDEO_TS"));
    DVDImageMake make;
    make.volume(QString(40, 'V'), work);
    EXPECT_FALSE(make.start());
    EXPECT_FALSE(QFile::exists(work + "/dvd.iso"));
}

TEST_F(ToolFailureReal, spumuxOnAnEmptyStreamLeavesNoMenu)
{
    // spumux exits 0 on an empty input and writes nothing.
    ASSERT_TRUE(writeFile(work + "/menu-temp-0.dvd", QByteArray()));
    auto menu = page({});
    disc->setMenus({menu});
    DVDMenuMake make;
    make.makeMenu(menu, disc, work + "/menu0.dvd", work + "/menu-temp-0.dvd", work);
    EXPECT_FALSE(make.start());
    EXPECT_FALSE(QFile::exists(work + "/menu0.dvd"));
    EXPECT_EQ(QDir(work).entryList(QDir::Files), QStringList{"menu-temp-0.dvd"});
}

TEST_F(ToolFailureReal, dvdauthorOnAnEmptyStreamLeavesNoFolder)
{
    // dvdauthor fails (or, on some streams, crashes) on an empty title stream.
    ASSERT_TRUE(writeFile(work + "/title0.dvd", QByteArray()));
    disc->setNoMenu(true);
    disc->setTitles({disctest::title({disctest::chapter(1.0)})});
    DVDFSMake make;
    make.dvd(disc, work);
    EXPECT_FALSE(make.start());
    EXPECT_FALSE(QFile::exists(work + "/dvd.dvdmedia"));
    EXPECT_FALSE(QFile::exists(work + "/author.xml"));
}

}  // namespace
