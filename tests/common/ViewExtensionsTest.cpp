// View, window, cursor, drag and alert extensions.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCborValue>
#include <QContextMenuEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include "PictureOutput.h"
#include "common/CursorExtention.h"
#include "common/OperationQueue.h"
#include "common/ViewDraggingItemImp.h"
#include "common/widgets/AlertExtention.h"
#include "common/widgets/ContextClickFilter.h"
#include "common/widgets/FlippedView.h"
#include "common/widgets/MouseFirstResponderView.h"
#include "common/widgets/NoCenterWindow.h"
#include "common/widgets/ViewExtention.h"
#include "common/widgets/WindowExtention.h"

namespace {

// Records the presses it gets; offers no context menu.
class PlainView : public QWidget {
public:
    using QWidget::QWidget;
    QList<Qt::KeyboardModifiers> presses;

protected:
    void mousePressEvent(QMouseEvent* event) override { presses << event->modifiers(); }
};

// Offers a context menu (counted instead of shown).
class MenuView : public PlainView {
public:
    using PlainView::PlainView;
    int menus = 0;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        ++menus;
        event->accept();
    }
};

void press(QWidget* target, Qt::KeyboardModifiers modifiers)
{
    const QPointF at(5, 5);
    QMouseEvent event(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &event);
}

QStringList buttonTitlesByAnswer(QMessageBox* alert)
{
    QStringList titles(3);
    for (QAbstractButton* button : alert->buttons()) {
        const int answer = AlertExtention::answerOfButton(button);
        if (answer >= 0) {
            titles[answer] = button->text();
        }
    }
    return titles;
}

QAbstractButton* buttonForAnswer(QMessageBox* alert, int answer)
{
    for (QAbstractButton* button : alert->buttons()) {
        if (AlertExtention::answerOfButton(button) == answer) {
            return button;
        }
    }
    return nullptr;
}

}  // namespace

TEST(Alerts, PreparedAlertsHaveTheirExactTextsAndButtons)
{
    std::unique_ptr<QMessageBox> save(AlertExtention::saveAlert());
    EXPECT_EQ(save->text(), "Do you want to save the changes you made in the Document?");
    EXPECT_EQ(save->informativeText(), "");
    EXPECT_EQ(buttonTitlesByAnswer(save.get()), (QStringList{"Save", "Don't Save", "Cancel"}));
    EXPECT_EQ(save->defaultButton()->text(), "Save");
    EXPECT_EQ(save->escapeButton()->text(), "Cancel");

    std::unique_ptr<QMessageBox> broken(AlertExtention::alertWarnBrokenFiles());
    EXPECT_EQ(broken->text(), "The Follow files in your project can not be opened.");
    EXPECT_EQ(broken->informativeText(), "please make sure the file were not changed.");
    EXPECT_EQ(buttonTitlesByAnswer(broken.get()), (QStringList{"Continue", "", "Cancel"}));
    EXPECT_EQ(broken->buttons().size(), 2);  // no empty alternate button
}

TEST(Alerts, SheetRunsTheOperationOfTheAnswer)
{
    QWidget window;
    window.resize(300, 200);
    window.show();
    for (int answer : {0, 1, 2}) {
        QStringList ran;
        QList<std::shared_ptr<Operation>> actions;
        for (const QString name : {"save", "discard", "cancel"}) {
            actions << Operation::blockOperation([&ran, name] { ran << name; });
        }
        auto prepare = Operation::blockOperation([&ran] { ran << "prepare"; });
        actions[answer]->addDependency(prepare);
        QMessageBox* alert = AlertExtention::saveAlert();
        QPointer<QMessageBox> guard(alert);
        AlertExtention::beginSheetModalForWindow(alert, &window, actions);
        EXPECT_TRUE(alert->isVisible());
        EXPECT_EQ(alert->windowModality(), Qt::WindowModal);
        buttonForAnswer(alert, answer)->click();
        OperationQueue::mainQueue().waitUntilAllOperationsAreFinished();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QStringList names{"save", "discard", "cancel"};
        EXPECT_EQ(ran, (QStringList{"prepare", names[answer]})) << answer;
        EXPECT_TRUE(guard.isNull());  // the alert is let go when the sheet ends
    }
}

