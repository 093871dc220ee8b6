#pragma once
// The rules and geometry of the trim timeline, without a widget: the clip's
// segments as spans on a bar with a handle below each end, the playhead, the
// selection, adding and deleting segments, and what a press and a drag do.
// VEPlayerProgressBarView draws it and hands it the mouse.
//
// Coordinates are the view's, y up. The bar's thickness bh is the height of
// the bar picture; the handles have the sizes of their pictures. The
// segments are the delegate's clip's trimArray; every change but a handle
// drag stores a changed copy of the list, a handle drag changes the selected
// segment in place. Main thread.

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <functional>
#include <memory>

#include "common/TimelineMapping.h"
#include "lumenta/LMMediaTime.h"
#include "videoedit/core/TrimSegmentRules.h"

class MovieTrimItem;
class VCMovie;
class VEPlayerProgressBarDelegate;

class VETrimTimeline {
public:
    using TrimArray = TrimSegmentRules::TrimArray;

    // What a press hits.
    enum DragType { Bar = 0, LeftHandle = 1, RightHandle = 2, Nothing = 3 };

    VETrimTimeline() = default;

    // Not owned.
    VEPlayerProgressBarDelegate* delegate() const { return m_delegate; }
    void setDelegate(VEPlayerProgressBarDelegate* delegate) { m_delegate = delegate; }
    // Called whenever the timeline should be drawn again.
    void setNeedsDisplay(std::function<void()> redraw) { m_needsDisplay = std::move(redraw); }
    void needsDisplay() const;

    // --- Geometry ---
    void setBounds(const QRectF& bounds) { m_bounds = bounds; }
    QRectF bounds() const { return m_bounds; }
    void setBarHeight(double height) { m_barHeight = height; }
    double barHeight() const { return m_barHeight; }
    void setHandleSizes(const QSizeF& left, const QSizeF& right);
    TimelineMapping mapping() const { return TimelineMapping(m_bounds, m_duration); }
    float timeToPoint(LMMediaTime time) const { return mapping().timeToPoint(time); }
    LMMediaTime pointToTime(double x) const { return mapping().pointToTime(x); }
    // The width of one second, or the whole width for a clip under a second.
    float minTrimWidth() const { return mapping().widthOfLength(lm_default_time_base()); }
    // The handle left of x / right of x, hanging below the bar.
    QRectF leftTrimButtonRect(double x) const;
    QRectF rightTrimButtonRect(double x) const;
    // A segment's span on the bar.
    QRectF centerTrimRect(double startX, double endX) const;
    // Where a press counts as a press on the bar.
    QRectF barHitRect() const;
    // The x of a segment's start and end.
    double startX(const MovieTrimItem& trim) const;
    double endX(const MovieTrimItem& trim) const;

    // --- State ---
    // Media time; 100 ticks before the first frame.
    LMMediaTime duration() const { return m_duration; }
    void setDuration(LMMediaTime duration) { m_duration = duration; }
    LMMediaTime currentTime() const { return m_currentTime; }
    void setCurrentTime(LMMediaTime time) { m_currentTime = time; }
    int selectedTrimIndex() const { return m_selectedTrimIndex; }
    void setSelectedTrimIndex(int index) { m_selectedTrimIndex = index; }
    // The delegate's clip's segments; empty without a clip.
    TrimArray trims() const;
    // The selected segment; null without a selection.
    std::shared_ptr<MovieTrimItem> selectedTrim() const;

    // --- Actions ---
    // A one-second segment at the playhead, selected, when the segment rules
    // allow it; otherwise nothing changes.
    void addTrimAction();
    // Removes the selected segment; redraws in every case.
    void deleteSelectedTrimAction();
    // The segment addTrimAction would add.
    std::shared_ptr<MovieTrimItem> createTrim() const;

    // --- Mouse ---
    // Selects what the point hits (see DragType) and tells the delegate.
    DragType drayTypeAtPoint(const QPointF& point);
    void mousePressed(const QPointF& point);
    void mouseDragged(const QPointF& point);
    void mouseReleased();
    // Moves the selected segment's start (kind LeftHandle) or end
    // (RightHandle) by the drag from `last` to `mouse`, measured from the
    // segment's ends at the press; a segment keeps one second and never
    // crosses its neighbours, the neighbour winning.
    void actionForType(DragType kind, const QPointF& last, const QPointF& mouse,
                       double originStartX, double originEndX);

private:
    std::shared_ptr<VCMovie> vcMovie() const;
    void storeTrims(const TrimArray& trims) const;
    void seekTo(LMMediaTime time);
    void flushDelegateAfterSelection();

    VEPlayerProgressBarDelegate* m_delegate = nullptr;
    std::function<void()> m_needsDisplay;
    QRectF m_bounds;
    double m_barHeight = 8.0;
    QSizeF m_leftHandleSize{9.0, 16.0};
    QSizeF m_rightHandleSize{9.0, 16.0};
    LMMediaTime m_duration = 100;
    LMMediaTime m_currentTime = 0;
    int m_selectedTrimIndex = TrimSegmentRules::kNoSelection;

    // The press under way.
    DragType m_dragType = Nothing;
    QPointF m_pressPoint;
    double m_originStartX = 0.0;
    double m_originEndX = 0.0;
};
