// The burn settings sheet without production: the reset at each opening,
// the statuses of every output kind with a scripted burner and with the real
// burner's drive events, the name and free-space alerts, the size texts and
// the output paths.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "../model/DVDResourceTestFixture.h"
#include "RecordingServices.h"
#include "TestSupport.h"
#include "UserFolders.h"
#include "common/FileManagerExtention.h"
#include "corvane/DVDBurn.h"
#include "corvane/DVDBurnNotification.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "shell/BurnDVDCtrl.h"
#include "shell/BurnSettingWindow.h"
#include "shell/core/BurnSettingRules.h"
#include "shell/core/IBurnerState.h"

namespace {

using namespace BurnSettingRules;

struct ScriptedBurner : IBurnerState {
    QStringList names;
    int chosen = -1;
    bool present = false;
    bool blank = false;
    qint64 writable = 0;

    QStringList deviceNames() const override { return names; }
    void setDevice(int index) override { chosen = index; }
    bool hasDevice() const override { return chosen >= 0; }
    bool mediaIsPresent() const override { return present; }
    bool mediaIsBlank() const override { return blank; }
    bool mediaIsOverwritable() const override { return false; }
    qint64 mediaWritableSpace() const override { return writable; }
    quint32 mediaSpaceFree() const override { return quint32(writable / 2048); }
    quint32 mediaSpaceUsed() const override { return 0; }
    quint32 mediaSpaceOverwritable() const override { return 0; }
};

struct SheetServices : disctest::DiscServices {
    std::shared_ptr<DataResource> media = std::make_shared<DataResource>();
    std::shared_ptr<DataResource> dateResource() const override { return media; }
};

constexpr qint64 Estimate = 1'000'000'000;

class BurnSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folders.isValid());
        services->disc = std::make_shared<DVDResource>();
        sheet.setBurnerState(burner);
        sheet.setEstimateFunction([] { return Estimate; });
        sheet.setFreeSpaceFunction([this](const QString&) { return std::optional(freeSpace); });
    }

    // A page with one title holding a clip (the clip need not play).
    void addPlayableTitle()
    {
        auto page = std::make_shared<DVDPageData>();
        auto title = std::make_shared<DVDTitleData>();
        title->mediaDataArray().append(std::make_shared<MediaData>());
        page->titleDataArray().append(title);
        services->media->setDvdPageArray({page});
    }

    testsupport::UserFolders folders;
    testsupport::InstalledServices installed;
    std::shared_ptr<SheetServices> services = std::make_shared<SheetServices>();
    std::shared_ptr<ScriptedBurner> burner = std::make_shared<ScriptedBurner>();
    qint64 freeSpace = Estimate * 10;
    BurnSettingWindow sheet{nullptr, nullptr, services};
};

TEST_F(BurnSheet, ReopeningResetsNameFolderAndKind)
{
    addPlayableTitle();
    sheet.awakeDVDBurnSettingWindow();
    const QString defaultFolder = sheet.selectedDir();
    EXPECT_TRUE(QFileInfo(defaultFolder).isDir());
    EXPECT_EQ(sheet.dvdNameField()->text(), "DVD Name");
    EXPECT_EQ(sheet.burnType(), BurnDisc);

    sheet.dvdNameField()->setText("Holiday");
    sheet.setFolderChooser([this](QWidget*) { return folders.root(); });
    sheet.setBurnType(BurnIso);
    sheet.chooseFolderAction();
    EXPECT_EQ(sheet.selectedDir(), folders.root());
    EXPECT_TRUE(sheet.canBurn());

    sheet.awakeDVDBurnSettingWindow();
    EXPECT_EQ(sheet.dvdNameField()->text(), "DVD Name");
    EXPECT_EQ(sheet.selectedDir(), defaultFolder);
    EXPECT_EQ(sheet.burnType(), BurnDisc);
    EXPECT_TRUE(sheet.dvdOptionView()->isVisibleTo(&sheet));
    EXPECT_FALSE(sheet.chooseFolderView()->isVisibleTo(&sheet));
}