TEST(Alerts, EmptyOrShortListRunsNothing)
{
    QWidget window;
    window.show();
    int ran = 0;
    auto only = Operation::blockOperation([&ran] { ++ran; });

    QMessageBox* empty = AlertExtention::alertWarnBrokenFiles();
    AlertExtention::beginSheetModalForWindow(empty, &window, {});
    buttonForAnswer(empty, AlertExtention::DefaultButton)->click();

    QMessageBox* shortList = AlertExtention::saveAlert();
    AlertExtention::beginSheetModalForWindow(shortList, &window, {only});
    buttonForAnswer(shortList, AlertExtention::OtherButton)->click();

    QMessageBox* none = AlertExtention::saveAlert();
    AlertExtention::beginSheet(none);
    buttonForAnswer(none, AlertExtention::DefaultButton)->click();

    OperationQueue::mainQueue().waitUntilAllOperationsAreFinished();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 0);
}

TEST(Cursors, HotSpotAtTheCentreAndDiagonalPictures)
{
    QImage picture(20, 12, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::black);
    const QCursor cursor = CursorExtention::cursorWithImage(picture);
    EXPECT_EQ(cursor.hotSpot(), QPoint(10, 6));
    EXPECT_EQ(CursorExtention::resizeRotate().hotSpot(), QPoint(12, 12));
    EXPECT_EQ(CursorExtention::resizeLeftTopToRightBottom().hotSpot(), QPoint(12, 12));
    EXPECT_EQ(CursorExtention::resizeLeftBottomToRightTop().pixmap().size(), QSize(24, 24));

    auto opaque = [](const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)) > 128; };
    const QImage down = CursorExtention::resizeDiagonalImage(-45);
    EXPECT_TRUE(opaque(down, 5, 5));
    EXPECT_TRUE(opaque(down, 18, 18));
    EXPECT_FALSE(opaque(down, 18, 5));
    EXPECT_FALSE(opaque(down, 5, 18));
    const QImage up = CursorExtention::resizeDiagonalImage(45);
    EXPECT_TRUE(opaque(up, 5, 18));
    EXPECT_TRUE(opaque(up, 18, 5));
    EXPECT_FALSE(opaque(up, 5, 5));
    savePictureForViewing(down, "cursor-diagonal");
}

TEST(DragData, CarriesTheItemUnderItsPrivateType)
{
    const QVariantMap item{{"row", 3}, {"names", QStringList{"Title_1", "Title_2"}}};
    std::unique_ptr<QMimeData> data(
        ViewExtention::draggingItemWithType("private.ListDragNoneItemType", item));
    auto* writer = qobject_cast<ViewDraggingItemImp*>(data.get());
    ASSERT_NE(writer, nullptr);
    EXPECT_EQ(writer->writableTypesForPasteboard(), QStringList{"private.ListDragNoneItemType"});
    EXPECT_EQ(data->formats(), QStringList{"private.ListDragNoneItemType"});
    EXPECT_TRUE(data->hasFormat("private.ListDragNoneItemType"));
    EXPECT_FALSE(data->hasFormat("text/plain"));
    EXPECT_TRUE(data->data("text/plain").isEmpty());
    EXPECT_EQ(writer->pasteboardPropertyListForType("any.type"), QVariant(item));
    const QVariant decoded =
        QCborValue::fromCbor(data->data("private.ListDragNoneItemType")).toVariant();
    EXPECT_EQ(decoded.toMap().value("row").toInt(), 3);
    EXPECT_EQ(decoded.toMap().value("names").toStringList(), (QStringList{"Title_1", "Title_2"}));
}

