#include "listedit/ListEditBackgourndView.h"

#include <QMouseEvent>
#include <QPainter>

ListEditBackgourndView::ListEditBackgourndView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void ListEditBackgourndView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0.1f, 0.1f, 0.1f, 1.0f));
}

void ListEditBackgourndView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    event->accept();
}
