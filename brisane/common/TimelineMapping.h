#pragma once
// The mapping between media time and x that the editors' timelines share (the
// trim timeline, the chapter timeline, the page music's trim bar).
//
// The content rectangle is the view's bounds inset by 10 points left and
// right and 5 points top and bottom. A time t of a timeline of length D lies
// at x = min(t, D) / max(D, 1) x content width + content left (single
// precision); back, t = (x - content left) / content width x D, truncated and
// not clamped. Times are media-time ticks.
//
// A view narrower or lower than its insets has no content: it maps every
// time to the content's left edge and every x to 0, and callers draw nothing
// and hit nothing in it. Coordinates are the caller's (the timelines use y
// up); only x is mapped. Plain value type, any thread.

#include <QRectF>
#include <QtGlobal>

class TimelineMapping {
public:
    static constexpr double kInsetX = 10.0;
    static constexpr double kInsetY = 5.0;

    TimelineMapping() = default;
    TimelineMapping(const QRectF& bounds, qint64 duration);

    QRectF bounds() const { return m_bounds; }
    qint64 duration() const { return m_duration; }
    // The bounds inset 10 / 5; may be empty.
    QRectF content() const { return m_content; }
    // The content's vertical centre.
    double midY() const { return m_content.center().y(); }
    // No room to draw or hit anything.
    bool isEmpty() const { return !(m_content.width() > 0) || !(m_content.height() > 0); }

    float timeToPoint(qint64 time) const;
    qint64 pointToTime(double x) const;
    // The width of `length` ticks, at least the whole width when the timeline
    // is shorter: content width / max(duration / length, 1).
    float widthOfLength(qint64 length) const;

private:
    QRectF m_bounds;
    QRectF m_content;
    qint64 m_duration = 0;
};
