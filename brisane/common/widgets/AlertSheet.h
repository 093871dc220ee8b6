#pragma once
// The texts of an alert and the handle of an alert sheet that does not wait.
//
// A sheet ends once, with the return code of the button pressed
// (AlertService::ReturnCode), or when its owner dismisses it. Until then its
// buttons may be enabled and disabled from any thread; a thread that waits
// for the answer is woken by the end handler. Every operation is
// thread-safe.

#include <QMap>
#include <QMutex>
#include <QString>
#include <functional>

// An alert's texts. An empty button title gives no button; when all three
// are empty the alert has one "OK" default button.
struct AlertContent {
    QString message;
    QString informativeText;
    QString defaultButton;
    QString alternateButton;
    QString otherButton;
};

class AlertSheet {
public:
    explicit AlertSheet(AlertContent content);
    AlertSheet(const AlertSheet&) = delete;
    AlertSheet& operator=(const AlertSheet&) = delete;

    const AlertContent& content() const { return m_content; }

    // Enables or disables the button of that return code (all start enabled).
    void setButtonEnabled(int returnCode, bool enabled);
    bool isButtonEnabled(int returnCode) const;

    bool hasEnded() const;
    // Ends the sheet from the owner's side (the work it asked about is over)
    // and has the service take it off the screen. The end call of the sheet
    // is not run. Nothing happens once the sheet has ended.
    void dismiss();
    // The answer once ended; AlertService::OtherReturn before.
    int returnCode() const;

    // For the service showing the sheet: ends it with the answer (only the
    // first call counts; answers whether this one did), and the call run
    // after every button change, on the changing thread.
    bool end(int returnCode);
    void setButtonsChangedHandler(std::function<void()> handler);
    // The call that takes the sheet off the screen, run by dismiss on the
    // dismissing thread.
    void setDismissHandler(std::function<void()> handler);
    // The call run once the sheet has ended (answered or dismissed), on the
    // ending thread, outside the sheet's lock; run at once when it has
    // ended already. It must only wake a waiter.
    void setEndHandler(std::function<void()> handler);

private:
    const AlertContent m_content;
    mutable QMutex m_mutex;
    QMap<int, bool> m_enabled;
    bool m_ended = false;
    int m_returnCode;
    std::function<void()> m_buttonsChanged;
    std::function<void()> m_dismiss;
    std::function<void()> m_endedHandler;
};
