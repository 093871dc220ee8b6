#include "shell/PreviewDVDProgressView.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "common/NamedImage.h"
#include "media/MoviePlayer.h"

PreviewDVDProgressView::PreviewDVDProgressView(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(24);
}

QRectF PreviewDVDProgressView::progressSeekRect() const
{
    return QRectF(rect()).adjusted(SeekInset, 0, -SeekInset, 0);
}

double PreviewDVDProgressView::progress() const
{
    if (!m_player) {
        return 0.0;
    }
    const LMMediaTime duration = std::max<LMMediaTime>(m_player->duration(), 1);
    return static_cast<double>(m_player->currentTime()) / static_cast<double>(duration);
}

void PreviewDVDProgressView::seekPointX(double x)
{
    const QRectF seek = progressSeekRect();
    seekProgress((x - seek.left()) / std::max(seek.width(), 1.0));
}

void PreviewDVDProgressView::seekProgress(double p)
{
    if (!m_player) {
        return;
    }
    const double clamped = std::clamp(p, 0.0, 1.0);
    m_player->seek(static_cast<LMMediaTime>(static_cast<double>(m_player->duration()) * clamped));
    update();
}

void PreviewDVDProgressView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF seek = progressSeekRect();
    const QImage back = NamedImage::imageNamed(QStringLiteral("TimelineBack"));
    if (!back.isNull()) {
        // Places are measured from the bottom edge, y up.
        painter.drawImage(
            QRectF(seek.left() - 1, height() - back.height(), seek.width() + 2, back.height()),
            back);
    }
    const QImage knob = NamedImage::imageNamed(QStringLiteral("PlayBtn2"));
    if (!knob.isNull()) {
        const double centre = seek.left() + std::clamp(progress(), 0.0, 1.0) * seek.width();
        const double top = height() - 6 - knob.height();
        painter.drawImage(QPointF(centre - knob.width() / 2.0, top), knob);
    }
}

void PreviewDVDProgressView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_dragging = true;
    seekPointX(event->position().x());
}

void PreviewDVDProgressView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        seekPointX(event->position().x());
    }
}

void PreviewDVDProgressView::mouseReleaseEvent(QMouseEvent*)
{
    m_dragging = false;
}
