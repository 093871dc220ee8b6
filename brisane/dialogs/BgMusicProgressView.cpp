#include "dialogs/BgMusicProgressView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "dialogs/core/BgMusicTrimGeometry.h"

BgMusicProgressView::BgMusicProgressView(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(36);
}

void BgMusicProgressView::setTrimItem(const VCMovie::Ptr& item)
{
    m_item = item;
    update();
}

void BgMusicProgressView::setCurrentTime(qint64 time)
{
    m_currentTime = time;
    update();
}

qint64 BgMusicProgressView::duration() const
{
    const auto movie = m_item ? m_item->movie() : IMovie::Ptr();
    return movie ? movie->duration() : BgMusicTrimGeometry::kEmptyDuration;
}

BgMusicTrimGeometry BgMusicProgressView::geometryNow() const
{
    const qint64 start = m_item ? m_item->trimStart() : 0;
    const qint64 stop = m_item ? m_item->trimStop() : 0;
    return BgMusicTrimGeometry(QRectF(rect()), duration(), start, stop);
}

void BgMusicProgressView::paintEvent(QPaintEvent*)
{
    const BgMusicTrimGeometry geometry = geometryNow();
    const TimelineMapping& map = geometry.mapping();
    if (map.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double mid = map.midY();
    const QRectF bar(map.content().left(), mid - 3, map.content().width(), 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(25, 25, 25));
    painter.drawRoundedRect(bar, 3, 3);
    if (m_item) {
        const double from = map.timeToPoint(m_item->trimStart());
        const double to = map.timeToPoint(m_item->trimStop());
        if (to > from) {
            painter.setBrush(QColor(70, 140, 230));
            painter.drawRoundedRect(QRectF(from, mid - 3, to - from, 6), 3, 3);
        }
    }
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(map.timeToPoint(m_item ? m_currentTime : 0), mid), 5, 5);
    if (m_item) {
        painter.setBrush(QColor(240, 200, 60));
        for (const QRectF& icon : {geometry.leftTrimIconRect(), geometry.rightTrimIconRect()}) {
            QPainterPath arrow;
            arrow.moveTo(icon.center().x(), icon.top());
            arrow.lineTo(icon.right(), icon.top() + 5);
            arrow.lineTo(icon.right(), icon.bottom());
            arrow.lineTo(icon.left(), icon.bottom());
            arrow.lineTo(icon.left(), icon.top() + 5);
            arrow.closeSubpath();
            painter.drawPath(arrow);
        }
    }
}

void BgMusicProgressView::mousePressEvent(QMouseEvent* event)
{
    m_dragType = 0;
    if (!m_item || event->button() != Qt::LeftButton) {
        return;
    }
    const BgMusicTrimGeometry geometry = geometryNow();
    m_press = event->position();
    m_dragType = geometry.dragTypeAtPoint(m_press);
    if (m_dragType == 3) {
        seekToPoint(m_press);
    }
    m_startX = geometry.mapping().timeToPoint(m_item->trimStart());
    m_endX = geometry.mapping().timeToPoint(m_item->trimStop());
}

void BgMusicProgressView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_item || m_dragType == 0 || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    if (m_dragType == 3 || m_dragType == 4) {
        seekToPoint(event->position());
        return;
    }
    const qint64 time =
        geometryNow().handleStep(m_dragType, m_press.x(), event->position().x(), m_startX, m_endX);
    if (m_dragType == 1) {
        m_item->setTrimStart(time);
    } else {
        m_item->setTrimStop(time);
    }
    m_currentTime = time;
    seek(time);
}

void BgMusicProgressView::mouseReleaseEvent(QMouseEvent*)
{
    m_dragType = 0;
}

void BgMusicProgressView::seekToPoint(const QPointF& point)
{
    m_currentTime = geometryNow().seekTimeAt(point.x());
    seek(m_currentTime);
}

void BgMusicProgressView::seek(qint64 time)
{
    emit seekRequested(time);
    update();
}
