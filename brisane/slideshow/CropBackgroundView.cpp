#include "slideshow/CropBackgroundView.h"

#include <QPainter>
#include <QPainterPath>

#include "slideshow/core/CropBackgroundViewDelegate.h"
#include "slideshow/core/UpCoordinates.h"

CropBackgroundView::CropBackgroundView(QWidget* parent) : QWidget(parent) {}

QRectF CropBackgroundView::displayImageRect(const QSizeF& image, const QSizeF& bounds)
{
    const double roomW = bounds.width() - 2 * Margin;
    const double roomH = bounds.height() - 2 * Margin;
    if (!(image.width() > 0.0 && image.height() > 0.0 && roomW > 0.0 && roomH > 0.0)) {
        return {};
    }
    const double a = image.width() / image.height();
    double width = 0.0;
    double height = 0.0;
    if (a > roomW / roomH) {
        width = roomW;
        height = width / a;
    } else {
        height = roomH;
        width = height * a;
    }
    return {(bounds.width() - width) / 2, (bounds.height() - height) / 2, width, height};
}

void CropBackgroundView::setDisplayImage(const QImage& image)
{
    m_image = image;
    update();
}

void CropBackgroundView::makeDisplayImageRect()
{
    if (m_image.isNull()) {
        return;
    }
    m_imageFrame = displayImageRect(m_image.size(), size());
}

QRectF CropBackgroundView::getVisualCropFrame() const
{
    return m_delegate ? m_delegate->getVisualCropFrame() : QRectF();
}

void CropBackgroundView::paintEvent(QPaintEvent*)
{
    if (m_image.isNull() || m_imageFrame.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double h = height();
    painter.drawImage(UpCoordinates::toWidget(m_imageFrame, h), m_image);
    QPainterPath dimmed;
    dimmed.setFillRule(Qt::OddEvenFill);
    dimmed.addRect(UpCoordinates::toWidget(m_imageFrame, h));
    const QRectF crop = getVisualCropFrame();
    if (!crop.isEmpty()) {
        dimmed.addRect(UpCoordinates::toWidget(crop, h));
    }
    painter.fillPath(dimmed, QColor::fromRgbF(0, 0, 0, 0.5f));
}
