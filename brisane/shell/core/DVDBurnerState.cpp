#include "shell/core/DVDBurnerState.h"

#include "corvane/DVDBurn.h"

QStringList DVDBurnerState::deviceNames() const
{
    QStringList names;
    for (const DRDevicePtr& device : m_burner->devices()) {
        names.append(device ? device->displayName() : QString());
    }
    return names;
}

void DVDBurnerState::setDevice(int index)
{
    const QList<DRDevicePtr> devices = m_burner->devices();
    if (index >= 0 && index < devices.size()) {
        m_burner->setDevice(devices.at(index));
    }
}

bool DVDBurnerState::hasDevice() const
{
    return m_burner->device() != nullptr;
}

bool DVDBurnerState::mediaIsPresent() const
{
    return m_burner->mediaIsPresent();
}

bool DVDBurnerState::mediaIsBlank() const
{
    return m_burner->mediaIsBlank();
}

bool DVDBurnerState::mediaIsOverwritable() const
{
    const DRDevicePtr device = m_burner->device();
    return device && device->mediaIsOverwritable();
}

qint64 DVDBurnerState::mediaWritableSpace() const
{
    return m_burner->mediaWritableSpace();
}

quint32 DVDBurnerState::mediaSpaceFree() const
{
    const DRDevicePtr device = m_burner->device();
    return device ? device->mediaSpaceFree() : 0;
}

quint32 DVDBurnerState::mediaSpaceUsed() const
{
    const DRDevicePtr device = m_burner->device();
    return device ? device->mediaSpaceUsed() : 0;
}

quint32 DVDBurnerState::mediaSpaceOverwritable() const
{
    const DRDevicePtr device = m_burner->device();
    return device ? device->mediaSpaceOverwritable() : 0;
}
