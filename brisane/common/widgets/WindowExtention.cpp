#include "common/widgets/WindowExtention.h"

#include <QRectF>
#include <QWidget>

QPointF WindowExtention::convertPointFromScreenToWindow(const QWidget* window,
                                                        const QPointF& screenPoint)
{
    if (!window) {
        return screenPoint;
    }
    return window->mapFromGlobal(screenPoint);
}

QPointF WindowExtention::convertPointFromScreenToWindowAfter10_7(const QWidget* window,
                                                                 const QPointF& screenPoint)
{
    if (!window) {
        return screenPoint;
    }
    const QRectF around(screenPoint.x() - 50, screenPoint.y() - 50, 100, 100);
    const QRectF converted(window->mapFromGlobal(around.topLeft()),
                           window->mapFromGlobal(around.bottomRight()));
    return converted.center();
}
