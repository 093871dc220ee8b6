#include "shell/PreviewDisplayView.h"

#include <QMouseEvent>
#include <QPainter>

#include "common/CommonFunction.h"
#include "media/MoviePlayer.h"
#include "production/DVDPlayer.h"

namespace {

struct Picture {
    QImage image;
    QRectF extent;
};

QRectF extentOf(const QImage& image, const QRectF& videoRect)
{
    if (!videoRect.isEmpty()) {
        return QRectF(QPointF(0, 0), videoRect.size());
    }
    return QRectF(QPointF(0, 0), QSizeF(image.size()));
}

}  // namespace

PreviewDisplayView::PreviewDisplayView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

DVDPlayer* PreviewDisplayView::dvdPlayer() const
{
    return qobject_cast<DVDPlayer*>(m_player);
}

QImage PreviewDisplayView::getDVDHighlightImage() const
{
    DVDPlayer* player = dvdPlayer();
    return player ? player->getDVDHighlightImage() : QImage();
}

QRectF PreviewDisplayView::displayRect() const
{
    if (!m_player) {
        return {};
    }
    const QImage image = m_player->effectImage();
    if (image.isNull()) {
        return {};
    }
    return CommonFunction::scaleRectIn(extentOf(image, m_player->effectVideoRect()),
                                       QRectF(rect()));
}

std::optional<QPointF> PreviewDisplayView::normalisedPoint(const QPointF& point,
                                                           const QRectF& picture)
{
    if (picture.isEmpty() || !picture.contains(point)) {
        return std::nullopt;
    }
    return QPointF((point.x() - picture.left()) / picture.width(),
                   (picture.bottom() - point.y()) / picture.height());
}

void PreviewDisplayView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(MarginGrey, MarginGrey, MarginGrey));
    if (!m_player) {
        return;
    }
    QImage image = m_player->effectImage();
    QRectF videoRect = m_player->effectVideoRect();
    if (m_showOrigin || videoRect.isEmpty()) {
        image = m_player->originImage();
        videoRect = m_player->originVideoRect();
    }
    const QRectF extent = extentOf(image, videoRect);
    const QRectF target = CommonFunction::scaleRectIn(extent, QRectF(rect()));
    if (image.isNull()) {
        painter.fillRect(target, Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    const QImage highlight = getDVDHighlightImage();
    if (!highlight.isNull()) {
        painter.drawImage(target, highlight);
    }
}

void PreviewDisplayView::mouseMoveEvent(QMouseEvent* event)
{
    moveAtPoint(event->position());
}

void PreviewDisplayView::mousePressEvent(QMouseEvent* event)
{
    clickPoint(event->position());
}

void PreviewDisplayView::moveAtPoint(const QPointF& point)
{
    doDVDActionWithPoint(point, Action::Move);
}

void PreviewDisplayView::clickPoint(const QPointF& point)
{
    doDVDActionWithPoint(point, Action::Click);
}

void PreviewDisplayView::doDVDActionWithPoint(const QPointF& point, Action action)
{
    DVDPlayer* player = dvdPlayer();
    const std::optional<QPointF> fraction = normalisedPoint(point, displayRect());
    if (!player || !fraction) {
        return;
    }
    if (action == Action::Click) {
        player->clickPoint(*fraction);
    } else {
        player->moveAtPoint(*fraction);
        update();
    }
}
