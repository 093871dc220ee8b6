#pragma once
// A window controller of the slideshow editor: it owns one dialog window that
// runs as a sheet on another window (the window it is sheeted on), either
// modally until it is ended (runSheet) or just shown over that window
// (beginSheet).
//
// The dialog becomes a child window of the sheeted window, so that Qt blocks
// that window while the sheet is up. Should the sheeted window be destroyed
// first and take the dialog with it, window() answers null until a subclass
// makes a new one (remakeWindowIfGone).
// Escape and the window's close box do not dismiss the sheet by themselves:
// they call sheetRejected(), which ends the sheet unless a subclass does
// otherwise. Main thread only.

#include <QDialog>
#include <QObject>
#include <QPointer>

class SheetWindowController : public QObject {
    Q_OBJECT
public:
    // A controller whose window is sheeted on `sheetedWindow` (none: its window
    // is a window of its own, modal to the application while it runs).
    explicit SheetWindowController(QWidget* sheetedWindow = nullptr);
    // Ends a running sheet and destroys the window.
    ~SheetWindowController() override;

    QDialog* window() const { return m_window; }
    QWidget* wndSheetedWindow() const { return m_sheetedWindow; }
    // Not owned. The window moves onto the new one.
    void setWndSheetedWindow(QWidget* window);

    bool isSheetRunning() const { return m_running; }

protected:
    // Shows the window as a sheet and runs it until endSheet; answers the
    // dialog's result.
    int runSheet();
    // Shows the window as a sheet without a modal run; returns at once.
    void beginSheet();
    // Stops the modal run when there is one, and orders the window out.
    void endSheet();
    // Escape or the close box; ends the sheet by default.
    virtual void sheetRejected();
    // Makes a new, empty window when the old one went with the window it was
    // sheeted on; true when it did (the caller fills the new one).
    bool remakeWindowIfGone();

private:
    class Window;
    void attach();

    QPointer<QDialog> m_window;
    QPointer<QWidget> m_sheetedWindow;
    bool m_running = false;
};
