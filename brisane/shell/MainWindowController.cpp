#include "shell/MainWindowController.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/MainThread.h"
#include "corvane/DVDBurn.h"
#include "corvane/DVDBurnNotification.h"
#include "corvane/DVDLibrary.h"
#include "model/DVDResource.h"
#include "shell/AppDelegate.h"
#include "shell/BurnSettingWindow.h"
#include "shell/CustomCapacityView.h"
#include "shell/CustomQualityPanel.h"
#include "shell/DVDPlayCtrl.h"
#include "shell/HelperExtention.h"
#include "shell/MainDownView.h"
#include "shell/MainWindow.h"
#include "shell/ThemeExtention.h"
#include "shell/WndTitleBackView.h"
#include "shell/core/DiscModelBuilder.h"
#include "shell/core/DiscSideRebuild.h"
#include "shell/core/EditorFactory.h"
#include "shell/core/IClipEditWindowController.h"
#include "shell/core/IListEditViewController.h"
#include "shell/core/IMenuEditViewController.h"
#include "shell/core/IRenderEditWndCtrl.h"
#include "shell/core/IVideoEditWindowController.h"
#include "shell/core/OpenProject.h"

namespace {

const QString deleteSelector = QStringLiteral("delete:");

QWidget* containerPage(const QString& identifier)
{
    auto* page = new QWidget;
    page->setObjectName(identifier);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    return page;
}

void hostView(QWidget* container, QWidget* view)
{
    if (container && view) {
        container->layout()->addWidget(view);
        view->show();
    }
}

}  // namespace

MainWindowController::MainWindowController(std::shared_ptr<OpenProject> project,
                                           AppDelegate* delegate)
    : m_project(project ? std::move(project) : std::make_shared<OpenProject>()),
      m_delegate(delegate),
      m_quality(std::make_unique<DiscQualityControls>(*this))
{
    connect(m_quality.get(), &DiscQualityControls::customQualityWindowWillClose, this,
            [this] { windowWillClose(customQualityWindow()); });
}

MainWindowController::~MainWindowController()
{
    // The preview first: its player stops before the project it plays goes.
    m_dvdPlay.reset();
    // The editors next: their views and sheets live in the window.
    imageEditController_.reset();
    menuEditController_.reset();
    videoEditController_.reset();
    clipEditController_.reset();
    listEditController_.reset();
    m_window.reset();
}

// --- Set-up -----------------------------------------------------------------

void MainWindowController::awakeFromNib()
{
    if (m_window) {
        return;
    }
    buildWindow();
    // 1. The header strip.
    ThemeExtention::changeTitleBarTheme(m_window.get(), new WndTitleBackView);
    // 2. The window opens in list-edit mode.
    m_isEditSource = true;
    flushEditSourceOrMenuIfChanged();
    // 3 to 5. The editors.
    createEditors();
    // 6 to 8. The custom bitrate bounds and the estimate, the disc sizes
    // (D5 first), the quality pop-up.
    m_quality->setUp();
    // 10. The burner and its drive watch.
    m_burner = std::make_unique<DVDBurn>();
    m_burnNotification = new DVDBurnNotification(this);
    m_burnSettingWindow = new BurnSettingWindow(this, m_window.get());
    m_burnSettingWindow->setDVDBurn(m_burner.get());
    m_burnNotification->setDelegate(m_burnSettingWindow);
    // 13. The slideshow editor.
    if (IRenderEditWndCtrl* imageEditor = imageEditController()) {
        imageEditor->setEnumDisplayRatio(1);
        imageEditor->setWndSheetedWindow(m_window.get());
    }
    // 14. Nothing to save yet.
    clearDocumentChangedStatus();
    // 15. 720 high, centred vertically in the visible area.
    placeWindow();
}

