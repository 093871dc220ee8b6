#include "shell/AppDelegate.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMutexLocker>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <utility>

#include "common/FileManagerExtention.h"
#include "common/widgets/AlertService.h"
#include "corvane/DVDLibraryResource.h"
#include "media/PhotoItem.h"
#include "media/VideoConverterManager.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/ProjectSourceCheck.h"
#include "model/UserConfig.h"
#include "production/DVDMenuImageGeneratorCustomImage.h"
#include "shell/HelpDocuments.h"
#include "shell/HelperExtention.h"
#include "shell/MainWindowController.h"
#include "shell/ProjectPanels.h"
#include "shell/core/FileLogger.h"
#include "shell/core/HelperFunction.h"
#include "shell/core/IListEditViewController.h"
#include "shell/core/IMenuEditViewController.h"
#include "shell/core/OpenProject.h"
#include "shell/core/ProjectDocument.h"

namespace {
std::atomic<AppDelegate*> currentDelegate{nullptr};

// Runs `action` on the main thread after the current event (a sheet's end).
void queueOnMainThread(std::function<void()> action)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(action),
                              Qt::QueuedConnection);
}
}  // namespace

AppDelegate::AppDelegate(QObject* parent)
    : QObject(parent), m_project(std::make_shared<OpenProject>())
{
    currentDelegate.store(this);
}

AppDelegate::~AppDelegate()
{
    if (m_worker.joinable()) {
        m_worker.join();
    }
    // The editors may still reach the roots while the window goes.
    std::unique_ptr<MainWindowController> controller;
    {
        QMutexLocker lock(&m_lock);
        controller = std::move(mainController_);
    }
    controller.reset();
    // The disc may outlive the delegate; it redisplays nothing any more.
    if (const auto disc = dvd()) {
        disc->setCanvasRedisplay({});
    }
    AppDelegate* self = this;
    currentDelegate.compare_exchange_strong(self, nullptr);
}

AppDelegate* AppDelegate::current()
{
    return currentDelegate.load();
}

// --- Roots -------------------------------------------------------------------

MainWindowController* AppDelegate::mainController() const
{
    QMutexLocker lock(&m_lock);
    return mainController_.get();
}

void AppDelegate::setMainController(std::unique_ptr<MainWindowController> controller)
{
    std::unique_ptr<MainWindowController> previous;
    {
        QMutexLocker lock(&m_lock);
        previous = std::exchange(mainController_, std::move(controller));
    }
}

std::shared_ptr<DataResource> AppDelegate::dateResource() const
{
    return m_project->dateResource();
}

void AppDelegate::setDateResource(const std::shared_ptr<DataResource>& resource)
{
    if (resource) {
        resource->setDvdResource(dvd());
    }
    m_project->setDateResource(resource);
}

std::shared_ptr<DVDLibraryResource> AppDelegate::dvdLibSource() const
{
    return m_project->dvdLibSource();
}

void AppDelegate::setDvdLibSource(const std::shared_ptr<DVDLibraryResource>& library)
{
    m_project->setDvdLibSource(library);
}

std::shared_ptr<DVDResource> AppDelegate::dvd() const
{
    return m_project->dvd();
}

void AppDelegate::setDvd(const std::shared_ptr<DVDResource>& dvd)
{
    if (dvd) {
        dvd->setCanvasRedisplay([this] { displayMenuCanvasOnMainThread(); });
    }
    if (const auto media = dateResource()) {
        media->setDvdResource(dvd);
    }
    std::shared_ptr<DVDResource> previous;
    {
        QMutexLocker lock(&m_lock);
        previous = m_project->dvd();
        m_project->setDvd(dvd);
    }
    if (previous && previous != dvd) {
        previous->setCanvasRedisplay({});
    }
}

void AppDelegate::displayMenuCanvas()
{
    MainWindowController* controller = mainController();
    if (IMenuEditViewController* menuEditor =
            controller ? controller->menuEditController() : nullptr) {
        menuEditor->displayCanvasView();
    }
}

void AppDelegate::displayMenuCanvasOnMainThread()
{
    if (QThread::currentThread() == thread()) {
        displayMenuCanvas();
        return;
    }
    QMetaObject::invokeMethod(this, &AppDelegate::displayMenuCanvas, Qt::QueuedConnection);
}

QString AppDelegate::existedProjectPath() const
{
    QMutexLocker lock(&m_lock);
    return m_existedProjectPath;
}

