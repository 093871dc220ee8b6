// The main window as the application starts it, with recording editors:
// launch, menus, modes, the Delete command, closing and quitting, the edited
// mark from other threads, and the quality and disc-size controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <atomic>
#include <thread>

#include "ShellLaunch.h"
#include "TestSupport.h"
#include "media/PhotoItem.h"
#include "model/DVDPage.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/UserConfig.h"
#include "shell/CustomCapacityView.h"
#include "shell/CustomQualityPanel.h"
#include "shell/WndTitleBackView.h"

using testsupport::ShellLaunch;

namespace {

const QString saveQuestion =
    QStringLiteral("Do you want to save the changes made to the document?");

}  // namespace

TEST(MainWindowLaunchTest, AStaleTemporaryRootIsGoneAndANewPhotoFolderIsHandedOver)
{
    ShellLaunch shell(true, false);
    const QString root = FileManagerExtention::tempUsedFileDirectory();
    ASSERT_TRUE(QDir().mkpath(root + "/temp-old/work"));
    QFile stale(root + "/temp-old/work/left.mpg");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("left by an earlier run");
    stale.close();

    shell.delegate->applicationDidFinishLaunching();

    EXPECT_FALSE(QFileInfo::exists(root + "/temp-old"));
    const QString photos = PhotoItem::appTempPath();
    EXPECT_EQ(QFileInfo(photos).absolutePath(), QDir(root).filePath("temp-photo"));
    EXPECT_TRUE(
        QRegularExpression("^[A-Za-z0-9]{8}\\.dir$").match(QFileInfo(photos).fileName()).hasMatch())
        << photos.toStdString();
    EXPECT_TRUE(QFileInfo(photos).isDir());
    EXPECT_TRUE(shell.window()->isVisible());
}

TEST(MainWindowLaunchTest, StepOneMakesTheRootsAndTheServicesAnswerThem)
{
    ShellLaunch shell;
    AppDelegate* delegate = shell.delegate.get();
    ASSERT_TRUE(delegate->dateResource());
    ASSERT_TRUE(delegate->dvd());
    ASSERT_TRUE(delegate->dvdLibSource());
    // The main window controller hands them to every editor it makes.
    EXPECT_EQ(shell.controller()->dvd(), delegate->dvd());
    EXPECT_EQ(shell.controller()->dateResource(), delegate->dateResource());
    EXPECT_EQ(shell.controller()->dvdLibSource(), delegate->dvdLibSource());
    EXPECT_EQ(shell.factory->hosts,
              QList<IDocumentHost*>(5, static_cast<IDocumentHost*>(shell.controller())));

    // New clips of the title list take the canvas of the project's disc.
    delegate->dvd()->setAspectType(0);
    EXPECT_EQ(delegate->dateResource()->discCanvasSize(), QSizeF(640, 480));
    delegate->dvd()->setAspectType(1);
    EXPECT_EQ(delegate->dateResource()->discCanvasSize(), QSizeF(854, 480));

    // The converter manager follows the settings.
    UserConfig::share()->setMaxConvertCount(3);
    EXPECT_EQ(VideoConverterManager::getMaxConvertCount(), 3);
    UserConfig::share()->setMaxConvertCount(1);

    // The slideshow editor got the disc aspect and the main window.
    EXPECT_EQ(shell.factory->imageEdit->ratio, 1);
    EXPECT_EQ(shell.factory->imageEdit->sheetedWindow, shell.window());
    EXPECT_FALSE(shell.controller()->isDocumentEdited());
    EXPECT_NE(shell.controller()->burner(), nullptr);
    EXPECT_NE(shell.controller()->burnNotification(), nullptr);
}

TEST(MainWindowLaunchTest, TheCanvasRedisplayReachesTheMenuEditorOnTheMainThread)
{
    ShellLaunch shell;
    auto* menuEdit = shell.factory->menuEdit;
    const std::shared_ptr<DVDResource> disc = shell.delegate->dvd();
    ASSERT_TRUE(disc);
    std::thread worker([disc] { disc->displayCanvasView(); });
    worker.join();
    EXPECT_EQ(menuEdit->count("displayCanvasView"), 0);  // queued, not run on the worker
    EXPECT_TRUE(QTest::qWaitFor([&] { return menuEdit->count("displayCanvasView") == 1; }, 2000));
    EXPECT_EQ(menuEdit->count("displayCanvasView"), 1);
    disc->displayCanvasView();
    EXPECT_EQ(menuEdit->count("displayCanvasView"), 2);

    // A disc that replaces the open one takes over the canvas; the old one
    // no longer reaches it.
    const auto next = std::make_shared<DVDResource>();
    shell.delegate->setDvd(next);
    disc->displayCanvasView();
    EXPECT_EQ(menuEdit->count("displayCanvasView"), 2);
    next->displayCanvasView();
    EXPECT_EQ(menuEdit->count("displayCanvasView"), 3);
}

