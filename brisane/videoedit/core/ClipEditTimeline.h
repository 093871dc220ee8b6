#pragma once
// The rules and geometry of the chapter timeline, without a widget: a bar for
// the whole source, the playhead above it and one button hanging below it for
// each chapter marker (never for the start and end markers). A press on the
// bar, or a drag along it, seeks; a press on a marker button selects the
// marker and seeks to it, and a drag then moves it by the distance from the
// press point, the editor keeping it between its neighbours.
// ClipEditPlayerProgressView draws it and hands it the mouse.
//
// Coordinates are the view's, y up; time maps to x through TimelineMapping.
// The bar's thickness bh is the height of the bar picture, the buttons and
// the playhead have the sizes of their pictures. The band where a press
// counts as a press on the bar runs 5 points past the content on either side
// and from midY - 1.5 bh to midY + 2.5 bh; it wins over the buttons where
// they overlap. A view narrower or lower than its insets hits nothing.
// Main thread.

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <functional>

#include "common/TimelineMapping.h"
#include "lumenta/LMMediaTime.h"
#include "videoedit/core/ClipMarker.h"

class ClipEditPlayerProgressDelegate;

class ClipEditTimeline {
public:
    // What a press hits.
    enum DragType { Bar = 0, Marker = 1, Nothing = 2 };

    ClipEditTimeline() = default;

    // Not owned.
    ClipEditPlayerProgressDelegate* delegate() const { return m_delegate; }
    void setDelegate(ClipEditPlayerProgressDelegate* delegate) { m_delegate = delegate; }
    // Called whenever the timeline should be drawn again.
    void setNeedsDisplay(std::function<void()> redraw) { m_needsDisplay = std::move(redraw); }

    // --- Geometry ---
    void setBounds(const QRectF& bounds) { m_bounds = bounds; }
    QRectF bounds() const { return m_bounds; }
    void setBarHeight(double height) { m_barHeight = height; }
    double barHeight() const { return m_barHeight; }
    void setMarkerSize(const QSizeF& size) { m_markerSize = size; }
    QSizeF markerSize() const { return m_markerSize; }
    TimelineMapping mapping() const { return TimelineMapping(m_bounds, m_duration); }
    float timeToPoint(LMMediaTime time) const { return mapping().timeToPoint(time); }
    LMMediaTime pointToTime(double x) const { return mapping().pointToTime(x); }
    // The bar: the content's width, bh high, centred on the content.
    QRectF barRect() const;
    // A marker button: left edge at x, top edge on the bar's lower edge.
    QRectF markerButtonRect(double x) const;
    // Where a press counts as a press on the bar.
    QRectF barHitRect() const;
    // The centre of the playhead: the x of the current time, midY + 1.4 bh.
    QPointF playheadCenter() const;

    // --- State ---
    // Media time; 100 ticks until the editor sets the player's.
    LMMediaTime duration() const { return m_duration; }
    void setDuration(LMMediaTime duration) { m_duration = duration; }
    LMMediaTime currentTime() const { return m_currentTime; }
    void setCurrentTime(LMMediaTime time) { m_currentTime = time; }
    // The delegate's markers without the first and the last.
    QList<ClipMarker::Ptr> markerArrayForDraw() const;
    ClipMarker::Ptr selectedMarker() const;

    // --- Mouse ---
    // What the point hits; a hit marker becomes the delegate's selection.
    DragType drayTypeAtPoint(const QPointF& point);
    void mousePressed(const QPointF& point);
    void mouseDragged(const QPointF& point);
    void mouseReleased();

private:
    void needsDisplay() const;
    void seekTo(LMMediaTime time);
    void seekAlongBar(const QPointF& point);
    void dragMarker(const QPointF& point);

    ClipEditPlayerProgressDelegate* m_delegate = nullptr;
    std::function<void()> m_needsDisplay;
    QRectF m_bounds;
    double m_barHeight = 8.0;
    QSizeF m_markerSize{13.0, 24.0};
    LMMediaTime m_duration = 100;
    LMMediaTime m_currentTime = 0;

    // The press under way.
    DragType m_dragType = Nothing;
    QPointF m_pressPoint;
    LMMediaTime m_pressMarkerTime = 0;
};
