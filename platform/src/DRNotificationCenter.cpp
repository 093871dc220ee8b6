#include "platform/DRNotificationCenter.h"

#include <QCoreApplication>
#include <QThread>

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
    connect(&pollTimer_, &QTimer::timeout, this, &DRNotificationCenter::pollDevices);
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

void DRNotificationCenter::updateWatching()
{
    // The timer belongs to the main thread; start and stop it there.
    const bool watch = !observers_.isEmpty();
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
