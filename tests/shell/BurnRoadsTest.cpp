// The folder, package and ISO roads started from the burn settings sheet
// with the real tools: fresh output names, read back with libdvdread, the
// reveals, the temporary DVD folder, the shown progress; cancels and
// failures leave nothing and reveal nothing.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "BurnSheetRoadTest.h"
#include "DiscReadBack.h"
#include "RecordingServices.h"
#include "RoadRun.h"
#include "StandInTool.h"
#include "common/FileManagerExtention.h"
#include "shell/BurnDVDCtrl.h"
#include "shell/BurnSettingWindow.h"
#include "shell/MainWindowController.h"
#include "shell/core/BurnSettingRules.h"

using namespace discproject;
using namespace discreadback;

namespace {

::testing::AssertionResult shownSoundly(const QList<double>& values)
{
    double last = 0.0;
    for (double v : values) {
        if (v < last || v > 0.99) {
            return ::testing::AssertionFailure() << "shown " << v << " after " << last;
        }
        last = v;
    }
    return ::testing::AssertionSuccess();
}

class BurnRoads : public BurnSheetRoadTest {
protected:
    void SetUp() override
    {
        BurnSheetRoadTest::SetUp();
        roadServices = installRoadProject(project, owner);
        out = folders.root() + "/out";
        ASSERT_TRUE(QDir().mkpath(out));
        giveRoom(sheet);
    }

    std::optional<ProductionResult> start(int kind, const QString& name)
    {
        sheet.awakeDVDBurnSettingWindow();
        sheet.setSelectedDir(out);
        sheet.setBurnType(kind);
        sheet.dvdNameField()->setText(name);
        return testsupport::startAndWait(sheet);
    }

