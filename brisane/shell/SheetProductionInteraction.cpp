#include "shell/SheetProductionInteraction.h"

#include <QDebug>

#include "common/ChangeWait.h"
#include "common/MainThread.h"
#include "common/widgets/AlertService.h"

SheetProductionInteraction::SheetProductionInteraction(QWidget* window) : m_window(window) {}

void SheetProductionInteraction::report(const Message& message)
{
    AlertContent alert;
    alert.message = message.message;
    alert.informativeText = message.informativeText;
    alert.defaultButton = QStringLiteral("OK");
    MainThread::call([this, &alert] { AlertService::current()->runAlert(alert, m_window.data()); });
}

bool SheetProductionInteraction::askToRetry(const RetryQuestion& question)
{
    if (MainThread::isCurrent()) {
        // The sheet could never be served while this thread watches it.
        qWarning().noquote() << "the burn-failed question was asked on the main thread; "
                                "it answers Cancel";
        return false;
    }
    AlertContent alert;
    alert.message = question.message;
    alert.informativeText = question.informativeText;
    alert.defaultButton = question.retryButton;
    alert.alternateButton = question.cancelButton;
    std::shared_ptr<AlertSheet> sheet;
    MainThread::call([&] {
        sheet = AlertService::current()->beginAlertSheet(alert, m_window.data());
        if (sheet) {
            sheet->setButtonEnabled(AlertService::DefaultReturn, false);
        }
    });
    if (!sheet) {
        return false;
    }
    // Woken by the run's cancel and by the sheet's end; between two wakes
    // the disc is looked at every pollMs.
    const auto changes = question.changes ? question.changes : std::make_shared<ChangeWait>();
    sheet->setEndHandler([changes] { changes->wake(); });
    const auto cancelled = [&question] { return question.isCancelled && question.isCancelled(); };
    for (;;) {
        changes->waitFor(question.pollMs, [&] { return sheet->hasEnded() || cancelled(); });
        if (sheet->hasEnded()) {
            break;
        }
        if (cancelled()) {
            sheet->dismiss();
            return false;
        }
        sheet->setButtonEnabled(AlertService::DefaultReturn,
                                question.canRetry && question.canRetry());
    }
    return sheet->returnCode() == AlertService::DefaultReturn;
}
