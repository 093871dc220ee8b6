#pragma once
// Implemented by a DVDBurnNotification delegate that wants to hear when DVD
// writers are attached or removed.

class DVDBurnDevicesDelegate {
public:
    virtual ~DVDBurnDevicesDelegate() = default;
    virtual void devicesDidChanged() = 0;
};
