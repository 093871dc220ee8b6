#pragma once
// A launched shell for tests: user folders of its own, recording alerts, a
// delegate that records quitting, saving and opening instead of doing it,
// and (unless told otherwise) the recording editors made through the
// editor factory. Both launch steps have run when the object is made; the
// log stays on the test's own streams.

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <memory>

#include "RecordingControllers.h"
#include "RecordingServices.h"
#include "UserFolders.h"
#include "common/FileManagerExtention.h"
#include "media/VideoConverterManager.h"
#include "shell/HelperExtention.h"
#include "shell/MainWindowController.h"
#include "shell/core/EditorFactory.h"

namespace testsupport {

class RecordingEditorFactory : public EditorFactory {
public:
    RecordingListEditController* listEdit = nullptr;
    RecordingMenuEditController* menuEdit = nullptr;
    RecordingClipEditController* clipEdit = nullptr;
    RecordingVideoEditController* videoEdit = nullptr;
    RecordingImageEditController* imageEdit = nullptr;
    // The document host each editor was made with, in the order asked.
    QList<IDocumentHost*> hosts;

    std::unique_ptr<IListEditViewController> makeListEditController(QWidget*,
                                                                    IDocumentHost* host) override
    {
        hosts << host;
        auto made = std::make_unique<RecordingListEditController>();
        listEdit = made.get();
        return made;
    }
    std::unique_ptr<IClipEditWindowController> makeClipEditController(QWidget*,
                                                                      IDocumentHost* host) override
    {
        hosts << host;
        auto made = std::make_unique<RecordingClipEditController>();
        clipEdit = made.get();
        return made;
    }
    std::unique_ptr<IVideoEditWindowController> makeVideoEditController(
        QWidget*, IDocumentHost* host) override
    {
        hosts << host;
        auto made = std::make_unique<RecordingVideoEditController>();
        videoEdit = made.get();
        return made;
    }
    std::unique_ptr<IMenuEditViewController> makeMenuEditController(QWidget*,
                                                                    IDocumentHost* host) override
    {
        hosts << host;
        auto made = std::make_unique<RecordingMenuEditController>();
        menuEdit = made.get();
        return made;
    }
    std::unique_ptr<IRenderEditWndCtrl> makeImageEditController(QWidget*,
                                                                IDocumentHost* host) override
    {
        hosts << host;
        auto made = std::make_unique<RecordingImageEditController>();
        imageEdit = made.get();
        return made;
    }
};

class RecordingDelegate : public AppDelegate {
public:
    int quits = 0;
    int savesAndCloses = 0;
    QStringList opened;
    bool launchedBeforeOpen = false;

    bool applicationOpenFile(const QString& path) override
    {
        opened.append(path);
        launchedBeforeOpen = hasFinishedLaunching();
        return true;
    }
    void saveProjectAndCloseWindow() override { ++savesAndCloses; }

protected:
    void quitApplication() override { ++quits; }
};

class ShellLaunch {
public:
    // With `editors`, the recording editors; without, the default factory
    // (no editors).
    explicit ShellLaunch(bool editors = true, bool finish = true)
    {
        if (editors) {
            EditorFactory::install(factory);
        }
        delegate = std::make_unique<RecordingDelegate>();
        delegate->setLogsToFile(false);
        delegate->applicationWillFinishLaunching();
        if (finish) {
            delegate->applicationDidFinishLaunching();
        }
    }
    ~ShellLaunch()
    {
        delegate.reset();
        EditorFactory::install(nullptr);
        VideoConverterManager::setMaxConvertCountSource(nullptr);
        FileManagerExtention::releaseTempRoot();
    }
    ShellLaunch(const ShellLaunch&) = delete;
    ShellLaunch& operator=(const ShellLaunch&) = delete;

    MainWindowController* controller() const { return delegate->mainController(); }
    QWidget* window() const { return controller()->window(); }
    QAction* menuItem(const QString& selector) const
    {
        return HelperExtention::findMenuItemBySelector(controller()->mainMenu(), selector);
    }

    UserFolders folders;
    InstalledServices services;
    std::shared_ptr<RecordingEditorFactory> factory = std::make_shared<RecordingEditorFactory>();
    std::unique_ptr<RecordingDelegate> delegate;
};

}  // namespace testsupport
