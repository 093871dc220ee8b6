#pragma once
// The geometry of a view the user drags by the mouse and that never leaves a
// limiting rectangle: its frame and the limit, both in its superview's
// coordinates with y upward. Only the origin moves; the size is never changed
// here. Every step of a drag is measured from where the drag began, so the
// frame follows the mouse exactly and picks up again without lag after the
// mouse has gone past the limit and come back. Plain value; any thread.

#include <QPointF>
#include <QRectF>

class LimitedDragging {
public:
    virtual ~LimitedDragging() = default;

    // The frame's origin clamped into `limit`: no further left or lower than
    // the limit, then no further right or higher, so a frame wider or taller
    // than the limit ends on the limit's right or top side.
    static QPointF clampedOrigin(const QRectF& frame, const QRectF& limit);

    QRectF frame() const { return m_frame; }
    void setFrame(const QRectF& frame) { m_frame = frame; }

    QRectF rctLimitedRect() const { return m_limit; }
    void setRctLimitedRect(const QRectF& limit) { m_limit = limit; }
    void setLimitedRect(const QRectF& limit) { m_limit = limit; }

    bool bCanDragNow() const { return m_canDragNow; }
    void setBCanDragNow(bool can) { m_canDragNow = can; }
    QPointF pntDragStartPoint() const { return m_dragStartPoint; }
    QRectF rctDragStartRect() const { return m_dragStartRect; }

    // Moves the frame to `wanted`'s origin clamped into the limit (its size
    // stays the frame's own).
    void inspectNewFrame(const QRectF& wanted);
    void inspectNewFrame(const QRectF& wanted, const QRectF& limit);

    // The drag, with mouse points in the superview's coordinates. Each step
    // does nothing while dragging is switched off.
    void mouseDown(const QPointF& point);
    void mouseDragged(const QPointF& point);
    void mouseUp();

private:
    QRectF m_frame;
    QRectF m_limit;
    bool m_canDragNow = true;
    QPointF m_dragStartPoint;
    QRectF m_dragStartRect;
};
