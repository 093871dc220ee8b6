#include "platform/DRNotificationCenter.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include "DRDeviceRegistry.h"

namespace {

constexpr int DefaultPollMilliseconds = 2000;

}  // namespace

DRNotificationCenter* DRNotificationCenter::currentRunLoopCenter()
{
    static DRNotificationCenter* center = [] {
        auto* made = new DRNotificationCenter();
        if (QCoreApplication* app = QCoreApplication::instance()) {
            made->moveToThread(app->thread());
        }
        return made;
    }();
    return center;
}

DRNotificationCenter::DRNotificationCenter() : pollTimer_(this)
{
    qRegisterMetaType<DRDevicePtr>("DRDevicePtr");
    pollTimer_.setInterval(DefaultPollMilliseconds);
    connect(&pollTimer_, &QTimer::timeout, this, &DRNotificationCenter::pollDevicesInBackground);
}

void DRNotificationCenter::addObserver(QObject* observer)
{
    if (!observer || observers_.contains(observer)) {
        return;
    }
    observers_.insert(observer);
    connect(observer, &QObject::destroyed, this, [this](QObject* gone) { removeObserver(gone); });
    updateWatching();
}

void DRNotificationCenter::removeObserver(QObject* observer)
{
    if (observers_.remove(observer)) {
        disconnect(observer, &QObject::destroyed, this, nullptr);
        updateWatching();
    }
}

void DRNotificationCenter::setPollInterval(int milliseconds)
{
    pollTimer_.setInterval(qMax(1, milliseconds));
}

void DRNotificationCenter::pollDevices()
{
    DRDeviceRegistry::instance().refresh();
}

void DRNotificationCenter::pollDevicesInBackground()
{
    // Looking at real drives can take a while (each one is opened and its
    // medium read): do it off the main thread, one look at a time. What
    // changed reaches the receivers on the main thread through the signals.
    if (pollRunning_->exchange(true)) {
        return;
    }
    std::shared_ptr<std::atomic<bool>> running = pollRunning_;
    QThreadPool::globalInstance()->start([running] {
        DRDeviceRegistry::instance().refresh();
        *running = false;
    });
}

void DRNotificationCenter::updateWatching()
{
    // The timer belongs to the main thread; start and stop it there.
    const bool watch = !observers_.isEmpty();
    DRDeviceRegistry::instance().setWatched(watch);
    auto apply = [this, watch] {
        if (watch && !pollTimer_.isActive()) {
            pollTimer_.start();
        } else if (!watch) {
            pollTimer_.stop();
        }
    };
    if (QThread::currentThread() == thread()) {
        apply();
    } else {
        QMetaObject::invokeMethod(this, apply, Qt::QueuedConnection);
    }
}

void DRNotificationCenter::postBurnStatus(const DRBurn* burn, const QVariantMap& status)
{
    emit burnStatusChanged(burn, status);
}

void DRNotificationCenter::postDeviceAppeared(const DRDevicePtr& device)
{
    emit deviceAppeared(device);
}

void DRNotificationCenter::postDeviceDisappeared(const DRDevicePtr& device)
{
    emit deviceDisappeared(device);
}

void DRNotificationCenter::postDeviceStatusChanged(const DRDevicePtr& device)
{
    emit deviceStatusChanged(device);
}