void AppDelegate::setExistedProjectPath(const QString& path)
{
    QMutexLocker lock(&m_lock);
    m_existedProjectPath = path;
}

void AppDelegate::addSectionDataResourceToArray(const std::shared_ptr<SectionDataResource>& source)
{
    if (auto media = dateResource()) {
        media->addSectionDataResourceToArray(source);
    }
}

void AppDelegate::removeSectionDataResourceFromArray(
    const std::shared_ptr<SectionDataResource>& source)
{
    if (auto media = dateResource()) {
        media->removeSectionDataResourceFromArray(source);
    }
}

void AppDelegate::addDvdPageToArray(const std::shared_ptr<DVDPageData>& page)
{
    if (auto media = dateResource()) {
        media->addDvdPageToArray(page);
    }
}

void AppDelegate::removeDvdPageFromArray(const std::shared_ptr<DVDPageData>& page)
{
    if (auto media = dateResource()) {
        media->removeDvdPageFromArray(page);
    }
}

// --- Launch and quit ---------------------------------------------------------

void AppDelegate::launch(const QString& projectPath)
{
    applicationWillFinishLaunching();
    QTimer::singleShot(0, this, [this, projectPath] {
        applicationDidFinishLaunching();
        if (!projectPath.isEmpty()) {
            applicationOpenFile(projectPath);
        }
    });
}

void AppDelegate::applicationWillFinishLaunching()
{
    if (m_logsToFile) {
        FileLogger::share().openLogger();
    }
    setDateResource(std::make_shared<DataResource>());
    setDvdLibSource(DVDLibraryResource::share());
    setDvd(std::make_shared<DVDResource>());
    installModelServices();

    setMainController(std::make_unique<MainWindowController>(m_project, this));
    // Set up once installed: the editors reach the controller while they
    // are made.
    mainController()->awakeFromNib();
    mainController()->centerWindow();
}

void AppDelegate::installModelServices()
{
    DVDMenuImageGeneratorCustomImage::install();
    VideoConverterManager::setMaxConvertCountSource(
        [] { return static_cast<int>(UserConfig::share()->maxConvertCount()); });
}

void AppDelegate::applicationDidFinishLaunching()
{
    FileManagerExtention::claimTempRoot();
    const QString photoFolder =
        FileManagerExtention::tempFilePath(QStringLiteral("temp-photo"), QStringLiteral("dir"));
    if (!photoFolder.isEmpty()) {
        makeNewDirAtPath(photoFolder);
    }
    PhotoItem::updateAppTempPath(photoFolder);
    setupApp();
    openMainWindowController();
    m_finishedLaunching = true;
}

void AppDelegate::applicationWillTerminate()
{
    HelperFunction::saveUserConfig();
    FileManagerExtention::releaseTempRoot();
}

void AppDelegate::terminate()
{
    MainWindowController* controller = mainController();
    QWidget* window = controller ? controller->window() : nullptr;
    if (window && window->isVisible()) {
        window->close();  // asks about unsaved changes; mainWindowDidClose follows
        return;
    }
    mainWindowDidClose();
}

void AppDelegate::mainWindowDidClose()
{
    if (m_terminated) {
        return;
    }
    m_terminated = true;
    applicationWillTerminate();
    quitApplication();
}

void AppDelegate::quitApplication()
{
    QCoreApplication::quit();
}

bool AppDelegate::applicationOpenFile(const QString& path)
{
    FileLogger::writeLine(QStringLiteral("Open project: %1").arg(path));
    loadDocumentAtPath(ProjectDocument::projectFolderForChosenPath(path));
    return true;
}

void AppDelegate::openMainWindowController()
{
    if (MainWindowController* controller = mainController()) {
        controller->showWindow();
    }
}

void AppDelegate::makeNewDirAtPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) {
        QDir(path).removeRecursively();
    } else if (info.exists() || info.isSymLink()) {
        QFile::remove(path);
    }
    FileManagerExtention::createDirectoryAtPathIfCan(path);
}

// --- Menus -------------------------------------------------------------------

void AppDelegate::setupApp()
{
    MainWindowController* controller = mainController();
    if (controller && controller->mainMenu()) {
        HelperExtention::setupApp(controller->mainMenu(), QCoreApplication::applicationName());
    }
}

void AppDelegate::orderFrontStandardAboutPanel()
{
    MainWindowController* controller = mainController();
    const QString name = QCoreApplication::applicationName();
    QMessageBox::about(controller ? controller->window() : nullptr,
                       QStringLiteral("About %1").arg(name),
                       QStringLiteral("%1 %2").arg(name, QCoreApplication::applicationVersion()));
}

