#pragma once
// The main window's DVDBurn as the burner of the burn step. The DVDBurn is
// not owned and must outlive the adapter (the main window keeps it for its
// whole life); the drive chosen on it is the one that burns.

#include <QMetaObject>

#include "production/IDiscBurner.h"

class DVDBurn;

class DVDBurnAdapter : public IDiscBurner {
public:
    explicit DVDBurnAdapter(DVDBurn* burner) : m_burner(burner) {}
    ~DVDBurnAdapter() override;

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
    // Follows the DVDBurn's burnStateChanged.
    void setChangeHandler(std::function<void()> changed) override;

private:
    DVDBurn* m_burner;
    QMetaObject::Connection m_changed;
};
