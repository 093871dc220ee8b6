#pragma once
// Stands in for the chapter editor until the program has one: it opens
// nothing and writes a log line for each call.

#include <QPointer>
#include <QWidget>

#include "shell/IClipEditWindowController.h"

class PendingClipEditWindowController : public IClipEditWindowController {
public:
    // The sheet window is made as a hidden child of `parent`.
    explicit PendingClipEditWindowController(QWidget* parent = nullptr);
    ~PendingClipEditWindowController() override;

    QWidget* window() override;
    void showWindowWithMediaData(const std::shared_ptr<MediaData>& media) override;

private:
    QPointer<QWidget> m_window;
};
