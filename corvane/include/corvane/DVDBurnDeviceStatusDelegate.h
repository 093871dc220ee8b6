#pragma once
// Implemented by a DVDBurnNotification delegate that wants to hear when a
// writer's medium changes (inserted, ejected, written).

class DVDBurnDeviceStatusDelegate {
public:
    virtual ~DVDBurnDeviceStatusDelegate() = default;
    virtual void deviceStatusDidChanged() = 0;
};
