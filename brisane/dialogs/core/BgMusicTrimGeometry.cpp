#include "dialogs/core/BgMusicTrimGeometry.h"

#include <algorithm>

#include "lumenta/LMMediaTime.h"

BgMusicTrimGeometry::BgMusicTrimGeometry(const QRectF& bounds, qint64 duration, qint64 trimStart,
                                         qint64 trimStop)
    : m_mapping(bounds, duration), m_trimStart(trimStart), m_trimStop(trimStop)
{
}

QRectF BgMusicTrimGeometry::leftTrimIconRect() const
{
    const double right = m_mapping.timeToPoint(m_trimStart);
    return QRectF(QPointF(right - kHandleSize.width(), m_mapping.midY() + 5.0), kHandleSize);
}

QRectF BgMusicTrimGeometry::rightTrimIconRect() const
{
    const double left = m_mapping.timeToPoint(m_trimStop);
    return QRectF(QPointF(left, m_mapping.midY() + 5.0), kHandleSize);
}

int BgMusicTrimGeometry::dragTypeAtPoint(const QPointF& point) const
{
    if (leftTrimIconRect().contains(point)) {
        return 1;
    }
    if (rightTrimIconRect().contains(point)) {
        return 2;
    }
    const QRectF content = m_mapping.content();
    const double mid = m_mapping.midY();
    const bool inX = point.x() >= content.left() - 5.0 && point.x() <= content.right() + 5.0;
    const bool inY = point.y() >= mid - 7.0 && point.y() <= mid + 7.0;
    return inX && inY ? 3 : 4;
}

float BgMusicTrimGeometry::minimumGap() const
{
    const qint64 base = lm_default_time_base();
    const float share = float(base) / float(std::max(m_mapping.duration(), base));
    return share * float(m_mapping.content().width());
}

qint64 BgMusicTrimGeometry::seekTimeAt(double x) const
{
    return std::clamp<qint64>(m_mapping.pointToTime(x), 0, m_mapping.duration());
}

qint64 BgMusicTrimGeometry::handleStep(int type, double pressX, double currentX, float startX,
                                       float endX) const
{
    const float dx = float(currentX - pressX);
    const float gap = minimumGap();
    if (type == 1) {
        const float x = std::max(m_mapping.timeToPoint(0), std::min(endX - gap, startX + dx));
        return m_mapping.pointToTime(x);
    }
    const float x =
        std::min(m_mapping.timeToPoint(m_mapping.duration()), std::max(startX + gap, endX + dx));
    return m_mapping.pointToTime(x);
}
