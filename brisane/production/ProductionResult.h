#pragma once
// How one production step ended: it succeeded, it was cancelled, or it failed
// for a reason a person can read (the reason is empty otherwise). The steps
// log their own lines as well; the result is what the caller shows, unless
// the step has shown the failure itself already (failedAndShown).

#include <QString>

class ProductionResult {
public:
    enum class Status { Succeeded, Cancelled, Failed };

    static ProductionResult succeeded() { return ProductionResult(Status::Succeeded, {}); }
    static ProductionResult cancelled() { return ProductionResult(Status::Cancelled, {}); }
    static ProductionResult failed(const QString& reason);
    // A failure the user has been told about already: the caller shows
    // nothing more.
    static ProductionResult failedAndShown(const QString& reason);

    Status status() const { return m_status; }
    bool isSucceeded() const { return m_status == Status::Succeeded; }
    bool isCancelled() const { return m_status == Status::Cancelled; }
    bool isFailed() const { return m_status == Status::Failed; }
    // Why the step failed; empty unless it failed.
    QString reason() const { return m_reason; }
    bool wasShown() const { return m_shown; }
    // "succeeded", "cancelled" or "failed: <reason>", for log lines and tests.
    QString toString() const;

private:
    ProductionResult(Status status, QString reason);

    Status m_status;
    QString m_reason;
    bool m_shown = false;
};
