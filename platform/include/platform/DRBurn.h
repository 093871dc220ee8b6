#pragma once
// Burns an image file to the disc in one drive.
//
// writeLayout() starts the burn and returns at once; the burn then announces
// every status it reaches through DRNotificationCenter::burnStatusChanged with
// itself as the burn, ending with DRStatusStateDone or DRStatusStateFailed.
// Use it from the main thread. A burn that is destroyed while it runs is
// aborted and announces nothing more.

#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <memory>
#include <optional>

#include "platform/DRDevice.h"

class DRBurnJob;

class DRBurn : public std::enable_shared_from_this<DRBurn> {
public:
    // What is written: one image file as one data track.
    struct Layout {
        QString path;
        qint64 size = 0;
    };

    // A burn for the device; null for a null device.
    static std::shared_ptr<DRBurn> burnForDevice(const DRDevicePtr& device);
    // The layout of an image file; nothing when the file is missing, not a
    // regular file, empty or unreadable.
    static std::optional<Layout> layoutForImageFile(const QString& path);

    explicit DRBurn(const DRDevicePtr& device);
    ~DRBurn();
    DRBurn(const DRBurn&) = delete;
    DRBurn& operator=(const DRBurn&) = delete;

    DRDevicePtr device() const { return device_; }

    // Burn options (DRBurnVerifyDiscKey, DRBurnOverwriteDiscKey); empty at first.
    QVariantMap properties() const { return properties_; }
    void setProperties(const QVariantMap& properties) { properties_ = properties; }

    // Starts burning. A burn runs once: a second call while it runs is ignored
    // (logged). Problems found later (no disc, drive gone, write error) arrive
    // as a failed status.
    void writeLayout(const Layout& layout);
    // Stops the running burn; it then ends failed. Nothing happens when idle.
    void abort();
    bool isBurning() const { return !job_.isNull(); }

    // The last status this burn announced (empty before the first).
    QVariantMap status() const { return status_; }

private:
    const DRDevicePtr device_;
    QVariantMap properties_;
    QVariantMap status_;
    QPointer<DRBurnJob> job_;
};
