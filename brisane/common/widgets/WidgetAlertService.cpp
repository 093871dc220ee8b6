#include "common/widgets/WidgetAlertService.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QThread>

#include "common/widgets/AlertExtention.h"

namespace {

QMessageBox* makeBox(const AlertContent& alert, QWidget* window)
{
    QMessageBox* box = AlertExtention::alertWithMessageText(
        alert.message, alert.defaultButton, alert.alternateButton, alert.otherButton,
        alert.informativeText);
    if (window) {
        box->setParent(window->window(), box->windowFlags() | Qt::Sheet);
        box->setWindowModality(Qt::WindowModal);
    } else {
        box->setWindowModality(Qt::ApplicationModal);
    }
    return box;
}

int returnCodeOf(const QMessageBox* box)
{
    return AlertExtention::returnCodeOfAnswer(AlertExtention::answerOfButton(box->clickedButton()));
}

// Shows the sheet's enabled states on the box's buttons.
void applyButtonStates(QMessageBox* box, const AlertSheet& sheet)
{
    for (int answer : {AlertExtention::DefaultButton, AlertExtention::AlternateButton,
                       AlertExtention::OtherButton}) {
        if (QAbstractButton* button = AlertExtention::buttonOfAnswer(box, answer)) {
            button->setEnabled(sheet.isButtonEnabled(AlertExtention::returnCodeOfAnswer(answer)));
        }
    }
}

// Runs `work` on the main thread: at once when already there, else queued.
void onMainThread(const std::function<void()>& work)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        work();
    } else {
        QMetaObject::invokeMethod(app, work, Qt::QueuedConnection);
    }
}

}  // namespace

int WidgetAlertService::runAlert(const AlertContent& alert, QWidget* window)
{
    QMessageBox* box = makeBox(alert, window);
    box->exec();
    const int code = returnCodeOf(box);
    delete box;
    return code;
}

std::shared_ptr<AlertSheet> WidgetAlertService::beginAlertSheet(const AlertContent& alert,
                                                                QWidget* window,
                                                                std::function<void(int)> didEnd)
{
    auto sheet = std::make_shared<AlertSheet>(alert);
    QMessageBox* box = makeBox(alert, window);
    // Button changes may come from any thread: the guard is only shared
    // there, and read on the main thread, where the box lives.
    const auto guard = std::make_shared<QPointer<QMessageBox>>(box);
    std::weak_ptr<AlertSheet> weakSheet = sheet;
    // A change made on the main thread shows at once, so a button disabled
    // right after the sheet began is never drawn enabled.
    sheet->setButtonsChangedHandler([guard, weakSheet] {
        onMainThread([guard, weakSheet] {
            const auto sheet = weakSheet.lock();
            if (*guard && sheet) {
                applyButtonStates(guard->data(), *sheet);
            }
        });
    });
    sheet->setDismissHandler([guard] {
        onMainThread([guard] {
            if (*guard) {
                (*guard)->done(QMessageBox::Cancel);
            }
        });
    });
    QObject::connect(box, &QMessageBox::finished, box, [box, sheet, didEnd] {
        sheet->setButtonsChangedHandler({});
        sheet->setDismissHandler({});
        if (sheet->end(returnCodeOf(box)) && didEnd) {
            didEnd(sheet->returnCode());
        }
        box->deleteLater();
    });
    applyButtonStates(box, *sheet);
    box->open();
    return sheet;
}
