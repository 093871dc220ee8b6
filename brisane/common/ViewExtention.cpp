#include "common/ViewExtention.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include "common/ViewDraggingItemImp.h"
#include "common/WindowExtention.h"

void ViewExtention::useApplicationWindowText(QWidget* control)
{
    QPalette own = control->palette();
    own.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    control->setPalette(own);
}

bool ViewExtention::isFirstResponder(const QWidget* view)
{
    return view && view->window()->focusWidget() == view;
}

void ViewExtention::makeFirstResponder(QWidget* view)
{
    if (view) {
        view->setFocus(Qt::OtherFocusReason);
    }
}

QPointF ViewExtention::currentScreenPoint(const QWidget* view)
{
    if (!view) {
        return {};
    }
    const QPointF inWindow =
        WindowExtention::convertPointFromScreenToWindow(view->window(), QCursor::pos());
    return view->mapFrom(view->window(), inWindow);
}

QPointF ViewExtention::convertScreenPointToBasePoint(const QWidget* view,
                                                     const QPointF& screenPoint)
{
    if (!view) {
        return {};
    }
    return view->window()->mapFromGlobal(screenPoint);
}

bool ViewExtention::showContextMenu(QWidget* view, const QPoint& screenPoint,
                                    Qt::KeyboardModifiers modifiers)
{
    if (!view) {
        return false;
    }
    // Qt asks a widget for its menu with a context menu event: the widget
    // (or a parent) accepts it when it shows one.
    QContextMenuEvent event(QContextMenuEvent::Mouse, view->mapFromGlobal(screenPoint), screenPoint,
                            modifiers);
    QApplication::sendEvent(view, &event);
    return event.isAccepted();
}

void ViewExtention::drawTimelineMediaViewGradient(QPainter& painter, const QRectF& rect,
                                                  const QColor& middleColor,
                                                  const QColor& edgeColor)
{
    QPainterPath rounded;
    rounded.addRoundedRect(rect, 10, 10);
    painter.setClipPath(rounded, Qt::IntersectClip);
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0.0, edgeColor);
    gradient.setColorAt(0.5, middleColor);
    gradient.setColorAt(1.0, edgeColor);
    painter.fillRect(rect, gradient);
}

void ViewExtention::drawTimelineMediaViewGradient(QPainter& painter, const QRectF& rect)
{
    drawTimelineMediaViewGradient(painter, rect, QColor::fromRgbF(0.4118f, 0.4118f, 0.4510f),
                                  QColor::fromRgbF(0.6f, 0.6431f, 0.6863f));
}

QMimeData* ViewExtention::draggingItemWithType(const QString& type, const QVariant& item)
{
    auto* data = new ViewDraggingItemImp();
    data->setDragType(type);
    data->setDragItem(item);
    return data;
}
