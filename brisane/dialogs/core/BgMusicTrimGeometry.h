#pragma once
// The geometry of the page music's trim bar: where the two handles lie, what
// a press hits and where a handle goes when it is dragged. Qt coordinates
// (y downward); the handles hang below the bar's middle line.
//
// Drag types: 1 the start handle, 2 the end handle (tested in that order),
// 3 the bar (5 points beyond either end and 7 above or below the middle
// line), 4 anywhere else. The two handles stay one second's width apart, or
// the whole width for music shorter than one second. Plain value type.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "common/TimelineMapping.h"

class BgMusicTrimGeometry {
public:
    static constexpr QSizeF kHandleSize{9.0, 14.0};
    // The bar's length without music, in ticks.
    static constexpr qint64 kEmptyDuration = 100;

    BgMusicTrimGeometry(const QRectF& bounds, qint64 duration, qint64 trimStart, qint64 trimStop);

    const TimelineMapping& mapping() const { return m_mapping; }
    QRectF leftTrimIconRect() const;
    QRectF rightTrimIconRect() const;
    int dragTypeAtPoint(const QPointF& point) const;
    // The smallest distance between the handles, in points.
    float minimumGap() const;
    // The time a press or drag at x seeks to: clamped to 0 .. duration.
    qint64 seekTimeAt(double x) const;
    // The new time of the dragged handle (type 1 or 2) after a drag by
    // currentX - pressX, measured from the handle positions at the press.
    qint64 handleStep(int type, double pressX, double currentX, float startX, float endX) const;

private:
    TimelineMapping m_mapping;
    qint64 m_trimStart;
    qint64 m_trimStop;
};
