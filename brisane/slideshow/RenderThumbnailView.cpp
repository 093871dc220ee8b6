#include "slideshow/RenderThumbnailView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "corvane/DLShadowPainter.h"
#include "media/PhotoItem.h"
#include "slideshow/core/RenderThumbnailViewDelegate.h"
#include "slideshow/core/UpCoordinates.h"

RenderThumbnailView::RenderThumbnailView(const QRectF& frame, QWidget* parent)
    : QWidget(parent),
      m_shadow{QPointF(0, 0), 4.0, QColor(0, 0, 0)},
      m_color(QColor::fromRgbF(1, 1, 0, 1))
{
    setGeometry(frame.toRect());
    // The editing window gives the tile the focus; a click does not.
    setFocusPolicy(Qt::NoFocus);
}

QRectF RenderThumbnailView::displayFrameInFrame(const QRectF& frame, double ratio)
{
    const double w = frame.width();
    const double h = frame.height();
    if (!(w > 0.0) || !(h > 0.0) || !(ratio > 0.0) || !std::isfinite(ratio)) {
        return {};
    }
    if (ratio > w / h) {
        return {frame.x(), frame.y() + (h - w / ratio) / 2.0, w, w / ratio};
    }
    return {frame.x() + (w - h * ratio) / 2.0, frame.y(), h * ratio, h};
}

QRectF RenderThumbnailView::bounds() const
{
    return {0, 0, static_cast<double>(width()), static_cast<double>(height())};
}

void RenderThumbnailView::setOItem(const std::shared_ptr<PhotoItem>& item)
{
    m_item = item;
    const QImage thumbnail = item ? item->imgThumbnail() : QImage();
    if (thumbnail.width() > 0 && thumbnail.height() > 0) {
        const QRectF inset =
            bounds().adjusted(PictureInset, PictureInset, -PictureInset, -PictureInset);
        m_displayFrame = displayFrameInFrame(inset, double(thumbnail.width()) / thumbnail.height());
    }
    update();
}

void RenderThumbnailView::setBIsChoosen(bool choosen)
{
    m_choosen = choosen;
    update();
}

void RenderThumbnailView::didClickOnRenderThumbnailView(RenderThumbnailView* view)
{
    if (m_delegate) {
        m_delegate->didClickOnRenderThumbnailView(view);
    }
}

void RenderThumbnailView::didDeleteOnRenderThumbnailView(RenderThumbnailView* view)
{
    if (m_delegate) {
        m_delegate->didDeleteOnRenderThumbnailView(view);
    }
}

void RenderThumbnailView::paintEvent(QPaintEvent*)
{
    const QImage thumbnail = m_item ? m_item->imgThumbnail() : QImage();
    if (m_displayFrame.isEmpty() || thumbnail.width() <= 0 || thumbnail.height() <= 0) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.save();
    UpCoordinates::turnUp(painter, height());
    DLShadowPainter::drawShadow(painter, thumbnail, m_displayFrame, m_shadow);
    painter.restore();
    const QRectF target = UpCoordinates::toWidget(m_displayFrame, height());
    painter.drawImage(target, thumbnail);
    if (m_choosen) {
        painter.setPen(QPen(m_color, 1.0));
        painter.setBrush(Qt::NoBrush);
        // The line inside the picture's edge pixels, so it stays one pixel.
        painter.drawRect(target.adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void RenderThumbnailView::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = UpCoordinates::fromWidget(event->position(), height());
    const QRectF& r = m_displayFrame;
    // Half-open, as a point-in-rectangle test is: the far edges lie outside.
    const bool inside = !r.isEmpty() && p.x() >= r.left() && p.x() < r.right() &&
                        p.y() >= r.top() && p.y() < r.bottom();
    if (inside) {
        didClickOnRenderThumbnailView(this);
    }
    event->accept();
}

void RenderThumbnailView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        didDeleteOnRenderThumbnailView(this);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
