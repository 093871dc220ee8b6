#pragma once
// Where the disc-recording layer announces what happens to burns and drives.
//
// One center per process, living on the main thread; its signals reach
// receivers there. libburn tells nothing by itself, so while at least one
// observer is registered a main-thread timer has the drives looked at (on a
// worker thread) and the center announces drives that appear or disappear and
// media that change. Burns
// announce each status they reach (see DRStatus.h for its keys).

#include <QObject>
#include <QSet>
#include <QTimer>
#include <QVariantMap>
#include <atomic>
#include <memory>

#include "platform/DRDevice.h"

class DRBurn;

class DRNotificationCenter : public QObject {
    Q_OBJECT
public:
    // The process's center (created on first use, moved to the main thread).
    static DRNotificationCenter* currentRunLoopCenter();

    // Drives are watched while at least one observer is registered. An observer
    // that is destroyed is removed by itself.
    void addObserver(QObject* observer);
    void removeObserver(QObject* observer);
    bool isWatchingDevices() const { return pollTimer_.isActive(); }

    // Milliseconds between two looks at the drives (2000 unless changed).
    int pollInterval() const { return pollTimer_.interval(); }
    void setPollInterval(int milliseconds);
    // Looks at the drives now, on the calling thread. The timer looks on a
    // worker thread instead, so that slow drives never hold up the main thread.
    void pollDevices();

    // Used by the recording layer to announce, on whatever thread it runs.
    void postBurnStatus(const DRBurn* burn, const QVariantMap& status);
    void postDeviceAppeared(const DRDevicePtr& device);
    void postDeviceDisappeared(const DRDevicePtr& device);
    void postDeviceStatusChanged(const DRDevicePtr& device);

signals:
    // `burn` identifies the burn only; it may be gone when the signal arrives
    // from another thread, so compare it, never dereference it.
    void burnStatusChanged(const DRBurn* burn, const QVariantMap& status);
    void deviceAppeared(const DRDevicePtr& device);
    void deviceDisappeared(const DRDevicePtr& device);
    void deviceStatusChanged(const DRDevicePtr& device);

private:
    DRNotificationCenter();
    void updateWatching();
    void pollDevicesInBackground();

    QTimer pollTimer_;
    QSet<QObject*> observers_;
    std::shared_ptr<std::atomic<bool>> pollRunning_ = std::make_shared<std::atomic<bool>>(false);
};
