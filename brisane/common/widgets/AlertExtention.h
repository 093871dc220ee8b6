#pragma once
// The application's two prepared alerts and the sheet that runs an operation
// for the answer.
//
// An alert has up to three answers: the default button (answer 0), the
// alternate button (1) and the other button (2). When the sheet ends, the
// operation at the answer's position in the list given (when there is one)
// goes on the main operation queue with its dependencies. Texts pass through
// the translation of context "Alert". Call on the main thread.

#include <QList>
#include <QString>
#include <memory>

#include "common/Operation.h"

class QAbstractButton;
class QMessageBox;
class QObject;
class QWidget;

class AlertExtention {
public:
    AlertExtention() = delete;

    // The answers, in the positions of the operation list.
    enum Answer { DefaultButton = 0, AlternateButton = 1, OtherButton = 2 };

    // "Do you want to save the changes you made in the Document?" with
    // "Save", "Don't Save" and "Cancel".
    static QMessageBox* saveAlert();
    // "The Follow files in your project can not be opened." with "Continue"
    // and "Cancel" (its alternate button has no title and is not shown).
    static QMessageBox* alertWarnBrokenFiles();

    // Shows the alert as a sheet on the window and takes it over: it is
    // deleted when the sheet ends, after the chosen operation is queued. A
    // null window shows it as an application-modal alert.
    static void beginSheetModalForWindow(QMessageBox* alert, QWidget* window,
                                         const QList<std::shared_ptr<Operation>>& actions);
    // The same on the application's active window.
    static void beginSheetWithAction(QMessageBox* alert,
                                     const QList<std::shared_ptr<Operation>>& actions);
    // The same with no operations.
    static void beginSheet(QMessageBox* alert);

    // A new alert with the texts as given (already translated); each titled
    // button carries its answer. With no button title at all it has one "OK"
    // default button.
    static QMessageBox* alertWithMessageText(const QString& message, const QString& defaultTitle,
                                             const QString& alternateTitle,
                                             const QString& otherTitle,
                                             const QString& informativeText);

    // The answer a button of a prepared alert stands for; -1 for none.
    static int answerOfButton(const QObject* button);
    // The button of an alert standing for the answer; null for none.
    static QAbstractButton* buttonOfAnswer(const QMessageBox* alert, int answer);
    // The return code of an answer: 1 for the default button, 0 for the
    // alternate button, -1 for the other button or none.
    static int returnCodeOfAnswer(int answer);
};
