#include "slideshow/CropTopBackView.h"

#include <QLinearGradient>
#include <QPainter>

#include "slideshow/core/UpCoordinates.h"

CropTopBackView::CropTopBackView(QWidget* parent) : QWidget(parent) {}

void CropTopBackView::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    const double w = width();
    const double h = height();
    QLinearGradient gradient(0, 0, 0, h);  // top to bottom
    gradient.setColorAt(0, QColor::fromRgbF(0.12f, 0.12f, 0.12f));
    gradient.setColorAt(1, QColor::fromRgbF(0.19f, 0.19f, 0.19f));
    painter.fillRect(rect(), gradient);
    painter.setPen(QPen(QColor::fromRgbF(0.03f, 0.03f, 0.03f), 1.0));
    const double first = UpCoordinates::lineToWidget(0.5, h);
    painter.drawLine(QPointF(0, first), QPointF(w, first));
    painter.setPen(QPen(QColor::fromRgbF(0.21f, 0.21f, 0.21f), 1.0));
    const double second = UpCoordinates::lineToWidget(1.5, h);
    painter.drawLine(QPointF(0, second), QPointF(w, second));
}