void MainWindowController::buildWindow()
{
    m_window = std::make_unique<MainWindow>(this);
    m_window->setObjectName(windowNibName());
    // The project Save will propose; the window manager adds the program's
    // name.
    setDocumentTitle(QStringLiteral("Untitled"));
    m_window->resize(1024, WindowHeight);
    m_window->setMinimumSize(800, 560);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_mainTabView = new QStackedWidget;
    m_listContainerView = containerPage(SourceTab);
    m_menuEditContainerView = containerPage(MenuTab);
    m_mainTabView->addWidget(m_listContainerView);
    m_mainTabView->addWidget(m_menuEditContainerView);
    layout->addWidget(m_mainTabView, 1);
    layout->addWidget(buildBottomBar());
    m_window->setCentralWidget(central);

    buildMenuBar();
    buildSaveWindow();
    m_quality->makeCustomQualityWindow(m_window.get());
}

void MainWindowController::buildMenuBar()
{
    QMenuBar* bar = m_window->menuBar();
    auto addItem = [this](QMenu* menu, const QString& title, const QString& selector, auto slot,
                          const QKeySequence& shortcut = {}) {
        QAction* item = menu->addAction(title);
        HelperExtention::setSelector(item, selector);
        item->setShortcut(shortcut);
        connect(item, &QAction::triggered, this, slot);
        return item;
    };
    auto delegateCall = [this](void (AppDelegate::*call)()) {
        return [this, call] {
            if (m_delegate) {
                (m_delegate->*call)();
            }
        };
    };

    // A Linux desktop has no application menu: Quit closes the File menu,
    // About closes the Help menu.
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    addItem(file, QStringLiteral("New Project"), QStringLiteral("openNewProjectInFirstResponder:"),
            &MainWindowController::openNewProjectInFirstResponder, QKeySequence::New);
    addItem(file, QStringLiteral("Open Project..."),
            QStringLiteral("openExistProjectInFirstResponder:"),
            &MainWindowController::openExistProjectInFirstResponder, QKeySequence::Open);
    addItem(file, QStringLiteral("Save Project"), QStringLiteral("saveProjectInFirstResponder:"),
            &MainWindowController::saveProjectInFirstResponder, QKeySequence::Save);
    file->addSeparator();
    addItem(file, QStringLiteral("Quit"), HelperExtention::QuitSelector,
            delegateCall(&AppDelegate::terminate), QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    m_deleteAction = addItem(edit, QStringLiteral("Delete"), deleteSelector,
                             &MainWindowController::deleteCommand, QKeySequence::Delete);
    // The item shows whether Delete applies; between showings it stays
    // enabled so that its key reaches deleteCommand, which checks again.
    connect(edit, &QMenu::aboutToShow, this, &MainWindowController::validateDeleteItem);
    connect(edit, &QMenu::aboutToHide, this, [this] { m_deleteAction->setEnabled(true); });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    addItem(help, QStringLiteral("Brisane Help"), QStringLiteral("help:"),
            delegateCall(&AppDelegate::help), QKeySequence::HelpContents);
    addItem(help, QStringLiteral("Orvella Help"), QStringLiteral("help2:"),
            delegateCall(&AppDelegate::help2));
    help->addSeparator();
    addItem(help, QStringLiteral("%1 Support").arg(QCoreApplication::applicationName()),
            HelperExtention::SupportSelector, delegateCall(&AppDelegate::support));
    help->addSeparator();
    addItem(help, QStringLiteral("About"), HelperExtention::AboutSelector,
            delegateCall(&AppDelegate::orderFrontStandardAboutPanel));
}

QWidget* MainWindowController::buildBottomBar()
{
    auto* bar = new MainDownView;
    bar->setFixedHeight(48);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(10);

    m_mainEditModeBtn = new QPushButton(MenuEditTitle);
    m_mainEditModeBtn->setMinimumWidth(100);
    connect(m_mainEditModeBtn, &QPushButton::clicked, this,
            &MainWindowController::editModeChangedAction);
    m_quality->makeBarWidgets();
    m_previewButton = new QPushButton(QStringLiteral("Preview"));
    m_burnButton = new QPushButton(QStringLiteral("Burn"));
    connect(m_previewButton, &QPushButton::clicked, this,
            &MainWindowController::previewDvdButtonAction);
    connect(m_burnButton, &QPushButton::clicked, this, &MainWindowController::burnDvdButtonAction);

    layout->addWidget(m_mainEditModeBtn);
    layout->addWidget(capacityView(), 1);
    layout->addWidget(dvdQualityPopBtn());
    layout->addWidget(dvdModelPopButton());
    layout->addWidget(m_previewButton);
    layout->addWidget(m_burnButton);
    return bar;
}

void MainWindowController::buildSaveWindow()
{
    m_saveWindow = new QDialog(m_window.get());
    m_saveWindow->setWindowModality(Qt::WindowModal);
    m_saveWindow->setWindowTitle(QStringLiteral("Saving"));
    auto* layout = new QVBoxLayout(m_saveWindow);
    layout->addWidget(new QLabel(QStringLiteral("Saving the project...")));
    auto* progress = new QProgressBar;
    progress->setObjectName(QStringLiteral("saveProgress"));
    progress->setRange(0, 1);  // still until the sheet shows
    progress->setTextVisible(false);
    layout->addWidget(progress);
}

void MainWindowController::createEditors()
{
    const auto factory = EditorFactory::current();
    QWidget* window = m_window.get();
    setListEditController(factory->makeListEditController(window, this));
    if (IListEditViewController* listEditor = listEditController()) {
        hostView(m_listContainerView, listEditor->view());
    }
    setClipEditController(factory->makeClipEditController(window, this));
    setVideoEditController(factory->makeVideoEditController(window, this));
    setMenuEditController(factory->makeMenuEditController(window, this));
    if (IMenuEditViewController* menuEditor = menuEditController()) {
        hostView(m_menuEditContainerView, menuEditor->view());
    }
    setImageEditController(factory->makeImageEditController(window, this));
}

void MainWindowController::centerWindow()
{
    if (!m_window) {
        return;
    }
    QScreen* screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect geometry = m_window->geometry();
    geometry.moveCenter(screen->availableGeometry().center());
    m_window->setGeometry(geometry);
}

void MainWindowController::showWindow()
{
    if (m_window) {
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
    }
}

QRect MainWindowController::placedWindowGeometry(const QRect& geometry, const QRect& screen,
                                                 const QRect& available)
{
    const int height = std::min(WindowHeight, std::max(1, available.height()));
    // The bottom edge, measured up from the screen's bottom (y up) ...
    const int bottomUp = (available.height() - height) / 2;
    // ... turned into Qt's top edge (y down).
    const int top = screen.y() + screen.height() - bottomUp - height;
    return QRect(geometry.x(), std::max(top, available.y()), geometry.width(), height);
}

void MainWindowController::placeWindow()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    m_window->setGeometry(placedWindowGeometry(m_window->geometry(), screen->geometry(),
                                               screen->availableGeometry()));
}