TEST(ContextClick, ControlClickOpensAMenuOrPassesThroughUnchanged)
{
    ASSERT_TRUE(ContextClickFilter::install());
    ASSERT_TRUE(ContextClickFilter::install());  // once is enough
    QWidget window;
    auto* withMenu = new MenuView(&window);
    auto* plain = new PlainView(&window);
    withMenu->setGeometry(0, 0, 50, 50);
    plain->setGeometry(60, 0, 50, 50);
    window.show();

    press(withMenu, Qt::ControlModifier);
    EXPECT_EQ(withMenu->menus, 1);
    EXPECT_TRUE(withMenu->presses.isEmpty());

    press(withMenu, Qt::NoModifier);  // a plain click is the view's own
    EXPECT_EQ(withMenu->menus, 1);
    EXPECT_EQ(withMenu->presses.size(), 1);

    press(plain, Qt::ControlModifier);
    ASSERT_EQ(plain->presses.size(), 1);
    EXPECT_EQ(plain->presses.first(), Qt::ControlModifier);
    EXPECT_TRUE(ViewExtention::showContextMenu(withMenu, withMenu->mapToGlobal(QPoint(1, 1))));
    EXPECT_FALSE(ViewExtention::showContextMenu(nullptr, {}));
}

TEST(Views, GradientClipsToRoundedCornersAndKeepsTheClip)
{
    QImage canvas(100, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    ViewExtention::drawTimelineMediaViewGradient(painter, QRectF(0, 0, 100, 40));
    painter.fillRect(QRectF(0, 0, 100, 40), QColor(255, 0, 0, 0));  // clip still in force
    painter.fillRect(QRectF(0, 0, 3, 3), Qt::red);
    painter.end();
    EXPECT_EQ(qAlpha(canvas.pixel(0, 0)), 0);  // outside the rounded corner, even after
    const QColor middle = canvas.pixelColor(50, 20);
    EXPECT_NEAR(middle.red(), 105, 3);
    EXPECT_NEAR(middle.blue(), 115, 3);
    const QColor edge = canvas.pixelColor(50, 0);
    EXPECT_NEAR(edge.red(), 153, 4);
    EXPECT_NEAR(edge.green(), 164, 4);
    EXPECT_NEAR(edge.blue(), 175, 4);
    savePictureForViewing(canvas, "timeline-gradient");
}

TEST(Views, FirstResponderAndMouseFirstResponderView)
{
    QWidget window;
    auto* first = new MouseFirstResponderView(&window);
    auto* second = new MouseFirstResponderView(&window);
    first->setGeometry(0, 0, 40, 40);
    second->setGeometry(50, 0, 40, 40);
    window.show();
    window.activateWindow();
    QCoreApplication::processEvents();
    ViewExtention::makeFirstResponder(first);
    EXPECT_TRUE(ViewExtention::isFirstResponder(first));
    EXPECT_FALSE(ViewExtention::isFirstResponder(second));
    const QPointF at(5, 5);
    QMouseEvent click(QEvent::MouseButtonPress, at, second->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    click.ignore();
    QApplication::sendEvent(second, &click);
    EXPECT_TRUE(click.isAccepted());  // not passed on
    EXPECT_TRUE(ViewExtention::isFirstResponder(second));
    EXPECT_FALSE(ViewExtention::isFirstResponder(nullptr));
}

TEST(Views, ScreenToWindowConversionsAgree)
{
    NoCenterWindow window;
    window.setGeometry(120, 80, 200, 100);
    window.show();
    window.center();
    EXPECT_EQ(window.geometry().topLeft(), QPoint(120, 80));
    const QPointF screen(150.5, 95.25);
    const QPointF a = WindowExtention::convertPointFromScreenToWindow(&window, screen);
    const QPointF b = WindowExtention::convertPointFromScreenToWindowAfter10_7(&window, screen);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, window.mapFromGlobal(screen));
    EXPECT_EQ(ViewExtention::convertScreenPointToBasePoint(&window, screen), a);
    EXPECT_EQ(ViewExtention::convertScreenPointToBasePoint(nullptr, screen), QPointF());

    auto* child = new FlippedView(&window);
    child->setGeometry(10, 20, 50, 50);
    EXPECT_TRUE(child->isFlipped());
    QCursor::setPos(140, 110);
    EXPECT_EQ(ViewExtention::currentScreenPoint(child),
              child->mapFromGlobal(QCursor::pos()).toPointF());
}