TEST_F(BurnSheet, DiscStatusesFollowTheBurnerInOrder)
{
    sheet.awakeDVDBurnSettingWindow();
    EXPECT_EQ(sheet.statusString(), NoMedia);  // no page at all
    addPlayableTitle();
    struct Case {
        QStringList names;
        bool present, blank;
        qint64 writable;
        QString status;
    };
    const QList<Case> cases = {
        {{}, true, true, Estimate, NoDevice},
        {{"Writer"}, false, false, 0, NoDisc},
        {{"Writer"}, true, false, Estimate, NotBlank},
        {{"Writer"}, true, true, Estimate - 1, NoSpace},
        {{"Writer"}, true, true, Estimate, ReadyToBurn},
    };
    for (const Case& c : cases) {
        *burner = ScriptedBurner{};
        burner->names = c.names;
        burner->present = c.present;
        burner->blank = c.blank;
        burner->writable = c.writable;
        sheet.awakeDVDBurnSettingWindow();
        EXPECT_EQ(sheet.statusString(), c.status) << qPrintable(c.names.join(','));
        EXPECT_EQ(sheet.canBurn(), c.status == ReadyToBurn);
        EXPECT_EQ(sheet.startButton()->isEnabled(), sheet.canBurn());
        EXPECT_EQ(sheet.statusColor(),
                  c.status == ReadyToBurn ? QColor(Qt::blue) : QColor(Qt::red));
    }
}

TEST_F(BurnSheet, EmptyPageIsStoppedAtTheSheet)
{
    services->media->setDvdPageArray({std::make_shared<DVDPageData>()});
    sheet.awakeDVDBurnSettingWindow();
    for (int kind : {BurnDisc, BurnFolder, BurnPackage, BurnIso}) {
        sheet.setBurnType(kind);
        EXPECT_EQ(sheet.statusString(), NoMedia) << kind;
        EXPECT_FALSE(sheet.canBurn());
    }
    EXPECT_FALSE(sheet.startBurnAction().has_value());
}

TEST_F(BurnSheet, DiscEventsRetestButTheDriveListWaitsForReopening)
{
    addPlayableTitle();
    burner->names = {"Writer"};
    sheet.awakeDVDBurnSettingWindow();
    EXPECT_EQ(sheet.statusString(), NoDisc);

    burner->present = burner->blank = true;
    burner->writable = Estimate * 2;
    sheet.deviceStatusDidChanged();
    EXPECT_EQ(sheet.statusString(), ReadyToBurn);

    burner->names << "Second Writer";
    sheet.devicesDidChanged();
    EXPECT_EQ(sheet.devicePopButton()->count(), 1);
    sheet.awakeDVDBurnSettingWindow();
    EXPECT_EQ(sheet.devicePopButton()->count(), 2);

    // With a file output chosen the events change nothing.
    sheet.setBurnType(BurnFolder);
    const QString status = sheet.statusString();
    burner->present = false;
    sheet.deviceStatusDidChanged();
    EXPECT_EQ(sheet.statusString(), status);
}

TEST_F(BurnSheet, RealDriveEventsRetestTheChosenPseudoDrive)
{
    // The main window's burner and drive watch, on pseudo-drives.
    DVDBurn dvdBurn;
    DVDBurnNotification watch;
    sheet.setDVDBurn(&dvdBurn);
    watch.setDelegate(&sheet);
    sheet.setEstimateFunction([] { return qint64(1000); });
    addPlayableTitle();
    const DRDevicePtr drive = DRDevice::pseudoDevice(folders.root() + "/disc.bin");
    ASSERT_TRUE(drive);
    sheet.awakeDVDBurnSettingWindow();
    const int count = sheet.devicePopButton()->count();
    ASSERT_GE(count, 1);
    EXPECT_EQ(sheet.devicePopButton()->itemText(count - 1), drive->displayName());
    sheet.devicePopButton()->setCurrentIndex(count - 1);
    sheet.deviceChangedAction();
    EXPECT_EQ(sheet.statusString(), ReadyToBurn);

    // The drive goes: its disc with it. Another one comes: the list waits.
    DRDevice::forgetPseudoDevice(drive);
    EXPECT_EQ(sheet.statusString(), NoDisc);
    EXPECT_FALSE(sheet.canBurn());
    const DRDevicePtr other = DRDevice::pseudoDevice(folders.root() + "/other.bin");
    ASSERT_TRUE(other);
    EXPECT_EQ(sheet.devicePopButton()->count(), count);
    sheet.awakeDVDBurnSettingWindow();
    EXPECT_EQ(sheet.devicePopButton()->itemText(sheet.devicePopButton()->count() - 1),
              other->displayName());
    DRDevice::forgetPseudoDevice(other);
}

TEST_F(BurnSheet, FileOutputNeedsAnExistingFolder)
{
    addPlayableTitle();
    sheet.awakeDVDBurnSettingWindow();
    sheet.setSelectedDir(folders.root() + "/missing");
    sheet.setBurnType(BurnFolder);
    EXPECT_EQ(sheet.statusString(), NoDirectory);
    EXPECT_FALSE(sheet.canBurn());
    sheet.setFolderChooser([](QWidget*) { return QString(); });  // cancelled panel
    sheet.chooseFolderAction();
    EXPECT_EQ(sheet.selectedDir(), folders.root() + "/missing");
}

