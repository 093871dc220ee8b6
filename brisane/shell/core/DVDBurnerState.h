#pragma once
// IBurnerState over a DVDBurn (not owned; it must outlive this object).
#include "shell/core/IBurnerState.h"

class DVDBurn;

class DVDBurnerState : public IBurnerState {
public:
    explicit DVDBurnerState(DVDBurn* burner) : m_burner(burner) {}

    QStringList deviceNames() const override;
    void setDevice(int index) override;
    bool hasDevice() const override;
    bool mediaIsPresent() const override;
    bool mediaIsBlank() const override;
    bool mediaIsOverwritable() const override;
    qint64 mediaWritableSpace() const override;
    quint32 mediaSpaceFree() const override;
    quint32 mediaSpaceUsed() const override;
    quint32 mediaSpaceOverwritable() const override;

private:
    DVDBurn* m_burner;
};
