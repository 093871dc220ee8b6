#include "shell/PreviewDVDBackView.h"

#include <QMouseEvent>
#include <QPainter>

#include "common/CommonFunction.h"
#include "media/MoviePlayer.h"
#include "production/DVDPlayer.h"
#include "shell/PreviewDisplayView.h"

PreviewDVDBackView::PreviewDVDBackView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRectF PreviewDVDBackView::displayRect() const
{
    if (!m_player || m_player->effectImage().isNull()) {
        return {};
    }
    const QImage image = m_player->effectImage();
    return CommonFunction::scaleRectIn(QRectF(QPointF(0, 0), QSizeF(image.size())), QRectF(rect()));
}

void PreviewDVDBackView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const int grey = PreviewDisplayView::MarginGrey;
    painter.fillRect(event->rect(), QColor(grey, grey, grey));
    const QImage image = m_player ? m_player->effectImage() : QImage();
    const QRectF target =
        CommonFunction::scaleRectIn(QRectF(QPointF(0, 0), QSizeF(image.size())), QRectF(rect()));
    if (image.isNull()) {
        painter.fillRect(target, Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}

void PreviewDVDBackView::mousePressEvent(QMouseEvent* event)
{
    auto* player = qobject_cast<DVDPlayer*>(m_player);
    const auto fraction = PreviewDisplayView::normalisedPoint(event->position(), displayRect());
    if (player && fraction) {
        player->clickPoint(*fraction);
    }
}
