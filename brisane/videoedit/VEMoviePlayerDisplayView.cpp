#include "videoedit/VEMoviePlayerDisplayView.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include "common/CommonFunction.h"
#include "media/MoviePlayer.h"

VEMoviePlayerDisplayView::VEMoviePlayerDisplayView(QWidget* parent)
    : VEMoviePlayerDisplayView(parent, QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1.0f))
{
}

VEMoviePlayerDisplayView::VEMoviePlayerDisplayView(QWidget* parent, const QColor& background)
    : QWidget(parent), m_background(background)
{
}

void VEMoviePlayerDisplayView::setPlayer(MoviePlayer* player)
{
    m_player = player;
    update();
}

void VEMoviePlayerDisplayView::setShowOrigin(bool show)
{
    m_showOrigin = show;
    update();
}

VEMoviePlayerDisplayView::Frame VEMoviePlayerDisplayView::currentFrame() const
{
    if (!m_player) {
        return {};
    }
    Frame frame{m_player->effectVideoRect(), m_player->effectImage()};
    if (m_showOrigin || frame.videoRect.isEmpty()) {
        frame = {m_player->originVideoRect(), m_player->originImage()};
    }
    return frame;
}

QRectF VEMoviePlayerDisplayView::pictureRect(const QRectF& videoRect, const QRectF& bounds)
{
    return CommonFunction::scaleRectIn(videoRect, bounds);
}

void VEMoviePlayerDisplayView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_background);
    const Frame frame = currentFrame();
    const QRectF target = pictureRect(frame.videoRect, QRectF(rect()));
    if (target.isEmpty()) {
        return;
    }
    if (frame.image.isNull()) {
        painter.fillRect(target, Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame.image, QRectF(frame.image.rect()));
}
