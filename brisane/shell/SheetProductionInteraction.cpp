#include "shell/SheetProductionInteraction.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

#include "common/MainThread.h"
#include "common/widgets/AlertService.h"

namespace {

// The longest sleep between two looks at the sheet and the run.
constexpr int waitSliceMs = 20;

// Sleeps up to `milliseconds`, waking early once `until` answers true.
void waitUntil(int milliseconds, const std::function<bool()>& until)
{
    QElapsedTimer clock;
    clock.start();
    while (!until()) {
        const qint64 left = milliseconds - clock.elapsed();
        if (left <= 0) {
            return;
        }
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, waitSliceMs)));
    }
}

}  // namespace

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
    const auto cancelled = [&question] { return question.isCancelled && question.isCancelled(); };
    for (;;) {
        waitUntil(question.pollMs, [&] { return sheet->hasEnded() || cancelled(); });
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
