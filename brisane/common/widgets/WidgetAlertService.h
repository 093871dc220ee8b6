#pragma once
// The alerts as message boxes, built by AlertExtention: window-modal sheets
// on the given window, application-modal alerts without one. Main thread;
// a sheet's buttons may be enabled from any thread.

#include "common/widgets/AlertService.h"

class WidgetAlertService : public AlertService {
public:
    int runAlert(const AlertContent& alert, QWidget* window) override;
    std::shared_ptr<AlertSheet> beginAlertSheet(const AlertContent& alert, QWidget* window,
                                                std::function<void(int)> didEnd = {}) override;
};
