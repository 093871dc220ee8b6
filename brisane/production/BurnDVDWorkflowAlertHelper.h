#pragma once
// Carries the answer of the burn-failed sheet to the production thread,
// which polls alertReturn() while the sheet is up on the main thread.
//
// alertDidEnd stores the return code, then sets alertReturn. The helper also
// holds the sheet once it has begun, so that the production thread can
// enable its buttons and take it away when the run ends without an answer
// (dismissSheet; a sheet that begins after that is taken away at once).
// Thread-safe.

#include <memory>
#include <mutex>

class AlertSheet;

class BurnDVDWorkflowAlertHelper {
public:
    int returnCode() const;
    bool alertReturn() const;
    // The sheet's end call: the answer, then the flag.
    void alertDidEnd(int returnCode);

    // The sheet, once it has begun (null before).
    std::shared_ptr<AlertSheet> sheet() const;
    void setSheet(const std::shared_ptr<AlertSheet>& sheet);
    // Takes the sheet away, now or as soon as it begins.
    void dismissSheet();
    bool isDismissed() const;

private:
    mutable std::mutex m_mutex;
    int m_returnCode = 0;
    bool m_alertReturn = false;
    bool m_dismissed = false;
    std::shared_ptr<AlertSheet> m_sheet;
};
