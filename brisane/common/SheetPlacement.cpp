#include "common/SheetPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <algorithm>

void SheetPlacement::install()
{
    static SheetPlacement* installed = nullptr;
    if (!installed && qApp) {
        installed = new SheetPlacement(qApp);
        qApp->installEventFilter(installed);
    }
}

QRect SheetPlacement::centredFrame(const QRect& owner, const QSize& size, const QRect& screen)
{
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(owner.center());
    if (!screen.isEmpty()) {
        frame.moveLeft(std::clamp(frame.left(), screen.left(),
                                  std::max(screen.left(), screen.right() - frame.width() + 1)));
        frame.moveTop(std::clamp(frame.top(), screen.top(),
                                 std::max(screen.top(), screen.bottom() - frame.height() + 1)));
    }
    return frame;
}

void SheetPlacement::centre(QWidget* dialog)
{
    QWidget* parent = dialog ? dialog->parentWidget() : nullptr;
    QWidget* owner = parent ? parent->window() : nullptr;
    if (!owner || !owner->isVisible()) {
        return;
    }
    // Shown, the dialog has its size: Qt sized it before the show event.
    const QSize size = dialog->size();
    // The dialog's decorations are those of its owner (one window manager);
    // placing the client area keeps every opening at the same place.
    const QMargins frame(owner->geometry().left() - owner->frameGeometry().left(),
                         owner->geometry().top() - owner->frameGeometry().top(),
                         owner->frameGeometry().right() - owner->geometry().right(),
                         owner->frameGeometry().bottom() - owner->geometry().bottom());
    const QScreen* screen = owner->screen();
    const QRect framed = centredFrame(owner->frameGeometry(), size.grownBy(frame),
                                      screen ? screen->availableGeometry() : QRect());
    dialog->setGeometry(QRect(framed.topLeft() + QPoint(frame.left(), frame.top()), size));
}

bool SheetPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow() && dialog->parentWidget()) {
            centre(dialog);
        }
    }
    return QObject::eventFilter(watched, event);
}
