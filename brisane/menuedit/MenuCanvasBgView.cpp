#include "menuedit/MenuCanvasBgView.h"

#include <QPainter>

MenuCanvasBgView::MenuCanvasBgView(QWidget* parent) : QWidget(parent) {}

void MenuCanvasBgView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0.1f, 0.1f, 0.1f));
    const double right = width() - 0.5;
    const double lower = height() - 0.5;
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(0, 0.5), QPointF(width(), 0.5));
    painter.drawLine(QPointF(0, lower), QPointF(width(), lower));
    painter.setPen(QPen(QColor::fromRgbF(0.34f, 0.34f, 0.34f), 1));
    painter.drawLine(QPointF(right, 0), QPointF(right, height()));
}
