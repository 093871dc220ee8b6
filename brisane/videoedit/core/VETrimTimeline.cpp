#include "videoedit/core/VETrimTimeline.h"

#include <algorithm>

#include "media/MovieTrimItem.h"
#include "media/VCMovie.h"
#include "model/MediaData.h"
#include "videoedit/core/VEPlayerProgressBarDelegate.h"

namespace {

// Edges on the left and bottom belong to the rectangle, those on the right
// and top do not.
bool inRect(const QPointF& p, const QRectF& r)
{
    return p.x() >= r.left() && p.x() < r.right() && p.y() >= r.top() && p.y() < r.bottom();
}

double seconds(LMMediaTime time)
{
    return lm_ff_time_to_double(time);
}

}  // namespace

void VETrimTimeline::needsDisplay() const
{
    if (m_needsDisplay) {
        m_needsDisplay();
    }
}

void VETrimTimeline::setHandleSizes(const QSizeF& left, const QSizeF& right)
{
    m_leftHandleSize = left;
    m_rightHandleSize = right;
}

// --- Geometry ---

QRectF VETrimTimeline::leftTrimButtonRect(double x) const
{
    const double top = mapping().midY() - m_barHeight / 2.0;
    return {x - m_leftHandleSize.width(), top - m_leftHandleSize.height(), m_leftHandleSize.width(),
            m_leftHandleSize.height()};
}

QRectF VETrimTimeline::rightTrimButtonRect(double x) const
{
    const double top = mapping().midY() - m_barHeight / 2.0;
    return {x, top - m_rightHandleSize.height(), m_rightHandleSize.width(),
            m_rightHandleSize.height()};
}

QRectF VETrimTimeline::centerTrimRect(double startX, double endX) const
{
    return {startX, mapping().midY() - m_barHeight / 2.0, endX - startX, m_barHeight};
}

QRectF VETrimTimeline::barHitRect() const
{
    const QRectF content = mapping().content();
    const double half = 1.4 * m_barHeight;
    return {content.left() - 5.0, mapping().midY() - half, content.width() + 10.0, 2.0 * half};
}

double VETrimTimeline::startX(const MovieTrimItem& trim) const
{
    return timeToPoint(trim.startTime());
}

double VETrimTimeline::endX(const MovieTrimItem& trim) const
{
    return timeToPoint(trim.stopTime());
}

// --- State ---

std::shared_ptr<VCMovie> VETrimTimeline::vcMovie() const
{
    const auto clip = m_delegate ? m_delegate->media() : nullptr;
    return clip ? clip->vcmovie() : nullptr;
}

VETrimTimeline::TrimArray VETrimTimeline::trims() const
{
    const auto item = vcMovie();
    return item ? item->trimArray() : TrimArray();
}

void VETrimTimeline::storeTrims(const TrimArray& trims) const
{
    if (const auto item = vcMovie()) {
        item->setTrimArray(trims);
    }
}

std::shared_ptr<MovieTrimItem> VETrimTimeline::selectedTrim() const
{
    const TrimArray list = trims();
    return TrimSegmentRules::selects(m_selectedTrimIndex, list.size())
               ? list.at(m_selectedTrimIndex)
               : nullptr;
}

// --- Actions ---

std::shared_ptr<MovieTrimItem> VETrimTimeline::createTrim() const
{
    auto trim = std::make_shared<MovieTrimItem>(seconds(m_currentTime),
                                                TrimSegmentRules::kMinTrimSeconds, 0.0, 0.0);
    if (m_delegate) {
        trim->setBaseStartTime(m_delegate->importMovieStart());
        trim->setBaseStopTime(m_delegate->importMovieStop());
    }
    return trim;
}

void VETrimTimeline::addTrimAction()
{
    if (!vcMovie()) {
        return;
    }
    TrimArray list = trims();
    const auto trim = createTrim();
    const auto index = TrimSegmentRules::insertionIndex(list, trim->start(), seconds(m_duration));
    if (!index) {
        return;
    }
    list.insert(*index, trim);
    m_selectedTrimIndex = static_cast<int>(*index);
    storeTrims(list);
    if (m_delegate) {
        m_delegate->flushProgressTimeLabel();
    }
    needsDisplay();
}

void VETrimTimeline::deleteSelectedTrimAction()
{
    TrimArray list = trims();
    if (TrimSegmentRules::selects(m_selectedTrimIndex, list.size())) {
        list.removeAt(m_selectedTrimIndex);
        storeTrims(list);
        m_selectedTrimIndex = TrimSegmentRules::kNoSelection;
    }
    needsDisplay();
}

