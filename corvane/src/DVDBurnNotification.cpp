#include "corvane/DVDBurnNotification.h"

#include "corvane/DVDBurnDeviceStatusDelegate.h"
#include "corvane/DVDBurnDevicesDelegate.h"
#include "platform/DRNotificationCenter.h"

DVDBurnNotification::DVDBurnNotification(QObject* parent) : QObject(parent)
{
    DRNotificationCenter* center = DRNotificationCenter::currentRunLoopCenter();
    connect(center, &DRNotificationCenter::deviceStatusChanged, this,
            &DVDBurnNotification::deviceStatusChangedNotification);
    connect(center, &DRNotificationCenter::deviceAppeared, this,
            &DVDBurnNotification::devicesChangedNotification);
    connect(center, &DRNotificationCenter::deviceDisappeared, this,
            &DVDBurnNotification::devicesChangedNotification);
    center->addObserver(this);
}

DVDBurnNotification::~DVDBurnNotification()
{
    DRNotificationCenter::currentRunLoopCenter()->removeObserver(this);
}

void DVDBurnNotification::deviceStatusChangedNotification()
{
    if (auto* delegate = dynamic_cast<DVDBurnDeviceStatusDelegate*>(delegate_.data())) {
        delegate->deviceStatusDidChanged();
    }
}

void DVDBurnNotification::devicesChangedNotification()
{
    if (auto* delegate = dynamic_cast<DVDBurnDevicesDelegate*>(delegate_.data())) {
        delegate->devicesDidChanged();
    }
}
