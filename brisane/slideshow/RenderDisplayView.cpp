#include "slideshow/RenderDisplayView.h"

#include <QPainter>
#include <cmath>

RenderDisplayView::RenderDisplayView(QWidget* parent) : QWidget(parent) {}

QRectF RenderDisplayView::displayFrameOfRatio(double ratio, const QSizeF& size)
{
    const double w = size.width();
    const double h = size.height();
    if (!(w > 0.0) || !(h > 0.0) || !(ratio > 0.0) || !std::isfinite(ratio)) {
        return {};
    }
    const QSizeF area = ratio > w / h ? QSizeF(w, w / ratio) : QSizeF(h * ratio, h);
    return {(w - area.width()) / 2.0, (h - area.height()) / 2.0, area.width(), area.height()};
}

void RenderDisplayView::setDDisplayRatio(double ratio)
{
    m_ratio = ratio;
    m_displayFrame = displayFrameOfRatio(ratio, size());
    update();
}

void RenderDisplayView::setImgDisplay(const QImage& image)
{
    m_image = image;
    update();
}

void RenderDisplayView::paintEvent(QPaintEvent*)
{
    if (m_displayFrame.isEmpty()) {
        return;
    }
    QPainter painter(this);
    if (m_image.isNull()) {
        painter.fillRect(m_displayFrame, Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(m_displayFrame, m_image);
}
