#include "shell/AppDelegate.h"

#include <atomic>

#include "shell/MainWindowController.h"

namespace {
std::atomic<AppDelegate*> currentDelegate{nullptr};
}

AppDelegate::AppDelegate(QObject* parent) : QObject(parent)
{
    currentDelegate.store(this);
}

AppDelegate::~AppDelegate()
{
    mainController_.reset();
    AppDelegate* self = this;
    currentDelegate.compare_exchange_strong(self, nullptr);
}

AppDelegate* AppDelegate::current()
{
    return currentDelegate.load();
}

MainWindowController* AppDelegate::mainController() const
{
    return mainController_.get();
}

void AppDelegate::setMainController(std::unique_ptr<MainWindowController> controller)
{
    mainController_ = std::move(controller);
}
