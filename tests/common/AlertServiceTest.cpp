// Alerts as message boxes: the answer codes of the three buttons, a sheet
// that does not wait and whose buttons are enabled later (from any thread),
// and a sheet its owner takes away.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <thread>

#include "common/widgets/WidgetAlertService.h"

namespace {

const AlertContent kSave{"Do you want to save the changes made to the document?",
                         "Your changes will be lost if you don't save them.", "Save", "Don't Save",
                         "Cancel"};

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title)
{
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == title) {
            return button;
        }
    }
    return nullptr;
}

template <typename Predicate>
bool waitUntil(Predicate done, int milliseconds = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

TEST(WidgetAlertServiceTest, runAlertAnswersTheReturnCodeOfThePressedButton)
{
    struct Case {
        const char* press;
        int expected;
    };
    const Case cases[] = {{"Save", 1}, {"Don't Save", 0}, {"Cancel", -1}};
    QWidget window;
    window.show();
    WidgetAlertService service;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen << box->text() << box->informativeText();
            EXPECT_EQ(box->parentWidget(), &window);
            EXPECT_EQ(box->windowModality(), Qt::WindowModal);
            EXPECT_EQ(box->buttons().size(), 3);
            buttonTitled(box, c.press)->click();
        });
        EXPECT_EQ(service.runAlert(kSave, &window), c.expected);
        EXPECT_EQ(seen, (QStringList{kSave.message, kSave.informativeText}));
    }
}

TEST(WidgetAlertServiceTest, anAlertWithoutButtonTitlesHasOneOk)
{
    WidgetAlertService service;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->buttons().first()->text(), "OK");
        box->buttons().first()->click();
    });
    EXPECT_EQ(service.runAlert({"DVD Burn Success", "", "", "", ""}, nullptr), 1);

    // Closed without a button (Escape with no other button): the other code.
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->reject();
    });
    EXPECT_EQ(service.runAlert({"Burn Failed", "", "Retry", "Cancel", ""}, nullptr), -1);
}

TEST(WidgetAlertServiceTest, aSheetReturnsAtOnceAndItsButtonsFollowLaterChanges)
{
    QWidget window;
    window.show();
    WidgetAlertService service;
    QList<int> ended;
    const auto sheet = service.beginAlertSheet(
        {"Burn Failed", "It maybe caused by the DVD Disc or the DVD Driver.", "Retry", "Cancel",
         ""},
        &window, [&](int code) { ended << code; });
    ASSERT_FALSE(sheet->hasEnded());
    const QList<QMessageBox*> boxes = window.findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    QMessageBox* box = boxes.first();
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->buttons().size(), 2);
    QAbstractButton* retry = buttonTitled(box, "Retry");
    ASSERT_NE(retry, nullptr);
    EXPECT_TRUE(retry->isEnabled());

    // The waiting thread turns Retry off and on; the box follows on its own thread.
    std::thread([&] { sheet->setButtonEnabled(AlertService::DefaultReturn, false); }).join();
    EXPECT_TRUE(waitUntil([&] { return !retry->isEnabled(); }));
    std::thread([&] { sheet->setButtonEnabled(AlertService::DefaultReturn, true); }).join();
    EXPECT_TRUE(waitUntil([&] { return retry->isEnabled(); }));
    sheet->setButtonEnabled(AlertService::DefaultReturn, false);
    EXPECT_TRUE(waitUntil([&] { return !retry->isEnabled(); }));

    buttonTitled(box, "Cancel")->click();
    EXPECT_TRUE(waitUntil([&] { return sheet->hasEnded(); }));
    EXPECT_EQ(sheet->returnCode(), AlertService::AlternateReturn);
    EXPECT_EQ(ended, QList<int>{0});
    // The box goes; a late change from the waiting thread is harmless.
    EXPECT_TRUE(waitUntil([&] { return window.findChildren<QMessageBox*>().isEmpty(); }));
    sheet->setButtonEnabled(AlertService::DefaultReturn, true);
    QCoreApplication::processEvents();
}

TEST(WidgetAlertServiceTest, aSheetDismissedByItsOwnerGoesWithoutAnAnswer)
{
    QWidget window;
    window.show();
    WidgetAlertService service;
    QList<int> ended;
    const auto sheet = service.beginAlertSheet({"Burn Failed", "", "Retry", "Cancel", ""}, &window,
                                               [&](int code) { ended << code; });
    // Turned off on the main thread right after it began: off before the
    // box is ever drawn.
    sheet->setButtonEnabled(AlertService::DefaultReturn, false);
    const QList<QMessageBox*> boxes = window.findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_FALSE(buttonTitled(boxes.first(), "Retry")->isEnabled());

    // The waiting thread gives up on the answer: the box goes, no answer comes.
    std::thread([&] { sheet->dismiss(); }).join();
    EXPECT_TRUE(sheet->hasEnded());
    EXPECT_EQ(sheet->returnCode(), AlertService::OtherReturn);
    EXPECT_TRUE(waitUntil([&] { return window.findChildren<QMessageBox*>().isEmpty(); }));
    EXPECT_TRUE(ended.isEmpty());
    sheet->dismiss();
    EXPECT_FALSE(sheet->end(AlertService::DefaultReturn));
}

TEST(AlertSheetTest, endsOnceWithTheFirstAnswer)
{
    AlertSheet sheet({"m", "", "Retry", "Cancel", ""});
    EXPECT_FALSE(sheet.hasEnded());
    EXPECT_EQ(sheet.returnCode(), AlertService::OtherReturn);
    EXPECT_TRUE(sheet.end(AlertService::DefaultReturn));
    EXPECT_FALSE(sheet.end(AlertService::AlternateReturn));
    EXPECT_TRUE(sheet.hasEnded());
    EXPECT_EQ(sheet.returnCode(), AlertService::DefaultReturn);
}

}  // namespace
