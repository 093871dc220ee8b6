#pragma once
// The application's one busy sheet: a small grey window with an animated
// progress indicator, put over a window while background work runs so that
// the user cannot act on that window meanwhile.
//
// Threads: startShowingBusyWindow and endShowingBusyWindow may be called from
// any thread. The work is done on the main thread; a caller on another thread
// blocks until it is done (the sheet is up when show returns, gone when hide
// returns); on the main thread both run at once. The caller must not hold
// anything the main thread waits for. Everything else: main thread only.
//
// Should a window it covers be destroyed with the sheet on it, the sheet is
// made again the next time it is shown.

#include <QPointer>
#include <QProgressBar>

#include "slideshow/SheetWindowController.h"

class BusyWindowController : public SheetWindowController {
    Q_OBJECT
public:
    // The one instance, made on first use (on the main thread, whichever
    // thread asks) and kept for the life of the application.
    static BusyWindowController* sharedBusyWindowController();

    void startShowingBusyWindow(QWidget* window);
    void endShowingBusyWindow();

    // Main thread: show the sheet over `window` and start the indicator;
    // stop the indicator and take the sheet away.
    void startAnmationBusy(QWidget* window);
    void stopAnmationBusy();

    // The indicator moves only while the sheet is shown.
    bool isAnimating() const;
    QProgressBar* exportProgressId() const { return m_progress.data(); }

protected:
    // The busy sheet is not dismissed by the user.
    void sheetRejected() override {}

private:
    BusyWindowController();
    // Fills the window: the indicator on grey.
    void loadWindow();
    void awakeFromNib();

    QPointer<QProgressBar> m_progress;  // owned by the window
};
