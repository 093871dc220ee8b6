#pragma once
// What the burn step uses of a burner: the medium, preparing and starting a
// burn, and the burn's state. DVDBurnAdapter answers it from Corvane's
// DVDBurn; tests script it.
//
// As a step object its progress is the burn's (0 to 1) and cancel aborts the
// running burn, which then ends failed. The workflow calls prepareForBurn and
// burnISOPath on the main thread; everything else may be called from any
// thread.

#include <QString>
#include <QtGlobal>
#include <functional>

#include "production/IProductionStep.h"

class IDiscBurner : public IProductionStep {
public:
    // Bytes that can be written to the disc in the chosen drive.
    virtual qint64 mediaWritableSpace() const = 0;
    virtual bool mediaIsBlank() const = 0;
    // A drive is chosen and still attached.
    virtual bool hasDevice() const = 0;

    // Forgets the last burn's outcome and gets ready for a new one.
    virtual void prepareForBurn() = 0;
    // Starts burning the image; false when it could not start.
    virtual bool burnISOPath(const QString& path) = 0;

    virtual bool isFinished() const = 0;
    virtual bool isFailed() const = 0;
    // A started burn has not ended yet.
    virtual bool isBurning() const = 0;
    // The burn's last status as text, for the log and the failure report.
    virtual QString statusText() const = 0;

    // Called, on any thread and outside the burner's own locks, after its
    // burn state or its drive changed (isFinished, isFailed, isBurning,
    // hasDevice), so that a watch waits for the change instead of looking
    // again and again; it must only wake the waiter. Null stops the calls.
    virtual void setChangeHandler(std::function<void()> changed) = 0;
};
