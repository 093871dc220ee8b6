#include "dialogs/BgPictureCanvasView.h"

#include <QPainter>

#include "dialogs/BgPictureShapeView.h"
#include "dialogs/core/BgPictureGeometry.h"

BgPictureCanvasView::BgPictureCanvasView(QWidget* parent)
    : QWidget(parent), m_shapeView(new BgPictureShapeView(this))
{
    m_shapeView->hide();
}

void BgPictureCanvasView::resizeEvent(QResizeEvent*)
{
    m_shapeView->setGeometry(rect());
}

void BgPictureCanvasView::updateViewBoundsWithRect(const QRectF& box)
{
    m_canvasRect = box;
    m_shapeView->setGeometry(rect());
    m_shapeView->setCropRect(box);
    update();
}

void BgPictureCanvasView::flushCanvasRectDrawWithImage(const QImage& image,
                                                       const QRectF& imageCanvasRect,
                                                       const QRectF& imageCropRect)
{
    m_image = image;
    m_imageCanvasRect = imageCanvasRect;
    m_imageScale =
        image.isNull() ? 0.0f : BgPictureGeometry::imageScale(m_canvasRect, imageCanvasRect);
    m_imageOffset = BgPictureGeometry::imageOffset(m_canvasRect, imageCanvasRect, m_imageScale);
    m_shapeView->setVisible(hasPicture());
    if (hasPicture()) {
        m_shapeView->setCropRect(
            BgPictureGeometry::pictureToCanvas(imageCropRect, m_imageScale, m_imageOffset));
    }
    update();
}

QRectF BgPictureCanvasView::pictureCropRect() const
{
    if (!hasPicture()) {
        return QRectF();
    }
    return BgPictureGeometry::canvasToPicture(m_shapeView->cropRect(), m_imageScale, m_imageOffset);
}

void BgPictureCanvasView::playerCropDidChanged()
{
    if (hasPicture()) {
        emit cropChanged(pictureCropRect());
    }
}

QPointF BgPictureCanvasView::toCanvas(const QPointF& p) const
{
    return QPointF(p.x(), height() - p.y());
}

QRectF BgPictureCanvasView::toWidget(const QRectF& r) const
{
    return QRectF(r.x(), height() - r.y() - r.height(), r.width(), r.height());
}

void BgPictureCanvasView::paintEvent(QPaintEvent*)
{
    if (!hasPicture()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Picture coordinates count y up from the picture's bottom edge; the
    // image's rows run top down.
    const QRectF part = m_imageCanvasRect;
    const QRectF source(part.x(), m_image.height() - part.y() - part.height(), part.width(),
                        part.height());
    painter.drawImage(toWidget(m_canvasRect), m_image, source);
}
