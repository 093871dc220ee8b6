#pragma once
// Alerts with answers, replaceable as a whole: the program shows message
// boxes (WidgetAlertService), tests install a recording fake.
//
// An alert has up to three buttons; the answer is the return code of the
// one pressed. runAlert waits for the answer; beginAlertSheet returns at
// once with a handle whose buttons can be enabled later and which tells when
// it has ended. Both are called on the main thread; a background thread
// hands the call to the main thread itself.

#include <QString>
#include <functional>
#include <memory>

#include "common/widgets/AlertSheet.h"

class QWidget;

class AlertService {
public:
    enum ReturnCode {
        DefaultReturn = 1,    // the default button
        AlternateReturn = 0,  // the alternate button
        OtherReturn = -1,     // the other button, or the alert closed without one
    };

    virtual ~AlertService();

    // Shows the alert and waits for the answer: as a window-modal sheet on
    // the window holding `window`, application-modal when it is null.
    virtual int runAlert(const AlertContent& alert, QWidget* window) = 0;
    // Begins the alert as a sheet (application-modal when `window` is null)
    // and returns at once. `didEnd` runs on the main thread with the answer
    // once the sheet has ended.
    virtual std::shared_ptr<AlertSheet> beginAlertSheet(const AlertContent& alert, QWidget* window,
                                                        std::function<void(int)> didEnd = {}) = 0;

    // The installed service, or the message boxes.
    static std::shared_ptr<AlertService> current();
    // Installs a service for the whole process; null restores the default.
    static void install(std::shared_ptr<AlertService> service);
};
