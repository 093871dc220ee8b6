#include "videoedit/VECenterBackgroundView.h"

#include <QLinearGradient>
#include <QPainter>

VECenterBackgroundView::VECenterBackgroundView(QWidget* parent) : QWidget(parent) {}

void VECenterBackgroundView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0.0, QColor::fromRgbF(0.3f, 0.3f, 0.3f));
    gradient.setColorAt(1.0, QColor::fromRgbF(0.2f, 0.2f, 0.2f));
    painter.fillRect(rect(), gradient);
    painter.setPen(QPen(QColor::fromRgbF(0.34f, 0.34f, 0.34f), 1.0));
    painter.drawLine(QPointF(0, 1.5), QPointF(width(), 1.5));
    painter.setPen(QPen(Qt::black, 1.0));
    painter.drawLine(QPointF(0, 0.5), QPointF(width(), 0.5));
    painter.drawLine(QPointF(0, height() - 0.5), QPointF(width(), height() - 0.5));
}