// --- The open project -------------------------------------------------------

std::shared_ptr<OpenProject> MainWindowController::openProject() const
{
    QMutexLocker lock(&m_projectLock);
    return m_project;
}

void MainWindowController::setOpenProject(std::shared_ptr<OpenProject> project)
{
    QMutexLocker lock(&m_projectLock);
    m_project = project ? std::move(project) : std::make_shared<OpenProject>();
}

std::shared_ptr<DVDResource> MainWindowController::dvd() const
{
    return openProject()->dvd();
}

std::shared_ptr<DataResource> MainWindowController::dateResource() const
{
    return openProject()->dateResource();
}

std::shared_ptr<DVDLibraryResource> MainWindowController::dvdLibSource() const
{
    return openProject()->dvdLibSource();
}

// --- Editors ----------------------------------------------------------------

IListEditViewController* MainWindowController::listEditController() const
{
    return listEditController_.get();
}

IClipEditWindowController* MainWindowController::clipEditController() const
{
    return clipEditController_.get();
}

IVideoEditWindowController* MainWindowController::videoEditController() const
{
    return videoEditController_.get();
}

IMenuEditViewController* MainWindowController::menuEditController() const
{
    return menuEditController_.get();
}

IRenderEditWndCtrl* MainWindowController::imageEditController() const
{
    return imageEditController_.get();
}

void MainWindowController::setListEditController(
    std::unique_ptr<IListEditViewController> controller)
{
    listEditController_ = std::move(controller);
}

void MainWindowController::setClipEditController(
    std::unique_ptr<IClipEditWindowController> controller)
{
    clipEditController_ = std::move(controller);
}

void MainWindowController::setVideoEditController(
    std::unique_ptr<IVideoEditWindowController> controller)
{
    videoEditController_ = std::move(controller);
}