void AppDelegate::support()
{
    openSupportLink();
}

void AppDelegate::openSupportLink()
{
    QDesktopServices::openUrl(HelperExtention::supportURL());
}

bool AppDelegate::isOptionKeyDown() const
{
    return HelperExtention::isOptionKeyDown();
}

int AppDelegate::getANewRandNumber()
{
    return std::rand();
}

// --- Project documents -------------------------------------------------------

void AppDelegate::alertSavePanelWithAction(std::function<void()> save,
                                           std::function<void()> dontSave,
                                           std::function<void()> cancel)
{
    AlertContent alert;
    alert.message = QStringLiteral("Do you want to save the changes made to the document?");
    alert.informativeText = QStringLiteral("Your changes will be lost if you don’t save them.");
    alert.defaultButton = QStringLiteral("Save");
    alert.alternateButton = QStringLiteral("Don't Save");
    alert.otherButton = QStringLiteral("Cancel");
    MainWindowController* controller = mainController();
    AlertService::current()->beginAlertSheet(
        alert, controller ? controller->window() : nullptr,
        [save = std::move(save), dontSave = std::move(dontSave),
         cancel = std::move(cancel)](int returnCode) {
            const std::function<void()>& action = returnCode == AlertService::DefaultReturn ? save
                                                  : returnCode == AlertService::AlternateReturn
                                                      ? dontSave
                                                      : cancel;
            if (action) {
                action();
            }
        });
}

void AppDelegate::saveProjectAndCloseWindow()
{
    setCloseWindowAfterSave(true);
    saveProjectAction();
}

void AppDelegate::saveProjectAndOpenNew()
{
    setOpenNewAfterSave(true);
    saveProjectAction();
}

void AppDelegate::saveProjectAndOpenExist()
{
    setOpenExistAfterSave(true);
    saveProjectAction();
}

void AppDelegate::openNewProjectAction()
{
    MainWindowController* controller = mainController();
    if (m_busy || !controller) {
        return;
    }
    controller->closePreviewWindow();
    if (!controller->isDocumentEdited()) {
        openNewProject();
        return;
    }
    askToSaveThen(&AppDelegate::saveProjectAndOpenNew, &AppDelegate::openNewProject);
}

void AppDelegate::openExistProjectAction()
{
    MainWindowController* controller = mainController();
    if (m_busy || !controller) {
        return;
    }
    controller->closePreviewWindow();
    if (!controller->isDocumentEdited()) {
        openExistProject();
        return;
    }
    askToSaveThen(&AppDelegate::saveProjectAndOpenExist, &AppDelegate::openExistProject);
}

void AppDelegate::askToSaveThen(void (AppDelegate::*afterSave)(),
                                void (AppDelegate::*withoutSaving)())
{
    const QPointer<AppDelegate> self(this);
    const auto later = [self](void (AppDelegate::*action)()) {
        return [self, action] {
            queueOnMainThread([self, action] {
                if (self) {
                    (self->*action)();
                }
            });
        };
    };
    alertSavePanelWithAction(later(afterSave), later(withoutSaving), {});
}

void AppDelegate::saveProjectAction()
{
    MainWindowController* controller = mainController();
    if (m_busy) {
        return;
    }
    if (controller) {
        controller->closePreviewWindow();
    }
    if (isExistedProject() && !existedProjectPath().isEmpty()) {
        saveAndLoadDocumentAtPath(existedProjectPath());
        return;
    }
    const QString chosen =
        ProjectPanels::choose(ProjectPanel::Save, controller ? controller->window() : nullptr);
    if (chosen.isEmpty()) {
        // Nothing was saved: no action may wait for it.
        clearAfterSaveFlags();
        return;
    }
    saveAndLoadDocumentAtPath(QDir::cleanPath(QFileInfo(chosen).absoluteFilePath()));
}

void AppDelegate::setProjectChooser(ProjectChooser chooser)
{
    ProjectPanels::setChooser(std::move(chooser));
}

QString AppDelegate::documentExtension()
{
    return ProjectDocument::documentExtension();
}

void AppDelegate::clearAfterSaveFlags()
{
    setCloseWindowAfterSave(false);
    setOpenNewAfterSave(false);
    setOpenExistAfterSave(false);
}

// --- New and open ------------------------------------------------------------

