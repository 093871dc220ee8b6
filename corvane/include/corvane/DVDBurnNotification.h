#pragma once
// Watches the DVD writers and tells its delegate when drives come and go
// (devicesDidChanged) or a drive's medium changes (deviceStatusDidChanged).
// Each call is made only when the delegate implements it, that is when it
// derives from DVDBurnDevicesDelegate or DVDBurnDeviceStatusDelegate.
//
// Create it on the main thread; drives are watched for as long as it lives.

#include <QObject>
#include <QPointer>

#include "platform/DRDevice.h"

class DVDBurnNotification : public QObject {
    Q_OBJECT
public:
    explicit DVDBurnNotification(QObject* parent = nullptr);
    ~DVDBurnNotification() override;

    // Not owned; may be any object, including one implementing neither call.
    QObject* delegate() const { return delegate_; }
    void setDelegate(QObject* delegate) { delegate_ = delegate; }

private slots:
    void deviceStatusChangedNotification();
    void devicesChangedNotification();

private:
    QPointer<QObject> delegate_;
};