    testsupport::InstalledServices installed;
    std::shared_ptr<RoadServices> roadServices;
    FirstDiscProject project;
    QString out;
    MainWindowController owner;
    BurnSettingWindow sheet{&owner, nullptr};
};

TEST_F(BurnRoads, EveryFileKindTwiceGivesFreshReadableOutputs)
{
    using namespace BurnSettingRules;
    const QList<std::pair<int, QStringList>> runs = {
        {BurnFolder, {"My Disc", "My Disc_1"}},
        {BurnPackage, {"My Disc.dvdmedia", "My Disc_1.dvdmedia"}},
        {BurnIso, {"My Disc.iso", "My Disc_1.iso"}},
    };
    for (int run = 0; run < 2; ++run) {
        for (const auto& [kind, names] : runs) {
            const auto result = start(kind, "");
            ASSERT_TRUE(result.has_value()) << kind;
            ASSERT_TRUE(result->isSucceeded()) << qPrintable(result->toString());
            const QString path = out + "/" + names[run];
            EXPECT_TRUE(readBack(path).opened) << qPrintable(path);
            ASSERT_FALSE(installed.reveal->revealed.isEmpty());
            EXPECT_EQ(installed.reveal->revealed.constLast(), path);
            ASSERT_NE(sheet.dvdBurner(), nullptr);
            EXPECT_TRUE(shownSoundly(sheet.dvdBurner()->shownValues()));
            EXPECT_TRUE(tempDVDFolderGone());
        }
    }
    EXPECT_EQ(installed.reveal->revealed.size(), 6);
    EXPECT_TRUE(installed.alerts->alerts.isEmpty());
}

TEST_F(BurnRoads, CancelInEitherIsoStepLeavesNothing)
{
    for (double at : {0.0, 0.8999}) {  // the folder step shows at most 0.882
        // An image step slow enough to be cancelled while it runs.
        std::optional<testsupport::StandInTool> slowImage;
        if (at > 0.0) {
            slowImage.emplace("mkisofs", "exec sleep 60");
            ASSERT_TRUE(slowImage->isValid());
        }
        BurnDVDCtrl window;
        window.setRefreshObserver([at](BurnDVDCtrl& shown) {
            if (shown.progress() > at) {
                shown.cancel();
            }
        });
        const QString iso = out + QString("/cancel-%1.iso").arg(at);
        const ProductionResult result =
            testsupport::runRoad(window, [&] { window.burn(discModel(), iso, "Cancelled"); });
        EXPECT_TRUE(result.isCancelled()) << at << qPrintable(result.toString());
        EXPECT_FALSE(QFileInfo::exists(iso)) << at;
        EXPECT_TRUE(shownSoundly(window.shownValues()));
        EXPECT_TRUE(tempDVDFolderGone());
    }
    EXPECT_TRUE(installed.reveal->revealed.isEmpty());
    // Each cancel says so.
    EXPECT_EQ(installed.alerts->messages(),
              (QStringList{"DVD Make Cancelled", "DVD Make Cancelled"}));
}

// Escape and the close box ask before they stop a run; the run goes on
// while the question is up, and a question left open goes with the window.
TEST_F(BurnRoads, EscapeAndTheCloseBoxAskBeforeTheyStopTheRun)
{
    struct Case {
        const char* name;
        int answer;  // to the first question
        bool slowImage;
        QStringList messages;
    };
    const QList<Case> cases = {
        {"stop",
         AlertService::AlternateReturn,
         true,
         {"Stop making the DVD?", "DVD Make Cancelled"}},
        {"continue",
         AlertService::DefaultReturn,
         false,
         {"Stop making the DVD?", "Stop making the DVD?"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        installed.alerts->alerts.clear();
        installed.alerts->sheets.clear();
        std::optional<testsupport::StandInTool> slowImage;
        if (c.slowImage) {
            slowImage.emplace("mkisofs", "exec sleep 60");
            ASSERT_TRUE(slowImage->isValid());
        }
        BurnDVDCtrl window;
        int step = 0;
        window.setRefreshObserver([&](BurnDVDCtrl& shown) {
            if (step == 0 && shown.progress() > 0.0) {
                QTest::keyClick(&shown, Qt::Key_Escape);
                EXPECT_TRUE(shown.isAskingToStop());
                EXPECT_FALSE(shown.isCancelled());
                EXPECT_TRUE(shown.isVisible());
                ++step;
            } else if (step == 1 && (!c.slowImage || shown.progress() > 0.8999)) {
                installed.alerts->endSheet(0, c.answer);
                EXPECT_EQ(shown.isCancelled(), c.answer == AlertService::AlternateReturn);
                ++step;
            } else if (step == 2 && !c.slowImage) {
                shown.close();  // the close box asks again; left unanswered
                EXPECT_TRUE(shown.isAskingToStop());
                EXPECT_TRUE(shown.isVisible());
                ++step;
            }
        });
        const QString iso = out + QString("/asked-%1.iso").arg(c.name);
        const ProductionResult result =
            testsupport::runRoad(window, [&] { window.burn(discModel(), iso, "Asked"); });
        EXPECT_EQ(result.isCancelled(), c.slowImage) << qPrintable(result.toString());
        EXPECT_EQ(QFileInfo::exists(iso), !c.slowImage);
        EXPECT_FALSE(window.isAskingToStop());
        EXPECT_EQ(installed.alerts->messages(), c.messages);
        ASSERT_FALSE(installed.alerts->sheets.isEmpty());
        EXPECT_FALSE(installed.alerts->sheets[0]->content().informativeText.isEmpty());
        EXPECT_EQ(installed.alerts->sheets[0]->content().defaultButton, "Continue");
        EXPECT_EQ(installed.alerts->sheets[0]->content().alternateButton, "Stop");
        EXPECT_TRUE(installed.alerts->sheets.constLast()->hasEnded());
    }
}

// Where no file manager can show the result, the user is told its path.
TEST_F(BurnRoads, AResultTheDesktopCannotShowIsNamed)
{
    installed.reveal->shows = false;
    const auto result = start(BurnSettingRules::BurnFolder, "Unshown");
    ASSERT_TRUE(result.has_value());
    ASSERT_TRUE(result->isSucceeded());
    ASSERT_EQ(installed.alerts->alerts.size(), 1);
    EXPECT_EQ(installed.alerts->alerts[0].content.message,
              "The result cannot be shown in a file manager.");
    EXPECT_EQ(installed.alerts->alerts[0].content.informativeText,
              "It is at:\n" + out + "/Unshown");
}

TEST_F(BurnRoads, DeletedSourceClipShowsOneFailureAndRevealsNothing)
{
    ASSERT_TRUE(QFile::remove(project.one));
    for (int kind : {BurnSettingRules::BurnFolder, BurnSettingRules::BurnIso}) {
        installed.alerts->alerts.clear();
        const auto result = start(kind, "Broken");
        ASSERT_TRUE(result.has_value());
        EXPECT_TRUE(result->isFailed());
        ASSERT_EQ(installed.alerts->alerts.size(), 1) << kind;
        EXPECT_EQ(installed.alerts->alerts[0].content.message, "DVD Make Failed");
        // Refused before anything is made, naming the file.
        const QString told = installed.alerts->alerts[0].content.informativeText;
        EXPECT_TRUE(told.contains("\"one.mp4\": the file is missing")) << qPrintable(told);
        EXPECT_TRUE(told.contains(project.one)) << qPrintable(told);
        EXPECT_TRUE(toolsRun().isEmpty()) << qPrintable(toolsRun().join(' '));
    }
    EXPECT_TRUE(installed.reveal->revealed.isEmpty());
    EXPECT_TRUE(QDir(out).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    EXPECT_TRUE(tempDVDFolderGone());
}

}  // namespace
