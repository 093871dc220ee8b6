#include "shell/ShellModelServices.h"

#include <QCoreApplication>
#include <QThread>

#include "shell/AppDelegate.h"
#include "shell/ControllerFunction.h"
#include "shell/core/IMenuEditViewController.h"

std::shared_ptr<DVDResource> ShellModelServices::dvd() const
{
    AppDelegate* delegate = AppDelegate::current();
    return delegate ? delegate->dvd() : nullptr;
}

std::shared_ptr<DataResource> ShellModelServices::dateResource() const
{
    AppDelegate* delegate = AppDelegate::current();
    return delegate ? delegate->dateResource() : nullptr;
}

std::shared_ptr<DVDLibraryResource> ShellModelServices::dvdLibSource() const
{
    AppDelegate* delegate = AppDelegate::current();
    if (delegate) {
        if (auto library = delegate->dvdLibSource()) {
            return library;
        }
    }
    return ModelServices::dvdLibSource();
}

namespace {

void displayMenuCanvas()
{
    if (IMenuEditViewController* menuEditor = ControllerFunction::menuEditController()) {
        menuEditor->displayCanvasView();
    }
}

}  // namespace

void ShellModelServices::displayCanvasView()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) {
        return;
    }
    if (QThread::currentThread() == application->thread()) {
        displayMenuCanvas();
        return;
    }
    // The editors are reached from the main thread only.
    QMetaObject::invokeMethod(application, &displayMenuCanvas, Qt::QueuedConnection);
}
