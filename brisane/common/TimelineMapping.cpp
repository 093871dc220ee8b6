#include "common/TimelineMapping.h"

#include <algorithm>
#include <cmath>

#include "platform/Numeric.h"

TimelineMapping::TimelineMapping(const QRectF& bounds, qint64 duration)
    : m_bounds(bounds),
      m_content(bounds.adjusted(kInsetX, kInsetY, -kInsetX, -kInsetY)),
      m_duration(duration)
{
}

float TimelineMapping::timeToPoint(qint64 time) const
{
    if (isEmpty()) {
        return static_cast<float>(m_content.left());
    }
    const float t = static_cast<float>(std::min(time, m_duration));
    const float d = static_cast<float>(std::max<qint64>(m_duration, 1));
    return t / d * static_cast<float>(m_content.width()) + static_cast<float>(m_content.left());
}

qint64 TimelineMapping::pointToTime(double x) const
{
    if (isEmpty()) {
        return 0;
    }
    const double t = (x - m_content.left()) / m_content.width() * static_cast<double>(m_duration);
    return saturatingCast<qint64>(std::trunc(t));
}

float TimelineMapping::widthOfLength(qint64 length) const
{
    if (isEmpty()) {
        return 0.0f;
    }
    const double units =
        length > 0 ? static_cast<double>(m_duration) / static_cast<double>(length) : 1.0;
    return static_cast<float>(m_content.width() / std::max(units, 1.0));
}
