// The disc road with the real tools and the real burner on libburn's
// "stdio:" pseudo-drives, started from the burn settings sheet: the drive
// list, the burned bytes read back, the image and the temporary folder
// afterwards, the shown progress; a failing drive's "Burn Failed" sheet; an
// image step that leaves no image; a cancel during the start attempts.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <filesystem>

#include "../corvane/BurnTestSupport.h"
#include "BurnSheetRoadTest.h"
#include "DiscReadBack.h"
#include "FastBurnIntervals.h"
#include "RecordingServices.h"
#include "RoadRun.h"
#include "ScriptedDiscBurner.h"
#include "StandInTool.h"
#include "common/FileManagerExtention.h"
#include "corvane/DVDBurn.h"
#include "production/DVDBurnAdapter.h"
#include "shell/BurnDVDCtrl.h"
#include "shell/BurnSettingWindow.h"
#include "shell/MainWindowController.h"
#include "shell/core/BurnSettingRules.h"

using namespace discproject;

namespace {

BurnDVDWorkflow::BurnIntervals fastIntervals()
{
    return testsupport::fastBurnIntervals(2000);
}

class DiscRoad : public BurnSheetRoadTest {
protected:
    void SetUp() override
    {
        BurnSheetRoadTest::SetUp();
        installRoadProject(project, owner);
        targets = folders.root() + "/targets";
        ASSERT_TRUE(QDir().mkpath(targets));
        image = BurnDVDCtrl::currentBurnVideoIso();
        sheet.setDVDBurn(&burner);
        sheet.setBurnIntervals(fastIntervals());
        giveRoom(sheet);
    }
    void TearDown() override
    {
        for (const DRDevicePtr& device : std::as_const(devices)) {
            DRDevice::forgetPseudoDevice(device);
        }
        BurnSheetRoadTest::TearDown();
    }

    DRDevicePtr pseudoDrive(const QString& path)
    {
        DRDevicePtr device = DRDevice::pseudoDevice(path);
        EXPECT_TRUE(device) << qPrintable(path);
        if (device) {
            devices << device;
        }
        return device;
    }

    QStringList driveTitles() const
    {
        QStringList titles;
        for (int i = 0; i < sheet.devicePopButton()->count(); ++i) {
            titles << sheet.devicePopButton()->itemText(i);
        }
        return titles;
    }

    // Opens the sheet on the disc output with the drive titled `drive`.
    void openWithDrive(const DRDevicePtr& drive)
    {
        sheet.awakeDVDBurnSettingWindow();
        ASSERT_EQ(sheet.burnType(), BurnSettingRules::BurnDisc);
        const int index = driveTitles().indexOf(drive->displayName());
        ASSERT_GE(index, 0);
        sheet.devicePopButton()->setCurrentIndex(index);
        sheet.deviceChangedAction();
        ASSERT_EQ(burner.device(), drive);
        EXPECT_EQ(sheet.statusString(), BurnSettingRules::ReadyToBurn);
    }

    std::optional<ProductionResult> start(const QString& name)
    {
        sheet.dvdNameField()->setText(name);
        return testsupport::startAndWait(sheet);
    }

    testsupport::InstalledServices installed;
    FirstDiscProject project;
    QString targets;
    QString image;
    QList<DRDevicePtr> devices;
    DVDBurn burner;
    MainWindowController owner;
    BurnSettingWindow sheet{&owner, nullptr};
};

TEST_F(DiscRoad, SecondPseudoDriveChosenInTheSheetReceivesTheDisc)
{
    const QString first = targets + "/first.bin";
    const QString second = targets + "/second.bin";
    const DRDevicePtr firstDrive = pseudoDrive(first);
    const DRDevicePtr secondDrive = pseudoDrive(second);
    ASSERT_TRUE(firstDrive && secondDrive);

    // The list ends with the pseudo-drives, by name, in the order they came;
    // the first entry is chosen.
    sheet.awakeDVDBurnSettingWindow();
    const QStringList titles = driveTitles();
    ASSERT_GE(titles.size(), 2);
    EXPECT_EQ(titles.mid(titles.size() - 2), (QStringList{"stdio:" + first, "stdio:" + second}));
    EXPECT_EQ(sheet.devicePopButton()->currentIndex(), 0);
    ASSERT_NO_FATAL_FAILURE(openWithDrive(secondDrive));

    // The image goes away after the burn: keep a link to its bytes.
    const QString kept = folders.root() + "/kept.iso";
    QTimer catcher;
    QObject::connect(&catcher, &QTimer::timeout, [&] {
        std::error_code error;
        if (!QFileInfo::exists(kept) && QFileInfo(image).isFile()) {
            std::filesystem::create_hard_link(image.toStdString(), kept.toStdString(), error);
        }
    });
    catcher.start(2);
    // Wait a little before starting, so the window shows the burn's share.
    auto intervals = fastIntervals();
    intervals.startAttempt = 300;
    sheet.setBurnIntervals(intervals);

    const auto result = start("Road Disc");
    catcher.stop();
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->isSucceeded()) << qPrintable(result->toString());
    EXPECT_EQ(installed.alerts->messages(), QStringList{"DVD Burn Success"});

    const QByteArray iso = burntest::readFile(kept);
    ASSERT_GT(iso.size(), 0);
    EXPECT_TRUE(burntest::readFile(second).startsWith(iso));
    EXPECT_EQ(QFileInfo(first).size(), 0);
    const discreadback::ReadBack disc = discreadback::readBack(second);
    EXPECT_TRUE(disc.opened);
    EXPECT_EQ(disc.chapters.size(), 4);
    EXPECT_EQ(discreadback::volumeId(second), "Road Disc");