// --- Mouse ---

void VETrimTimeline::flushDelegateAfterSelection()
{
    if (m_delegate) {
        m_delegate->flushProgressTimeLabel();
        m_delegate->flushPlayerProgress();
    }
}

VETrimTimeline::DragType VETrimTimeline::drayTypeAtPoint(const QPointF& point)
{
    if (mapping().isEmpty()) {
        return Nothing;
    }
    const TrimArray list = trims();
    if (inRect(point, barHitRect())) {
        const QRectF band = barHitRect();
        m_selectedTrimIndex = TrimSegmentRules::kNoSelection;
        for (qsizetype i = 0; i < list.size(); ++i) {
            const double xs = startX(*list[i]);
            const QRectF span(xs, band.top(), endX(*list[i]) - xs, band.height());
            if (inRect(point, span)) {
                m_selectedTrimIndex = static_cast<int>(i);
                break;
            }
        }
        flushDelegateAfterSelection();
        return Bar;
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        const DragType kind = inRect(point, leftTrimButtonRect(startX(*list[i])))  ? LeftHandle
                              : inRect(point, rightTrimButtonRect(endX(*list[i]))) ? RightHandle
                                                                                   : Nothing;
        if (kind != Nothing) {
            m_selectedTrimIndex = static_cast<int>(i);
            flushDelegateAfterSelection();
            return kind;
        }
    }
    return Nothing;
}

void VETrimTimeline::seekTo(LMMediaTime time)
{
    m_currentTime = time;
    if (m_delegate) {
        m_delegate->seek(time);
    }
    needsDisplay();
}

void VETrimTimeline::mousePressed(const QPointF& point)
{
    m_pressPoint = point;
    m_dragType = drayTypeAtPoint(point);
    if (m_dragType == Bar) {
        seekTo(std::clamp<LMMediaTime>(pointToTime(point.x()), 0,
                                       std::max<LMMediaTime>(0, m_duration)));
    } else if (m_dragType != Nothing) {
        const auto trim = selectedTrim();
        m_originStartX = trim ? startX(*trim) : 0.0;
        m_originEndX = trim ? endX(*trim) : 0.0;
        if (m_delegate) {
            m_delegate->flushProgressTimeLabel();
        }
    }
}

void VETrimTimeline::mouseDragged(const QPointF& point)
{
    if (m_dragType == Bar) {
        seekTo(std::clamp<LMMediaTime>(pointToTime(point.x()), 0,
                                       std::max<LMMediaTime>(0, m_duration)));
    } else if (m_dragType != Nothing) {
        actionForType(m_dragType, m_pressPoint, point, m_originStartX, m_originEndX);
    }
}

void VETrimTimeline::mouseReleased()
{
    m_dragType = Nothing;
}

void VETrimTimeline::actionForType(DragType kind, const QPointF& last, const QPointF& mouse,
                                   double originStartX, double originEndX)
{
    if (m_selectedTrimIndex > TrimSegmentRules::kNoSelection) {
        m_selectedTrimIndex = 0;
    }
    const TrimArray list = trims();
    if (!TrimSegmentRules::selects(m_selectedTrimIndex, list.size()) ||
        (kind != LeftHandle && kind != RightHandle)) {
        return;
    }
    const qsizetype index = m_selectedTrimIndex;
    MovieTrimItem& trim = *list[index];
    const double w = minTrimWidth();
    const double d = mouse.x() - last.x();
    double x = 0.0;
    if (kind == LeftHandle) {
        const bool first = index == 0;
        x = std::min(originEndX - w, originStartX + d);
        x = std::max(x, first ? double(timeToPoint(0)) : endX(*list[index - 1]));
        // Whole ticks may land a hair before the neighbour's end.
        const double floor = first ? 0.0 : list[index - 1]->stop();
        const double start = std::max(seconds(pointToTime(x)), floor);
        const double end = seconds(pointToTime(originEndX));
        trim.setStart(start);
        trim.setDuration(end - start);
    } else {
        const bool last = index + 1 == list.size();
        x = std::max(originStartX + w, originEndX + d);
        x = std::min(x, last ? double(timeToPoint(m_duration)) : startX(*list[index + 1]));
        const double ceiling = last ? seconds(m_duration) : list[index + 1]->start();
        trim.setDuration(std::min(seconds(pointToTime(x)), ceiling) - trim.start());
    }
    const LMMediaTime t = pointToTime(x);
    m_currentTime = t;
    if (m_delegate) {
        m_delegate->pause();
        m_delegate->seek(t);
        m_delegate->flushProgressTimeLabel();
    }
    needsDisplay();
}