// The menus as a Linux desktop has them: no menu named after the program,
// Quit closing File, About closing Help, "Show Log File" behind support.
TEST(MainWindowLaunchTest, TheMenuTable)
{
    ShellLaunch shell;
    const QString name = QCoreApplication::applicationName();
    struct Item {
        QString menu, title, selector;
        QKeySequence key;
    };
    const QList<Item> table = {
        {"File", "New Project", "openNewProjectInFirstResponder:", QKeySequence("Ctrl+N")},
        {"File", "Open Project...", "openExistProjectInFirstResponder:", QKeySequence("Ctrl+O")},
        {"File", "Save Project", "saveProjectInFirstResponder:", QKeySequence("Ctrl+S")},
        {"File", "Quit " + name, HelperExtention::QuitSelector, QKeySequence("Ctrl+Q")},
        {"Edit", "Delete", "delete:", QKeySequence(QKeySequence::Delete)},
        {"Help", "Brisane Help", "help:", QKeySequence(QKeySequence::HelpContents)},
        {"Help", "Orvella Help", "help2:", {}},
        {"Help", name + " Support", HelperExtention::SupportSelector, {}},
        {"Help", HelperExtention::ShowLogTitle, HelperExtention::ShowLogSelector, {}},
        {"Help", "About " + name, HelperExtention::AboutSelector, {}},
    };
    QList<Item> shown;
    QStringList menus;
    for (QAction* top : shell.controller()->mainMenu()->actions()) {
        ASSERT_TRUE(top->menu());
        const QString menu = top->text().remove('&');
        menus << menu;
        for (QAction* item : top->menu()->actions()) {
            if (!item->isSeparator()) {
                shown.append(
                    {menu, item->text(), HelperExtention::selector(item), item->shortcut()});
            }
        }
    }
    EXPECT_EQ(menus, (QStringList{"File", "Edit", "Help"}));
    ASSERT_EQ(shown.size(), table.size());
    for (qsizetype i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].title.toStdString());
        EXPECT_EQ(shown[i].menu, table[i].menu);
        EXPECT_EQ(shown[i].title, table[i].title);
        EXPECT_EQ(shown[i].selector, table[i].selector);
        EXPECT_EQ(shown[i].key, table[i].key);
    }
    EXPECT_EQ(shell.menuItem(HelperExtention::HideSelector), nullptr);

    // Ctrl+Q quits as the item does (the question about changes included).
    shell.window()->show();
    QApplication::setActiveWindow(shell.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(shell.window()));
    QTest::keyClick(shell.window(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(shell.delegate->quits, 1);
}

// At launch the title names the untitled project Save proposes, once: the
// window manager draws it, the header strip under the menu bar does not.
TEST(MainWindowLaunchTest, TheTitleIsTheUntitledProjectShownOnce)
{
    ShellLaunch shell;
    EXPECT_EQ(shell.window()->windowTitle(), "Untitled[*]");
    shell.controller()->setDocumentEdited(true);
    auto* strip = shell.window()->findChild<WndTitleBackView*>();
    ASSERT_NE(strip, nullptr);
    EXPECT_FALSE(strip->windowBackgoundDrawWindowTitle());
    shell.window()->resize(1024, 700);
    shell.window()->show();
    const QImage drawn = strip->grab().toImage();
    testsupport::writeArtifact(drawn, "main-header-strip.png");
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            ASSERT_LT(qGray(drawn.pixel(x, y)), 80) << x << "," << y;  // no text
        }
    }
}

