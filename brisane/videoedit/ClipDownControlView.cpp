#include "videoedit/ClipDownControlView.h"

#include <QLinearGradient>
#include <QPainter>

ClipDownControlView::ClipDownControlView(QWidget* parent) : QWidget(parent) {}

void ClipDownControlView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0.0, QColor::fromRgbF(0.16f, 0.16f, 0.16f));
    gradient.setColorAt(1.0, QColor::fromRgbF(0.14f, 0.14f, 0.14f));
    painter.fillRect(rect(), gradient);
    painter.setPen(QPen(QColor::fromRgbF(0.03f, 0.03f, 0.03f), 1.0));
    painter.drawLine(QPointF(0, 0.5), QPointF(width(), 0.5));
    painter.setPen(QPen(QColor::fromRgbF(0.18f, 0.18f, 0.18f), 1.0));
    painter.drawLine(QPointF(0, 1.5), QPointF(width(), 1.5));
}
