#include "shell/AppDelegate.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMutexLocker>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <utility>

#include "common/AlertService.h"
#include "common/FileManagerExtention.h"
#include "corvane/DVDLibraryResource.h"
#include "media/PhotoItem.h"
#include "media/VideoConverterManager.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/ModelMediaServices.h"
#include "model/UserConfig.h"
#include "production/DVDMenuImageGeneratorCustomImage.h"
#include "shell/FileLogger.h"
#include "shell/HelperExtention.h"
#include "shell/HelperFunction.h"
#include "shell/MainWindowController.h"
#include "shell/ShellModelServices.h"

namespace {
std::atomic<AppDelegate*> currentDelegate{nullptr};
}

AppDelegate::AppDelegate(QObject* parent) : QObject(parent)
{
    currentDelegate.store(this);
}

AppDelegate::~AppDelegate()
{
    // The editors may still reach the roots while the window goes.
    std::unique_ptr<MainWindowController> controller;
    {
        QMutexLocker lock(&m_lock);
        controller = std::move(mainController_);
    }
    controller.reset();
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
    QMutexLocker lock(&m_lock);
    return m_dateResource;
}

void AppDelegate::setDateResource(const std::shared_ptr<DataResource>& resource)
{
    QMutexLocker lock(&m_lock);
    m_dateResource = resource;
}

std::shared_ptr<DVDLibraryResource> AppDelegate::dvdLibSource() const
{
    QMutexLocker lock(&m_lock);
    return m_dvdLibSource;
}

void AppDelegate::setDvdLibSource(const std::shared_ptr<DVDLibraryResource>& library)
{
    QMutexLocker lock(&m_lock);
    m_dvdLibSource = library;
}

std::shared_ptr<DVDResource> AppDelegate::dvd() const
{
    QMutexLocker lock(&m_lock);
    return m_dvd;
}

void AppDelegate::setDvd(const std::shared_ptr<DVDResource>& dvd)
{
    QMutexLocker lock(&m_lock);
    m_dvd = dvd;
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

    setMainController(std::make_unique<MainWindowController>());
    // Set up once installed: the editors reach the controller while they
    // are made.
    mainController()->awakeFromNib();
    mainController()->centerWindow();
}

void AppDelegate::installModelServices()
{
    ModelServices::install(std::make_shared<ShellModelServices>());
    ModelMediaServices::installForMedia();
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

void AppDelegate::openNewProjectAction()
{
    FileLogger::writeLine(QStringLiteral("New project: not available in this build"));
}

void AppDelegate::openExistProjectAction()
{
    FileLogger::writeLine(QStringLiteral("Open project: not available in this build"));
}

void AppDelegate::saveProjectAction()
{
    FileLogger::writeLine(QStringLiteral("Save project: not available in this build"));
    // Nothing was saved: no action may wait for it.
    setCloseWindowAfterSave(false);
    setOpenNewAfterSave(false);
    setOpenExistAfterSave(false);
}
