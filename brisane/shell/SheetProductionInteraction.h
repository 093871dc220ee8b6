#pragma once
// The production steps' reports and questions as alerts on the production
// window: a report is an alert with "OK" that the step waits for; the
// "Burn Failed" question is a sheet that the step waits on, woken by the
// sheet's end and the run's cancel, enabling "Retry" as the disc allows and
// taking the sheet away when the run is cancelled.
//
// Called on the step's thread, never on the main thread (the question waits
// for the main loop to serve the sheet); the alerts themselves go through
// AlertService on the main thread.

#include <QPointer>
#include <QWidget>

#include "production/IProductionInteraction.h"

class SheetProductionInteraction : public IProductionInteraction {
public:
    // `window` holds the sheets (not owned; null for application-modal ones).
    explicit SheetProductionInteraction(QWidget* window);

    void report(const Message& message) override;
    bool askToRetry(const RetryQuestion& question) override;

private:
    QPointer<QWidget> m_window;  // read on the main thread only
};
