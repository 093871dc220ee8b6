#include "menuedit/NoMenuView.h"

#include <QMouseEvent>
#include <QPainter>

NoMenuView::NoMenuView(QWidget* parent) : MouseFirstResponderView(parent) {}

void NoMenuView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0.1f, 0.1f, 0.1f));
}

void NoMenuView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void NoMenuView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void NoMenuView::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}