TEST(MainWindowLaunchTest, AProjectArgumentReachesOpenFileAfterStepTwo)
{
    testsupport::UserFolders folders;
    testsupport::InstalledServices services;
    const QString project = folders.root() + "/My Project";
    ASSERT_TRUE(QDir().mkpath(project));
    {
        testsupport::RecordingDelegate delegate;
        delegate.setLogsToFile(false);
        delegate.launch(project);
        EXPECT_TRUE(delegate.opened.isEmpty());  // not before the event loop turns
        EXPECT_FALSE(delegate.hasFinishedLaunching());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !delegate.opened.isEmpty(); }, 5000));
        EXPECT_EQ(delegate.opened, QStringList{project});
        EXPECT_TRUE(delegate.launchedBeforeOpen);
    }
    VideoConverterManager::setMaxConvertCountSource(nullptr);
    FileManagerExtention::releaseTempRoot();
}

TEST(MainWindowModeTest, TogglingSwitchesTabAndTitleAndEnteringMenuModeRunsTheListHook)
{
    ShellLaunch shell;
    MainWindowController* controller = shell.controller();
    EXPECT_TRUE(controller->isEditSource());
    EXPECT_EQ(controller->selectedTabIdentifier(), "source");
    EXPECT_EQ(controller->mainEditModeBtn()->text(), "Menu Edit");
    EXPECT_EQ(shell.factory->listEdit->view()->parentWidget(), controller->listContainerView());
    EXPECT_EQ(shell.factory->menuEdit->view()->parentWidget(), controller->menuEditContainerView());

    QTest::mouseClick(controller->mainEditModeBtn(), Qt::LeftButton);
    EXPECT_FALSE(controller->isEditSource());
    EXPECT_EQ(controller->selectedTabIdentifier(), "menu");
    EXPECT_EQ(controller->mainEditModeBtn()->text(), "List Edit");
    EXPECT_EQ(shell.factory->listEdit->count("listSourceHasChanged"), 1);

    QTest::mouseClick(controller->mainEditModeBtn(), Qt::LeftButton);
    EXPECT_TRUE(controller->isEditSource());
    EXPECT_EQ(controller->selectedTabIdentifier(), "source");
    EXPECT_EQ(controller->mainEditModeBtn()->text(), "Menu Edit");
    EXPECT_EQ(shell.factory->listEdit->count("listSourceHasChanged"), 1);
}

TEST(MainWindowModeTest, WithoutAListEditorEnteringMenuModeStillMarksTheWindowEdited)
{
    ShellLaunch shell(false);
    MainWindowController* controller = shell.controller();
    ASSERT_FALSE(controller->isDocumentEdited());
    controller->editModeChangedAction();
    EXPECT_TRUE(controller->isDocumentEdited());
    EXPECT_TRUE(shell.window()->isWindowModified());
    EXPECT_EQ(controller->capacityEstimate().showString, "Need Spend DVD Space: 0 MB");
}

TEST(MainWindowDeleteTest, DeleteIsEnabledAndRoutedByModeAndSelection)
{
    struct Row {
        bool listMode;
        quint64 selectedType;
        bool allText;
        bool enabled;
    };
    const Row rows[] = {
        {true, 0, false, false},  {true, 1, false, true}, {true, 3, false, true},
        {false, 2, false, false}, {false, 0, true, true},
    };
    for (const Row& row : rows) {
        ShellLaunch shell;
        MainWindowController* controller = shell.controller();
        if (!row.listMode) {
            controller->editModeChangedAction();
        }
        shell.factory->listEdit->selected = row.selectedType;
        shell.factory->menuEdit->allText = row.allText;
        QAction* item = controller->deleteMenuItem();
        SCOPED_TRACE(testing::Message() << "list mode " << row.listMode << ", selected type "
                                        << row.selectedType << ", all text " << row.allText);
        EXPECT_EQ(controller->validateMenuItem(item), row.enabled);
        // The Edit menu shows the same when it opens.
        for (QAction* top : controller->mainMenu()->actions()) {
            if (top->menu() && top->menu()->actions().contains(item)) {
                emit top->menu()->aboutToShow();
            }
        }
        EXPECT_EQ(item->isEnabled(), row.enabled);

        item->setEnabled(true);
        item->trigger();
        const int listDeletes = shell.factory->listEdit->count("deleteSelectedData");
        const int menuDeletes = shell.factory->menuEdit->count("deleteCurrentTextItem");
        EXPECT_EQ(listDeletes, row.enabled && row.listMode ? 1 : 0);
        EXPECT_EQ(menuDeletes, row.enabled && !row.listMode ? 1 : 0);
        // Any other item is always enabled.
        EXPECT_TRUE(controller->validateMenuItem(shell.menuItem(HelperExtention::SupportSelector)));
    }
}

