#include "common/widgets/AlertExtention.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

#include "common/OperationQueue.h"

namespace {

const char* const kAnswerProperty = "alertAnswer";

QString localized(const char* text)
{
    return QCoreApplication::translate("Alert", text);
}

QMessageBox* makeAlert(const char* message, const char* informative, const char* defaultTitle,
                       const char* alternateTitle, const char* otherTitle)
{
    const auto text = [](const char* source) { return *source ? localized(source) : QString(); };
    return AlertExtention::alertWithMessageText(text(message), text(defaultTitle),
                                                text(alternateTitle), text(otherTitle),
                                                text(informative));
}

}  // namespace

QMessageBox* AlertExtention::alertWithMessageText(const QString& message,
                                                  const QString& defaultTitle,
                                                  const QString& alternateTitle,
                                                  const QString& otherTitle,
                                                  const QString& informativeText)
{
    auto* alert = new QMessageBox();
    alert->setIcon(QMessageBox::Warning);
    alert->setText(message);
    alert->setInformativeText(informativeText);
    struct Button {
        QString title;
        QMessageBox::ButtonRole role;
        int answer;
    };
    const bool untitled =
        defaultTitle.isEmpty() && alternateTitle.isEmpty() && otherTitle.isEmpty();
    const Button buttons[] = {
        {untitled ? localized("OK") : defaultTitle, QMessageBox::AcceptRole, DefaultButton},
        {alternateTitle, QMessageBox::DestructiveRole, AlternateButton},
        {otherTitle, QMessageBox::RejectRole, OtherButton},
    };
    for (const Button& button : buttons) {
        if (button.title.isEmpty()) {
            continue;
        }
        QPushButton* added = alert->addButton(button.title, button.role);
        added->setProperty(kAnswerProperty, button.answer);
        if (button.answer == DefaultButton) {
            alert->setDefaultButton(added);
        } else if (button.answer == OtherButton) {
            alert->setEscapeButton(added);
        }
    }
    return alert;
}

QAbstractButton* AlertExtention::buttonOfAnswer(const QMessageBox* alert, int answer)
{
    if (!alert) {
        return nullptr;
    }
    for (QAbstractButton* button : alert->buttons()) {
        if (answerOfButton(button) == answer) {
            return button;
        }
    }
    return nullptr;
}

int AlertExtention::returnCodeOfAnswer(int answer)
{
    switch (answer) {
        case DefaultButton:
            return 1;
        case AlternateButton:
            return 0;
        default:
            return -1;
    }
}

QMessageBox* AlertExtention::saveAlert()
{
    return makeAlert(
        QT_TRANSLATE_NOOP("Alert", "Do you want to save the changes you made in the Document?"), "",
        QT_TRANSLATE_NOOP("Alert", "Save"), QT_TRANSLATE_NOOP("Alert", "Don't Save"),
        QT_TRANSLATE_NOOP("Alert", "Cancel"));
}

QMessageBox* AlertExtention::alertWarnBrokenFiles()
{
    return makeAlert(
        QT_TRANSLATE_NOOP("Alert", "The Follow files in your project can not be opened."),
        QT_TRANSLATE_NOOP("Alert", "please make sure the file were not changed."),
        QT_TRANSLATE_NOOP("Alert", "Continue"), "", QT_TRANSLATE_NOOP("Alert", "Cancel"));
}

int AlertExtention::answerOfButton(const QObject* button)
{
    if (!button) {
        return -1;
    }
    bool ok = false;
    const int answer = button->property(kAnswerProperty).toInt(&ok);
    return ok ? answer : -1;
}

void AlertExtention::beginSheetModalForWindow(QMessageBox* alert, QWidget* window,
                                              const QList<std::shared_ptr<Operation>>& actions)
{
    if (!alert) {
        return;
    }
    if (window) {
        alert->setParent(window->window(), alert->windowFlags() | Qt::Sheet);
        alert->setWindowModality(Qt::WindowModal);
    } else {
        alert->setWindowModality(Qt::ApplicationModal);
    }
    // The list is kept until the sheet ends, then let go with the alert.
    QObject::connect(alert, &QMessageBox::finished, alert, [alert, actions] {
        const int answer = answerOfButton(alert->clickedButton());
        if (answer >= 0 && answer < actions.size() && actions.at(answer)) {
            OperationQueue::mainQueue().addOperationWithDependency(actions.at(answer));
        }
        alert->deleteLater();
    });
    alert->open();
}

void AlertExtention::beginSheetWithAction(QMessageBox* alert,
                                          const QList<std::shared_ptr<Operation>>& actions)
{
    beginSheetModalForWindow(alert, QApplication::activeWindow(), actions);
}

void AlertExtention::beginSheet(QMessageBox* alert)
{
    beginSheetWithAction(alert, {});
}
