#pragma once
// The main window's DVDBurn as the burner of the burn step. The DVDBurn is
// not owned and must outlive the adapter (the main window keeps it for its
// whole life); the drive chosen on it is the one that burns.

#include "production/IDiscBurner.h"

class DVDBurn;

class DVDBurnAdapter : public IDiscBurner {
public:
    explicit DVDBurnAdapter(DVDBurn* burner) : m_burner(burner) {}

    DVDBurn* burner() const { return m_burner; }

    double progress() const override;
    void cancel() override;
    qint64 mediaWritableSpace() const override;
    bool mediaIsBlank() const override;
    bool hasDevice() const override;
    void prepareForBurn() override;
    bool burnISOPath(const QString& path) override;
    bool isFinished() const override;
    bool isFailed() const override;
    bool isBurning() const override;
    QString statusText() const override;

private:
    DVDBurn* m_burner;
};