TEST_F(BurnSheet, NamesOverThirtyOneBytesAreRefused)
{
    addPlayableTitle();
    sheet.awakeDVDBurnSettingWindow();
    sheet.setSelectedDir(folders.root());
    sheet.setBurnType(BurnFolder);
    const QString threeByte(16, QChar(0x20AC));  // 48 bytes
    for (const QString& name : {QString(32, 'a'), threeByte}) {
        installed.alerts->alerts.clear();
        sheet.dvdNameField()->setText(name);
        EXPECT_FALSE(sheet.startBurnAction().has_value());
        ASSERT_EQ(installed.alerts->alerts.size(), 1);
        EXPECT_EQ(installed.alerts->alerts[0].content.message,
                  "DVD Name is too long, the max length is 31 chars .");
        EXPECT_EQ(installed.alerts->alerts[0].content.informativeText,
                  QString("'%1' is too long").arg(name));
    }
    EXPECT_FALSE(isNameTooLong(QString(31, 'a')));
    EXPECT_EQ(discName(""), "My Disc");
}

TEST_F(BurnSheet, FreeSpaceOfTwoAndAHalfTimesTheEstimateAlerts)
{
    addPlayableTitle();
    sheet.awakeDVDBurnSettingWindow();
    sheet.setSelectedDir(folders.root());
    sheet.setBurnType(BurnFolder);
    sheet.dvdNameField()->setText(QString(31, 'a'));
    freeSpace = Estimate * 5 / 2;
    installed.alerts->defaultAnswer = AlertService::AlternateReturn;  // "Stop Burn"
    EXPECT_FALSE(sheet.startBurnAction().has_value());
    ASSERT_EQ(installed.alerts->alerts.size(), 1);
    const AlertContent& alert = installed.alerts->alerts[0].content;
    EXPECT_EQ(alert.message, "Free disk space is not enough.");
    EXPECT_EQ(alert.informativeText,
              "2.5 GB space is available on the disk.\n"
              "To continue, need 2.5 GB free hard space .");
    EXPECT_EQ(alert.defaultButton, "Continue Burn");
    EXPECT_EQ(alert.alternateButton, "Stop Burn");
    EXPECT_EQ(sheet.dvdBurner(), nullptr);  // nothing started, sheet kept

    EXPECT_EQ(neededSpace(Estimate), freeSpace);
    EXPECT_EQ(neededSpace(1), 2);  // truncated toward zero
}

