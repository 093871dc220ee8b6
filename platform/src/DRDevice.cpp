#include "platform/DRDevice.h"

#include <QMutexLocker>

#include "DRDeviceRegistry.h"

QList<DRDevicePtr> DRDevice::devices()
{
    return DRDeviceRegistry::instance().devices();
}

DRDevicePtr DRDevice::pseudoDevice(const QString& filePath)
{
    return DRDeviceRegistry::instance().addPseudoDevice(filePath);
}

void DRDevice::forgetPseudoDevice(const DRDevicePtr& device)
{
    DRDeviceRegistry::instance().removePseudoDevice(device);
}

DRDevice::DRDevice(const QString& address, const QString& displayName, bool writesDVD, bool pseudo)
    : address_(address), displayName_(displayName), writesDVD_(writesDVD), pseudo_(pseudo)
{
}

bool DRDevice::isValid() const
{
    QMutexLocker lock(&mutex_);
    return valid_;
}

DRDevice::Media DRDevice::media() const
{
    QMutexLocker lock(&mutex_);
    return media_;
}

bool DRDevice::updateMedia(const Media& media)
{
    QMutexLocker lock(&mutex_);
    if (media_ == media) {
        return false;
    }
    media_ = media;
    return true;
}

void DRDevice::invalidate()
{
    QMutexLocker lock(&mutex_);
    valid_ = false;
    media_ = Media();
}
