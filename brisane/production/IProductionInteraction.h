#pragma once
// What the production steps ask of the person running them, and tell them.
// The steps call it on their own thread; each call returns once answered, so
// the step waits meanwhile. The shell answers with sheets on the production
// window; tests answer from a script. Without one the steps only log.

#include <QString>
#include <functional>
#include <memory>

#include "common/ChangeWait.h"

class IProductionInteraction {
public:
    // A message with one "OK": the title and the text beneath it.
    struct Message {
        QString message;
        QString informativeText;
    };

    // The question after a failed burn, asked until it is answered.
    struct RetryQuestion {
        QString message;
        QString informativeText;
        QString retryButton;
        QString cancelButton;
        // Whether a burn may start again now (a blank disc with room for the
        // image in the drive). "Retry" starts disabled and follows this,
        // looked at every `pollMs` milliseconds; safe to call from any thread.
        std::function<bool()> canRetry;
        // True once the run has been cancelled: the question is taken away
        // and answers as "Cancel".
        std::function<bool()> isCancelled;
        int pollMs = 1000;
        // Woken when the run is cancelled; the question wakes it too when
        // its sheet ends, and waits on it between two looks at the disc.
        std::shared_ptr<ChangeWait> changes;
    };

    virtual ~IProductionInteraction() = default;

    // Tells how a step ended; returns once the person has seen it.
    virtual void report(const Message& message) = 0;
    // Answers true for "Retry", false for "Cancel" or a cancelled run.
    virtual bool askToRetry(const RetryQuestion& question) = 0;
};
