#include "shell/core/EditorFactory.h"

#include <QMutex>
#include <QMutexLocker>

#include "shell/core/IClipEditWindowController.h"
#include "shell/core/IListEditViewController.h"
#include "shell/core/IMenuEditViewController.h"
#include "shell/core/IRenderEditWndCtrl.h"
#include "shell/core/IVideoEditWindowController.h"

namespace {

QMutex& factoryLock()
{
    static QMutex lock;
    return lock;
}

std::shared_ptr<EditorFactory>& installedFactory()
{
    static std::shared_ptr<EditorFactory> factory;
    return factory;
}

}  // namespace

EditorFactory::~EditorFactory() = default;

std::unique_ptr<IListEditViewController> EditorFactory::makeListEditController(QWidget*,
                                                                               IDocumentHost*)
{
    return nullptr;
}

std::unique_ptr<IClipEditWindowController> EditorFactory::makeClipEditController(QWidget*,
                                                                                 IDocumentHost*)
{
    return nullptr;
}

std::unique_ptr<IVideoEditWindowController> EditorFactory::makeVideoEditController(QWidget*,
                                                                                   IDocumentHost*)
{
    return nullptr;
}

std::unique_ptr<IMenuEditViewController> EditorFactory::makeMenuEditController(QWidget*,
                                                                               IDocumentHost*)
{
    return nullptr;
}

std::unique_ptr<IRenderEditWndCtrl> EditorFactory::makeImageEditController(QWidget*, IDocumentHost*)
{
    return nullptr;
}

std::shared_ptr<EditorFactory> EditorFactory::current()
{
    QMutexLocker lock(&factoryLock());
    if (!installedFactory()) {
        installedFactory() = std::make_shared<EditorFactory>();
    }
    return installedFactory();
}

void EditorFactory::install(std::shared_ptr<EditorFactory> factory)
{
    QMutexLocker lock(&factoryLock());
    installedFactory() = std::move(factory);
}