TEST_F(BurnSheet, FreeSpaceIsMeasuredWhereTheRoadWrites)
{
    // A folder chosen under a file output stays in the sheet, hidden, when
    // the disc is chosen again; the disc road writes its image into the
    // video folder, so that is the folder measured.
    addPlayableTitle();
    burner->names = {"Writer"};
    burner->present = burner->blank = true;
    burner->writable = Estimate;
    const QString chosen = folders.root() + "/chosen";
    ASSERT_TRUE(QDir().mkpath(chosen));
    QStringList measured;
    sheet.setFreeSpaceFunction([&](const QString& path) {
        measured.append(path);
        return std::optional(path == chosen ? qint64(0) : Estimate * 10);
    });
    struct Case {
        int kind;
        QString measured;
        bool alerts;
    };
    const QList<Case> cases = {
        {BurnDisc, FileManagerExtention::defaultOutputVideoPath(), false},
        {BurnIso, chosen, true},
        {BurnFolder, chosen, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        sheet.awakeDVDBurnSettingWindow();
        sheet.setBurnType(BurnIso);
        sheet.setFolderChooser([&](QWidget*) { return chosen; });
        sheet.chooseFolderAction();
        sheet.setBurnType(c.kind);
        ASSERT_TRUE(sheet.canBurn());
        measured.clear();
        installed.alerts->alerts.clear();
        installed.alerts->defaultAnswer = AlertService::AlternateReturn;  // "Stop Burn"
        sheet.startBurnAction();
        ASSERT_FALSE(measured.isEmpty());
        EXPECT_EQ(measured.first(), c.measured);
        EXPECT_FALSE(measured.contains(c.kind == BurnDisc ? chosen : QString("-")));
        EXPECT_EQ(installed.alerts->messages().contains("Free disk space is not enough."),
                  c.alerts);
    }
}

TEST_F(BurnSheet, WrittenFoldersAreOnePerFileSystem)
{
    const QString tempRoot = folders.tmp();
    EXPECT_EQ(writtenFolders(BurnDisc, "/out", folders.home(), tempRoot),
              QStringList{folders.home()});  // one file system
    EXPECT_EQ(writtenFolders(BurnIso, folders.root(), folders.home(), tempRoot),
              QStringList{folders.root()});
    // /proc is another file system: both are measured.
    EXPECT_EQ(writtenFolders(BurnFolder, "/proc", folders.home(), tempRoot),
              (QStringList{"/proc", tempRoot}));
    EXPECT_EQ(writtenFolders(BurnDisc, folders.root(), "/proc", ""), QStringList{"/proc"});
}

TEST_F(BurnSheet, EachDriveEntryChoosesItsOwnDrive)
{
    // Drives without a name have no entry; the entries after them still
    // choose their own drives.
    addPlayableTitle();
    burner->names = {"", "Writer B", "", "Writer D"};
    sheet.awakeDVDBurnSettingWindow();
    QComboBox* popUp = sheet.devicePopButton();
    ASSERT_EQ(popUp->count(), 2);
    EXPECT_EQ(popUp->itemText(0), "Writer B");
    EXPECT_EQ(burner->chosen, 1);
    struct Case {
        int entry;
        int drive;
    };
    for (const Case c : {Case{1, 3}, Case{0, 1}}) {
        popUp->setCurrentIndex(c.entry);
        sheet.deviceChangedAction();
        EXPECT_EQ(burner->chosen, c.drive);
        EXPECT_EQ(popUp->currentText(), burner->names.at(burner->chosen));
    }
    sheet.selectDVDDeviceWithIndex(2);  // no such entry: nothing changes
    EXPECT_EQ(burner->chosen, 1);
}

TEST_F(BurnSheet, PicturesOfTheSheetAndTheProductionWindow)
{
    addPlayableTitle();
    burner->names = {"Writer"};
    burner->present = burner->blank = true;
    burner->writable = Estimate;
    sheet.awakeDVDBurnSettingWindow();
    sheet.adjustSize();
    const QImage disc = sheet.grab().toImage();
    EXPECT_FALSE(disc.isNull());
    testsupport::writeArtifact(disc, "burn-sheet-disc.png");
    sheet.setBurnType(BurnIso);
    sheet.adjustSize();
    const QImage iso = sheet.grab().toImage();
    testsupport::writeArtifact(iso, "burn-sheet-iso.png");

    BurnDVDCtrl window;
    window.updateBurnWindowWithProgress(0.42);
    window.updateBurnWindowWithProgress(0.3);  // never goes back
    window.updateBurnWindowWithProgress(1.5);  // never shows 100 %
    EXPECT_EQ(window.progressText(), "99 %");
    window.adjustSize();
    testsupport::writeArtifact(window.grab().toImage(), "production-window.png");
}

TEST(BurnSettingRules, SizeTexts)
{
    EXPECT_EQ(spaceDisplayStringWithSize(999'999'999), "999.0 MB");
    EXPECT_EQ(spaceDisplayStringWithSize(1'000'999'999), "1000.0 MB");
    EXPECT_EQ(spaceDisplayStringWithSize(1'001'000'000), "1.0 GB");
    EXPECT_EQ(spaceDisplayStringWithSize(2'087'354'105), "2.1 GB");
    EXPECT_EQ(spaceDisplayStringWithSize(0), "0.0 MB");
}

TEST(BurnSettingRules, OutputPathsStayInTheFolderAndAreFresh)
{
    testsupport::UserFolders folders;
    const QDir dir(folders.root());
    for (const QString& name : {QStringLiteral("../x"), QStringLiteral("a/b"),
                                QStringLiteral(".hidden"), QStringLiteral("..")}) {
        for (int kind : {BurnFolder, BurnPackage, BurnIso}) {
            const QFileInfo path(uniqueOutputPath(dir.path(), name, kind));
            EXPECT_EQ(path.absolutePath(), dir.absolutePath()) << qPrintable(name);
            EXPECT_FALSE(path.fileName().startsWith('.')) << qPrintable(name);
        }
    }
    EXPECT_EQ(fileNameComponent(QString("a") + QChar(u'\0') + "b"), "a_b");

    const QStringList expected[] = {{"My Disc", "My Disc_1", "My Disc_2"},
                                    {"My Disc.dvdmedia", "My Disc_1.dvdmedia"},
                                    {"My Disc.iso", "My Disc_1.iso"}};
    const int kinds[] = {BurnFolder, BurnPackage, BurnIso};
    for (int k = 0; k < 3; ++k) {
        for (const QString& want : expected[k]) {
            const QString path = uniqueOutputPath(dir.path(), "My Disc", kinds[k]);
            EXPECT_EQ(QFileInfo(path).fileName(), want);
            ASSERT_TRUE(dir.mkpath(path));  // taken from now on
        }
    }
}

}  // namespace
