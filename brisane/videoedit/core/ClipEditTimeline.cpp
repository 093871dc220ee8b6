#include "videoedit/core/ClipEditTimeline.h"

#include <algorithm>
#include <cmath>

#include "platform/Numeric.h"
#include "videoedit/core/ClipEditPlayerProgressDelegate.h"

namespace {

// Edges at the lowest x and y belong to the rectangle, the others do not.
bool inRect(const QPointF& p, const QRectF& r)
{
    return p.x() >= r.left() && p.x() < r.right() && p.y() >= r.top() && p.y() < r.bottom();
}

}  // namespace

void ClipEditTimeline::needsDisplay() const
{
    if (m_needsDisplay) {
        m_needsDisplay();
    }
}

// --- Geometry ---

QRectF ClipEditTimeline::barRect() const
{
    const TimelineMapping map = mapping();
    const QRectF content = map.content();
    return {content.left(), map.midY() - m_barHeight / 2.0, content.width(), m_barHeight};
}

QRectF ClipEditTimeline::markerButtonRect(double x) const
{
    const double top = mapping().midY() - m_barHeight / 2.0;
    return {x, top - m_markerSize.height(), m_markerSize.width(), m_markerSize.height()};
}

QRectF ClipEditTimeline::barHitRect() const
{
    const TimelineMapping map = mapping();
    const QRectF content = map.content();
    return {content.left() - 5.0, map.midY() - 1.5 * m_barHeight, content.width() + 10.0,
            4.0 * m_barHeight};
}

QPointF ClipEditTimeline::playheadCenter() const
{
    return {timeToPoint(m_currentTime), mapping().midY() + 1.4 * m_barHeight};
}

// --- State ---

QList<ClipMarker::Ptr> ClipEditTimeline::markerArrayForDraw() const
{
    const QList<ClipMarker::Ptr> markers =
        m_delegate ? m_delegate->markerArray() : QList<ClipMarker::Ptr>();
    return markers.size() > 2 ? markers.mid(1, markers.size() - 2) : QList<ClipMarker::Ptr>();
}

ClipMarker::Ptr ClipEditTimeline::selectedMarker() const
{
    return m_delegate ? m_delegate->selectedMarker() : nullptr;
}

// --- Mouse ---

ClipEditTimeline::DragType ClipEditTimeline::drayTypeAtPoint(const QPointF& point)
{
    if (mapping().isEmpty()) {
        return Nothing;
    }
    if (inRect(point, barHitRect())) {
        return Bar;
    }
    for (const auto& marker : markerArrayForDraw()) {
        if (inRect(point, markerButtonRect(timeToPoint(marker->markTime())))) {
            if (m_delegate) {
                m_delegate->setSelectedMarker(marker);
            }
            return Marker;
        }
    }
    return Nothing;
}

void ClipEditTimeline::seekTo(LMMediaTime time)
{
    m_currentTime = time;
    if (m_delegate) {
        m_delegate->seek(time);
    }
    needsDisplay();
}

void ClipEditTimeline::seekAlongBar(const QPointF& point)
{
    seekTo(
        std::clamp<LMMediaTime>(pointToTime(point.x()), 0, std::max<LMMediaTime>(0, m_duration)));
}

void ClipEditTimeline::mousePressed(const QPointF& point)
{
    m_pressPoint = point;
    m_dragType = drayTypeAtPoint(point);
    if (m_dragType == Bar) {
        seekAlongBar(point);
    } else if (m_dragType == Marker) {
        if (const auto marker = selectedMarker()) {
            seekTo(marker->markTime());
        }
    }
    const auto marker = selectedMarker();
    m_pressMarkerTime = marker ? marker->markTime() : 0;
}

void ClipEditTimeline::mouseDragged(const QPointF& point)
{
    if (m_dragType == Bar) {
        seekAlongBar(point);
    } else if (m_dragType == Marker) {
        dragMarker(point);
    }
}

void ClipEditTimeline::mouseReleased()
{
    m_dragType = Nothing;
}

void ClipEditTimeline::dragMarker(const QPointF& point)
{
    const TimelineMapping map = mapping();
    // Without a length there is nothing to move along.
    if (map.isEmpty() || m_duration <= 0 || !m_delegate) {
        return;
    }
    const double dt = std::trunc((point.x() - m_pressPoint.x()) / map.content().width() *
                                 static_cast<double>(m_duration));
    m_delegate->setSelectedMarkerTime(m_pressMarkerTime + saturatingCast<LMMediaTime>(dt));
    if (const auto marker = selectedMarker()) {
        seekTo(marker->markTime());
    }
}
