#include "slideshow/core/UpCoordinates.h"

#include <QPainter>

QRectF UpCoordinates::toWidget(const QRectF& rect, double height)
{
    return {rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height()};
}

QPointF UpCoordinates::fromWidget(const QPointF& point, double height)
{
    return {point.x(), height - point.y()};
}

void UpCoordinates::turnUp(QPainter& painter, double height)
{
    painter.translate(0, height);
    painter.scale(1, -1);
}