    EXPECT_FALSE(QFileInfo::exists(image));
    EXPECT_TRUE(tempDVDFolderGone());
    EXPECT_TRUE(installed.reveal->revealed.isEmpty());

    // The window's progress went through the folder share, then past the
    // image's, never back and never to 100 %.
    ASSERT_NE(sheet.dvdBurner(), nullptr);
    const QList<double> shown = sheet.dvdBurner()->shownValues();
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](double v) { return v > 0 && v < 0.5; }));
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](double v) { return v >= 0.55; }));
    EXPECT_LE(shown.constLast(), 0.99);
}

TEST_F(DiscRoad, FailingDriveOffersRetryAndCancelKeepsTheImageForALaterBurn)
{
    // /dev/full takes the burn and fails it, and still looks blank and large.
    const DRDevicePtr full = pseudoDrive("/dev/full");
    ASSERT_TRUE(full);
    ASSERT_NO_FATAL_FAILURE(openWithDrive(full));

    QList<bool> seen;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout,
                     [&] { installed.alerts->cancelFirstSheetOnceRetryIsOn(seen); });
    answer.start(2);
    auto intervals = fastIntervals();
    intervals.sheetPoll = 400;
    sheet.setBurnIntervals(intervals);
    const auto result = start("Kept Disc");
    answer.stop();

    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->isCancelled()) << qPrintable(result->toString());
    // The failure's sheet on the production window, then the cancel's note.
    EXPECT_EQ(installed.alerts->messages(), (QStringList{"Burn Failed", "DVD Make Cancelled"}));
    ASSERT_EQ(installed.alerts->alerts.size(), 2);
    EXPECT_EQ(installed.alerts->alerts[0].window, sheet.dvdBurner());
    EXPECT_EQ(seen, (QList<bool>{false, true}));
    EXPECT_TRUE(QFileInfo(image).isFile());
    EXPECT_EQ(installed.reveal->revealed, QStringList{image});
    EXPECT_TRUE(tempDVDFolderGone());

    // The image left behind burns later onto a good drive.
    const QString target = targets + "/later.bin";
    const DRDevicePtr later = pseudoDrive(target);
    ASSERT_TRUE(later);
    burner.setDevice(later);
    installed.alerts->alerts.clear();
    BurnDVDCtrl window;
    window.setBurnIntervals(fastIntervals());
    const ProductionResult again = testsupport::runRoad(
        window, [&] { window.burnCurrentIsoDVD(std::make_shared<DVDBurnAdapter>(&burner)); });
    EXPECT_TRUE(again.isSucceeded()) << qPrintable(again.toString());
    EXPECT_EQ(installed.alerts->messages(), QStringList{"DVD Burn Success"});
    EXPECT_TRUE(burntest::readFile(target).startsWith(burntest::readFile(image)));
}

TEST_F(DiscRoad, ImageStepWithoutImageShowsIsoErrorAndNeverAsksTheBurner)
{
    testsupport::StandInTool failingImage("mkisofs", "exit 1");
    ASSERT_TRUE(failingImage.isValid());
    auto scripted = std::make_shared<testsupport::ScriptedDiscBurner>();
    BurnDVDCtrl window;
    window.setBurnIntervals(fastIntervals());
    const ProductionResult result =
        testsupport::runRoad(window, [&] { window.burn(discModel(), scripted, "No Image"); });

    EXPECT_TRUE(result.isFailed());
    EXPECT_EQ(scripted->prepares(), 0);
    EXPECT_TRUE(scripted->attemptedPaths().isEmpty());
    ASSERT_EQ(installed.alerts->messages(), QStringList{"Iso Error"});
    const QString info = installed.alerts->alerts[0].content.informativeText;
    // The free space, then the temporary DVD folder's titles and files.
    EXPECT_TRUE(QRegularExpression("^info  disk:\\d+\\.\\d{6}M  titles 4 ").match(info).hasMatch())
        << qPrintable(info);
    EXPECT_TRUE(info.contains(" VIDEO_TS.IFO:")) << qPrintable(info);
    EXPECT_FALSE(QFileInfo::exists(image));
    EXPECT_TRUE(installed.reveal->revealed.isEmpty());
    EXPECT_TRUE(tempDVDFolderGone());
}

TEST_F(DiscRoad, CancelDuringTheStartAttemptsBurnsNothingAndRevealsTheImage)
{
    BurnDVDCtrl window;
    window.setBurnIntervals(fastIntervals());
    auto refusing = std::make_shared<testsupport::ScriptedDiscBurner>();
    refusing->setStartAnswers({false, false}, true);
    refusing->setStartHook([&window](int attempts, bool) {
        if (attempts == 2) {
            window.cancel();
        }
    });
    const ProductionResult result =
        testsupport::runRoad(window, [&] { window.burn(discModel(), refusing, "Stopped"); });

    EXPECT_TRUE(result.isCancelled()) << qPrintable(result.toString());
    EXPECT_EQ(refusing->attemptedPaths().size(), 2);
    EXPECT_EQ(refusing->startedBurns(), 0);
    EXPECT_EQ(installed.alerts->messages(), QStringList{"DVD Make Cancelled"});
    EXPECT_TRUE(QFileInfo(image).isFile());
    EXPECT_EQ(installed.reveal->revealed, QStringList{image});
    EXPECT_TRUE(tempDVDFolderGone());
}

}  // namespace