void MainWindowController::setMenuEditController(
    std::unique_ptr<IMenuEditViewController> controller)
{
    menuEditController_ = std::move(controller);
}

void MainWindowController::setImageEditController(std::unique_ptr<IRenderEditWndCtrl> controller)
{
    imageEditController_ = std::move(controller);
}

void MainWindowController::burnDvdButtonAction()
{
    if (m_burnSettingWindow) {
        m_burnSettingWindow->burnDvdButtonAction();
    }
}

QWidget* MainWindowController::window() const
{
    return m_window.get();
}

QMenuBar* MainWindowController::mainMenu() const
{
    return m_window ? m_window->menuBar() : nullptr;
}

QString MainWindowController::selectedTabIdentifier() const
{
    return m_mainTabView && m_mainTabView->currentWidget()
               ? m_mainTabView->currentWidget()->objectName()
               : QString();
}

// --- Modes ------------------------------------------------------------------

bool MainWindowController::isEditSource() const
{
    return m_isEditSource;
}

void MainWindowController::editModeChangedAction()
{
    m_isEditSource = !m_isEditSource;
    flushEditSourceOrMenuIfChanged();
}

void MainWindowController::flushEditSourceOrMenuIfChanged()
{
    const bool listMode = isEditSource();
    if (!listMode) {
        if (IListEditViewController* listEditor = listEditController()) {
            listEditor->listSourceHasChanged();
        } else {
            // What the list's change hook does.
            initDvdResource();
            changeCapacityValue();
            setDocumentEdited(true);
        }
    }
    if (!m_mainTabView) {
        return;
    }
    QWidget* tab = listMode ? m_listContainerView : m_menuEditContainerView;
    if (m_mainTabView->currentWidget() != tab) {
        endTabEditing();
        m_mainTabView->setCurrentWidget(tab);
    }
    m_mainEditModeBtn->setText(listMode ? MenuEditTitle : ListEditTitle);
}

void MainWindowController::endTabEditing()
{
    // A field being edited in the tab left ends its editing.
    QWidget* focus = QApplication::focusWidget();
    if (focus && m_window && m_window->isAncestorOf(focus)) {
        focus->clearFocus();
    }
}

// --- Delete command ---------------------------------------------------------

void MainWindowController::deleteCommand()
{
    if (!validateMenuItem(m_deleteAction)) {
        return;
    }
    if (isEditSource()) {
        listEditController()->deleteSelectedData();
    } else {
        menuEditController()->deleteCurrentTextItem();
    }
}

bool MainWindowController::validateMenuItem(const QAction* item) const
{
    if (HelperExtention::selector(item) != deleteSelector) {
        return true;
    }
    if (isEditSource()) {
        const IListEditViewController* listEditor = listEditController();
        return listEditor && listEditor->selectedType() != 0;
    }
    const IMenuEditViewController* menuEditor = menuEditController();
    return menuEditor && menuEditor->hasSelectAndSelectedAllPageItemText();
}

void MainWindowController::validateDeleteItem()
{
    m_deleteAction->setEnabled(validateMenuItem(m_deleteAction));
}

// --- Project commands -------------------------------------------------------

void MainWindowController::openNewProjectInFirstResponder()
{
    if (m_delegate) {
        m_delegate->openNewProjectAction();
    }
}

void MainWindowController::openExistProjectInFirstResponder()
{
    if (m_delegate) {
        m_delegate->openExistProjectAction();
    }
}

void MainWindowController::saveProjectInFirstResponder()
{
    if (m_delegate) {
        m_delegate->saveProjectAction();
    }
}

// --- Closing ----------------------------------------------------------------

bool MainWindowController::windowShouldClose(QWidget* window)
{
    if (window != m_window.get() || !isDocumentEdited() || m_closeWithoutQuestion) {
        return true;
    }
    closeActionAlertSavePanel();
    return false;
}