TEST(MainWindowCloseTest, AnUneditedWindowQuitsWithoutAQuestion)
{
    ShellLaunch shell;
    EXPECT_TRUE(shell.window()->close());
    EXPECT_TRUE(shell.services.alerts->alerts.isEmpty());
    EXPECT_EQ(shell.delegate->quits, 1);
    EXPECT_TRUE(QFileInfo::exists(UserConfig::share()->savePath()));
}

TEST(MainWindowCloseTest, EditedCancelKeepsEverythingDontSaveQuitsSaveSaves)
{
    for (const int answer : {int(AlertService::OtherReturn), int(AlertService::AlternateReturn),
                             int(AlertService::DefaultReturn)}) {
        SCOPED_TRACE(answer);
        ShellLaunch shell;
        MainWindowController* controller = shell.controller();
        controller->setDocumentEdited(true);

        EXPECT_FALSE(shell.window()->close());
        ASSERT_EQ(shell.services.alerts->messages(), QStringList{saveQuestion});
        const AlertContent& asked = shell.services.alerts->alerts.first().content;
        EXPECT_EQ(asked.defaultButton, "Save");
        EXPECT_EQ(asked.alternateButton, "Don't Save");
        EXPECT_EQ(asked.otherButton, "Cancel");
        EXPECT_EQ(shell.services.alerts->alerts.first().window, shell.window());
        EXPECT_TRUE(shell.window()->isVisible());

        shell.services.alerts->endSheet(0, answer);
        QCoreApplication::processEvents();
        const bool quits = answer == AlertService::AlternateReturn;
        EXPECT_EQ(shell.delegate->quits, quits ? 1 : 0);
        EXPECT_EQ(shell.window()->isVisible(), !quits);
        EXPECT_EQ(shell.delegate->savesAndCloses, answer == AlertService::DefaultReturn ? 1 : 0);
        EXPECT_TRUE(controller->isDocumentEdited());
    }
}

TEST(MainWindowCloseTest, QuitAsksTheSameQuestionAndWritesTheSettings)
{
    ShellLaunch shell;
    const QString settings = UserConfig::share()->savePath();
    ASSERT_FALSE(QFileInfo::exists(settings));
    shell.controller()->setDocumentEdited(true);

    shell.menuItem(HelperExtention::QuitSelector)->trigger();
    ASSERT_EQ(shell.services.alerts->messages(), QStringList{saveQuestion});
    shell.services.alerts->endSheet(0, AlertService::OtherReturn);
    EXPECT_EQ(shell.delegate->quits, 0);
    EXPECT_TRUE(shell.window()->isVisible());

    shell.menuItem(HelperExtention::QuitSelector)->trigger();
    ASSERT_EQ(shell.services.alerts->alerts.size(), 2);
    shell.services.alerts->endSheet(1, AlertService::AlternateReturn);
    EXPECT_EQ(shell.delegate->quits, 1);
    EXPECT_TRUE(QFileInfo::exists(settings));
}