void AppDelegate::openNewProject()
{
    setIsExistedProject(false);
    resetWindowWhenOpenNewProject();
    setDvd(std::make_shared<DVDResource>());
    setDateResource(std::make_shared<DataResource>());
    MainWindowController* controller = mainController();
    if (!controller) {
        return;
    }
    if (IListEditViewController* list = controller->listEditController()) {
        list->addMenuPageToArray();
        list->reloadView();
    }
    controller->updateDVDQualityPopBtnWhenOpenProject();
    controller->clearDocumentChangedStatus();
    changeProjectName(QStringLiteral("Untitled"));
}

void AppDelegate::resetWindowWhenOpenNewProject()
{
    MainWindowController* controller = mainController();
    if (controller) {
        controller->setIsEditSource(true);
        controller->flushEditSourceOrMenuIfChanged();
        if (IListEditViewController* list = controller->listEditController()) {
            list->removeAllWhenCloseProject();
        }
    }
    if (auto media = dateResource()) {
        media->setSectionDataResourceArray({});
    }
    if (controller) {
        if (IMenuEditViewController* menu = controller->menuEditController()) {
            menu->setCurrentMenu(nullptr);
        }
        if (IListEditViewController* list = controller->listEditController()) {
            list->setCurrentDVDPage(nullptr);
        }
    }
    setDateResource(nullptr);
    setDvd(nullptr);
    if (controller) {
        controller->changeCapacityValue();
    }
}

void AppDelegate::openExistProject()
{
    MainWindowController* controller = mainController();
    if (m_busy) {
        return;
    }
    const QString folder = ProjectDocument::projectFolderForChosenPath(
        ProjectPanels::choose(ProjectPanel::Open, controller ? controller->window() : nullptr));
    if (folder.isEmpty()) {
        return;
    }
    // The open project stays until the new one has been read completely;
    // meanwhile the window takes no edits.
    m_busy = true;
    setMainWindowBusy(true);
    runInBackground([this, folder] {
        QString error;
        auto roots = ProjectDocument::loadDocumentAtPath(folder, &error);
        QList<MissingSource> missing;
        if (roots) {
            missing = ProjectSourceCheck::missingSources(*roots);
        }
        QMetaObject::invokeMethod(
            this,
            [this, folder, error, roots = std::move(roots), missing] {
                if (m_worker.joinable()) {
                    m_worker.join();
                }
                m_busy = false;
                setMainWindowBusy(false);
                if (!roots) {
                    alertProjectFailure(
                        QStringLiteral("The project \"%1\" could not be opened.").arg(folder),
                        error);
                    return;
                }
                installProject(*roots, folder, missing);
            },
            Qt::QueuedConnection);
    });
}

void AppDelegate::setMainWindowBusy(bool busy)
{
    MainWindowController* controller = mainController();
    QWidget* window = controller ? controller->window() : nullptr;
    if (window) {
        window->setEnabled(!busy);
    }
}

void AppDelegate::runInBackground(std::function<void()> work)
{
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_worker = std::thread(std::move(work));
}

// --- Load and save -----------------------------------------------------------

bool AppDelegate::loadDocumentAtPath(const QString& path)
{
    QString error;
    const auto roots = ProjectDocument::loadDocumentAtPath(path, &error);
    if (!roots) {
        alertProjectFailure(QStringLiteral("The project \"%1\" could not be opened.").arg(path),
                            error);
        return false;
    }
    installProject(*roots, path, ProjectSourceCheck::missingSources(*roots));
    return true;
}

void AppDelegate::installProject(const ProjectRoots& roots, const QString& path,
                                 const QList<MissingSource>& missing)
{
    resetWindowWhenOpenNewProject();
    setDvd(roots.disc);
    setDateResource(roots.media);
    setIsExistedProject(true);
    setExistedProjectPath(path);
    changeProjectName(ProjectDocument::projectName(path));
    ProjectSourceCheck::markClips(roots, missing);
    reloadProject();
    if (!missing.isEmpty()) {
        alertMissingSources(path, missing);
    }
}

