#include "slideshow/core/LimitedDragging.h"

#include <algorithm>

QPointF LimitedDragging::clampedOrigin(const QRectF& frame, const QRectF& limit)
{
    double x = std::max(limit.x(), frame.x());
    double y = std::max(limit.y(), frame.y());
    if (x + frame.width() > limit.x() + limit.width()) {
        x = limit.x() + limit.width() - frame.width();
    }
    if (y + frame.height() > limit.y() + limit.height()) {
        y = limit.y() + limit.height() - frame.height();
    }
    return {x, y};
}

void LimitedDragging::inspectNewFrame(const QRectF& wanted)
{
    inspectNewFrame(wanted, m_limit);
}

void LimitedDragging::inspectNewFrame(const QRectF& wanted, const QRectF& limit)
{
    m_frame.moveTopLeft(clampedOrigin(wanted, limit));
}

void LimitedDragging::mouseDown(const QPointF& point)
{
    if (!m_canDragNow) {
        return;
    }
    m_dragStartPoint = point;
    m_dragStartRect = m_frame;
}

void LimitedDragging::mouseDragged(const QPointF& point)
{
    if (!m_canDragNow) {
        return;
    }
    QRectF wanted = m_dragStartRect;
    wanted.moveTopLeft(m_dragStartRect.topLeft() + (point - m_dragStartPoint));
    inspectNewFrame(wanted);
}

void LimitedDragging::mouseUp()
{
    if (!m_canDragNow) {
        return;
    }
    m_dragStartPoint = {};
    m_dragStartRect = {};
}