TEST(MainWindowThreadTest, TheEditedMarkAndTheSaveSheetWorkFromAnyThread)
{
    ShellLaunch shell;
    MainWindowController* controller = shell.controller();
    std::atomic<bool> done{false};
    bool markedOnReturn = false;
    std::thread worker([&] {
        controller->setDocumentEdited(true);
        markedOnReturn = controller->isDocumentEdited();
        controller->showSaveWindowInMainThread();
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    worker.join();
    EXPECT_TRUE(markedOnReturn);
    EXPECT_TRUE(shell.window()->isWindowModified());
    EXPECT_TRUE(controller->saveWindow()->isVisible());

    done = false;
    std::thread closer([&] {
        controller->closeSaveWindowInMainThread();
        controller->clearDocumentChangedStatus();
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    closer.join();
    EXPECT_FALSE(controller->saveWindow()->isVisible());
    EXPECT_FALSE(shell.window()->isWindowModified());

    // On the main thread it runs at once, without waiting on itself.
    controller->setDocumentEdited(true);
    EXPECT_TRUE(shell.window()->isWindowModified());
    EXPECT_TRUE(shell.window()->windowTitle().endsWith("[*]"));
}

TEST(MainWindowQualityTest, PresetsCustomValuesAndTheBarText)
{
    ShellLaunch shell;
    MainWindowController* controller = shell.controller();
    auto disc = shell.delegate->dvd();
    // One hour of menu loop, so the bar has something to show.
    auto page = std::make_shared<DVDPage>();
    page->setMenuDuration(3600);
    disc->setPageArray({page});

    QComboBox* quality = controller->dvdQualityPopBtn();
    EXPECT_EQ(quality->currentText(), "Standard");
    EXPECT_EQ(controller->dvdModelPopButton()->currentText(), "D5 / 4.7GB");
    controller->changeCapacityValue();
    EXPECT_EQ(controller->capacityView()->showString(), "Need Spend DVD Space: 2087 MB");

    disc->setDvdBitrate(3000);
    controller->updateDVDQualityPopBtnWhenOpenProject();
    EXPECT_EQ(quality->currentIndex(), 6);
    EXPECT_EQ(quality->currentText(), "3000 kbps");

    // A preset chosen: the bitrate and the bar follow, the menu stays.
    controller->dvdQualityChosen(0);
    EXPECT_EQ(disc->dvdBitrate(), 8000);
    EXPECT_EQ(controller->capacityView()->showString(),
              QString("Need Spend DVD Space: %1 MB").arg(controller->totalUsedSpace() / 1000000));
    EXPECT_EQ(quality->itemText(6), "3000 kbps");

    // The custom panel clamps its field, applies its slider and its close box.
    controller->dvdQualityChosen(quality->count() - 1);
    CustomQualityPanel* panel = controller->customQualityWindow();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->qualityField()->value(), 8000);
    panel->qualityField()->setValue(200);
    EXPECT_EQ(disc->dvdBitrate(), 500);
    EXPECT_EQ(panel->qualityField()->value(), 500);
    EXPECT_EQ(panel->qualitySlider()->value(), 500);
    EXPECT_EQ(quality->currentText(), "Lower");
    panel->qualityField()->setValue(9000);
    EXPECT_EQ(disc->dvdBitrate(), 8000);
    EXPECT_EQ(panel->qualityField()->value(), 8000);
    panel->qualitySlider()->setValue(2500);
    EXPECT_EQ(disc->dvdBitrate(), 2500);
    EXPECT_EQ(panel->qualityField()->value(), 2500);
    EXPECT_EQ(quality->currentText(), "2500 kbps");

    controller->setQualityValue(7000);  // shown, not yet applied
    EXPECT_TRUE(panel->close());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(disc->dvdBitrate(), 7000);
    EXPECT_EQ(quality->currentText(), "7000 kbps");
    EXPECT_EQ(controller->capacityView()->showString(),
              QString("Need Spend DVD Space: %1 MB").arg(controller->totalUsedSpace() / 1000000));

    // The disc size: D9 halves the fraction, the text stays.
    const float onD5 = controller->capacityView()->capacityValue();
    controller->dvdModelPopButton()->setCurrentIndex(1);
    controller->dvdModelChangedAction();
    EXPECT_NEAR(controller->capacityView()->capacityValue(), onD5 * 4.7f / 8.3f, 1e-4);
}

TEST(MainWindowPlacementTest, TheWindowIs720HighAndCentredInTheVisibleHeight)
{
    const QRect screen(0, 0, 1280, 800);
    EXPECT_EQ(
        MainWindowController::placedWindowGeometry(QRect(128, 300, 1024, 500), screen, screen),
        QRect(128, 40, 1024, 720));
    // A panel at the top leaves 770 visible: bottom edge 25 up from the
    // screen's bottom.
    EXPECT_EQ(MainWindowController::placedWindowGeometry(QRect(10, 0, 900, 500), screen,
                                                         QRect(0, 30, 1280, 770)),
              QRect(10, 55, 900, 720));
    // A small screen: never taller than what is visible, never above it.
    EXPECT_EQ(MainWindowController::placedWindowGeometry(
                  QRect(0, 0, 800, 500), QRect(0, 0, 1024, 600), QRect(0, 24, 1024, 576)),
              QRect(0, 24, 800, 576));
}