void MainWindowController::closeActionAlertSavePanel()
{
    AppDelegate* delegate = m_delegate;
    if (!delegate) {
        return;
    }
    QPointer<MainWindowController> self(this);
    auto save = [self] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self] {
                if (self && self->m_delegate) {
                    self->m_delegate->saveProjectAndCloseWindow();
                }
            },
            Qt::QueuedConnection);
    };
    auto dontSave = [self] {
        if (self && self->m_window) {
            self->m_closeWithoutQuestion = true;
            self->m_window->close();
            if (self) {
                self->m_closeWithoutQuestion = false;
            }
        }
    };
    delegate->alertSavePanelWithAction(save, dontSave, {});
}

void MainWindowController::windowWillClose(QWidget* window)
{
    if (window && window == customQualityWindow()) {
        doCustomQualityOk();
    } else if (window && window == m_window.get()) {
        if (m_delegate) {
            m_delegate->mainWindowDidClose();
        }
    }
}

// --- Edited mark ------------------------------------------------------------

void MainWindowController::performBlockOnMainThread(const std::function<void()>& block)
{
    MainThread::call(block);
}

void MainWindowController::setDocumentEdited(bool edited)
{
    performBlockOnMainThread([this, edited] {
        documentEdited_ = edited;
        if (m_window) {
            m_window->setWindowModified(edited);
        }
    });
}

bool MainWindowController::isDocumentEdited() const
{
    return documentEdited_;
}

void MainWindowController::clearDocumentChangedStatus()
{
    performBlockOnMainThread([this] { setDocumentEdited(false); });
}

void MainWindowController::setDocumentTitle(const QString& title)
{
    if (m_window) {
        m_window->setWindowTitle(title + QStringLiteral("[*]"));
    }
}

// --- Saving sheet -----------------------------------------------------------

void MainWindowController::showSaveWindow()
{
    if (!m_saveWindow) {
        return;
    }
    m_saveWindow->findChild<QProgressBar*>()->setRange(0, 0);  // busy
    m_saveWindow->open();
}

void MainWindowController::closeSaveWindow()
{
    if (!m_saveWindow) {
        return;
    }
    m_saveWindow->findChild<QProgressBar*>()->setRange(0, 1);
    m_saveWindow->accept();
}

void MainWindowController::showSaveWindowInMainThread()
{
    performBlockOnMainThread([this] { showSaveWindow(); });
}

void MainWindowController::closeSaveWindowInMainThread()
{
    performBlockOnMainThread([this] { closeSaveWindow(); });
}

// --- Disc side --------------------------------------------------------------

DiscSideRebuild MainWindowController::openProjectRebuild() const
{
    return DiscSideRebuild(dateResource(), dvd());
}

void MainWindowController::initDvdResource()
{
    openProjectRebuild().flushDVDResourceBeforeEdit();
    if (IMenuEditViewController* menuEditor = menuEditController()) {
        menuEditor->flushDVDPageEditWhenOpen();
    }
}

void MainWindowController::updatePreNextButtonForDVDPageArray()
{
    openProjectRebuild().updatePreNextButtonForDVDPageArray();
}

double MainWindowController::getCurrentDVDMenuDuration()
{
    return openProjectRebuild().getCurrentDVDMenuDuration();
}

void MainWindowController::changeCapacityValue()
{
    m_quality->changeCapacityValue(dvdModelIndex());
}

double MainWindowController::totalMediaDataTime(const std::shared_ptr<MediaData>& media)
{
    return media ? CapacityEstimate::totalMediaDataTime(*media) : 0.0;
}

std::shared_ptr<DVDLibrary> MainWindowController::getDVDObj()
{
    const DiscModelBuilder builder(dvd());
    auto dvd = builder.getDVDObj();
    m_clipsLeftOut = builder.clipsWithNothingToPlay();
    return dvd;
}

void MainWindowController::closePreviewWindow()
{
    if (m_dvdPlay && m_dvdPlay->window()->isVisible()) {
        m_dvdPlay->closeDVD();
    }
}

void MainWindowController::previewDvdButtonAction()
{
    const std::shared_ptr<DVDLibrary> dvd = getDVDObj();
    if (!dvd || !m_window) {
        return;
    }
    m_window->lower();
    if (!m_dvdPlay) {
        m_dvdPlay = std::make_unique<DVDPlayCtrl>();
    }
    m_dvdPlay->setModalWindow(m_window.get());
    m_dvdPlay->playDVD(dvd);
}