void AppDelegate::alertMissingSources(const QString& path, const QList<MissingSource>& missing)
{
    const QString message =
        QStringLiteral("%1 file(s) of the project \"%2\" are missing or cannot be read.")
            .arg(missing.size())
            .arg(ProjectDocument::projectName(path));
    const QString details = ProjectSourceCheck::describe(missing);
    FileLogger::writeLine(message + QLatin1Char('\n') + details);
    AlertContent alert;
    alert.message = message;
    alert.informativeText =
        details + QStringLiteral(
                      "\n\nTheir clips are marked in the list. The project cannot "
                      "be made into a DVD until the files are back.");
    alert.defaultButton = QStringLiteral("OK");
    MainWindowController* controller = mainController();
    AlertService::current()->beginAlertSheet(alert, controller ? controller->window() : nullptr);
}

void AppDelegate::loadFileSourceWithProject(const QString& path)
{
    ProjectDocument::loadFileSourceWithProject({dateResource(), dvd()}, path);
}

void AppDelegate::reloadProject()
{
    MainWindowController* controller = mainController();
    if (!controller) {
        return;
    }
    controller->changeCapacityValue();
    if (IListEditViewController* list = controller->listEditController()) {
        list->reloadView();
    }
    controller->updateDVDQualityPopBtnWhenOpenProject();
    controller->clearDocumentChangedStatus();
}

void AppDelegate::saveAndLoadDocumentAtPath(const QString& path)
{
    if (m_busy) {
        return;
    }
    m_busy = true;
    m_saveDestination = path;
    if (MainWindowController* controller = mainController()) {
        controller->showSaveWindow();
    }
    const ProjectRoots roots{dateResource(), dvd()};
    runInBackground([this, roots, path] {
        QString error;
        const bool saved = ProjectDocument::saveAndReplace(roots, path, &error);
        if (saved) {
            ProjectDocument::loadFileSourceWithProject(roots, path);
        }
        QMetaObject::invokeMethod(
            this,
            [this, saved, error] {
                m_saveSucceeded = saved;
                m_saveError = error;
                doSomethingAfterSave();
            },
            Qt::QueuedConnection);
    });
}

void AppDelegate::doSomethingAfterSave()
{
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_busy = false;
    MainWindowController* controller = mainController();
    if (controller) {
        controller->closeSaveWindow();
    }
    if (!m_saveSucceeded) {
        clearAfterSaveFlags();
        alertProjectFailure(
            QStringLiteral("The project could not be saved to \"%1\".").arg(m_saveDestination),
            m_saveError);
        return;
    }
    setIsExistedProject(true);
    setExistedProjectPath(m_saveDestination);
    changeProjectName(ProjectDocument::projectName(m_saveDestination));
    if (controller) {
        controller->clearDocumentChangedStatus();
    }
    if (closeWindowAfterSave()) {
        setCloseWindowAfterSave(false);
        if (controller && controller->window()) {
            controller->window()->close();
        }
    }
    if (openNewAfterSave()) {
        setOpenNewAfterSave(false);
        openNewProject();
    }
    if (openExistAfterSave()) {
        setOpenExistAfterSave(false);
        openExistProject();
    }
}

void AppDelegate::alertProjectFailure(const QString& message, const QString& reason)
{
    FileLogger::writeLine(message + QLatin1Char(' ') + reason);
    AlertContent alert;
    alert.message = message;
    alert.informativeText = reason;
    alert.defaultButton = QStringLiteral("OK");
    MainWindowController* controller = mainController();
    AlertService::current()->beginAlertSheet(alert, controller ? controller->window() : nullptr);
}

// --- Title -------------------------------------------------------------------

void AppDelegate::changeMainWindowName(const QString& name)
{
    QMetaObject::invokeMethod(
        this, [this, name] { changeProjectName(name); }, Qt::QueuedConnection);
}

void AppDelegate::changeProjectName(const QString& name)
{
    if (MainWindowController* controller = mainController()) {
        controller->setDocumentTitle(name);
    }
}

// --- Help --------------------------------------------------------------------

void AppDelegate::help()
{
    openHelpDocument(QStringLiteral("Brisane Help.pdf"));
}

void AppDelegate::help2()
{
    openHelpDocument(QStringLiteral("Orvella Help.pdf"));
}

void AppDelegate::setDocumentOpener(DocumentOpener opener)
{
    HelpDocuments::setDocumentOpener(std::move(opener));
}

QString AppDelegate::helpDocumentFolder()
{
    return HelpDocuments::helpDocumentFolder();
}

QString AppDelegate::openHelpDocument(const QString& fileName)
{
    const HelpDocuments::Opened opened = HelpDocuments::openHelpDocument(fileName);
    if (opened.copy.isEmpty()) {
        alertProjectFailure(opened.message, opened.reason);
    }
    return opened.copy;
}
