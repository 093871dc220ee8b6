#include "slideshow/core/PhotoTimeline.h"

#include <algorithm>

PhotoTimeline::PhotoTimeline(int count, double duration, double firstRatio, double lastRatio)
    : m_count(std::max(count, 0)),
      m_duration(duration),
      m_firstRatio(firstRatio),
      m_lastRatio(lastRatio)
{
}

double PhotoTimeline::ratio(int index) const
{
    if (index == 0) {
        return m_firstRatio;
    }
    return index == m_count - 1 ? m_lastRatio : 1.0;
}

double PhotoTimeline::spanOf(int index) const
{
    return m_duration * ratio(index);
}

double PhotoTimeline::timeOfIndex(int index) const
{
    if (index <= 0 || index >= m_count) {
        return 0.0;
    }
    return m_duration * (m_firstRatio + (index - 1) + ratio(index) * 0.5);
}

int PhotoTimeline::indexOfTime(double time) const
{
    if (m_count == 0) {
        return -1;
    }
    if (m_count == 1) {
        return 0;
    }
    double start = 0.0;
    for (int i = 0; i < m_count; ++i) {
        const double end = start + spanOf(i);
        if (time >= start && time <= end) {
            return i;
        }
        start = end;
    }
    return -1;
}

QRectF PhotoTimeline::tileFrame(int index)
{
    return {TileStep * index, 0.0, TileSide, TileSide};
}

QSizeF PhotoTimeline::stripSize(int count, const QSizeF& visible)
{
    return {std::max(TileStep * std::max(count, 0) + 10.0, visible.width()), visible.height()};
}
