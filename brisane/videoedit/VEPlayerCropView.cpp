#include "videoedit/VEPlayerCropView.h"

#include <QPainter>
#include <QTransform>

VEPlayerCropView::VEPlayerCropView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void VEPlayerCropView::setCropRect(const QRectF& rect)
{
    m_cropRect = rect;
    update();
}

void VEPlayerCropView::paintEvent(QPaintEvent*)
{
    if (m_cropRect.isEmpty()) {
        return;
    }
    QPainter painter(this);
    const QTransform toWidget(1, 0, 0, -1, 0, height());
    QPen pen(Qt::white, 1.0, Qt::DashLine);
    painter.setPen(pen);
    painter.drawRect(toWidget.mapRect(m_cropRect).adjusted(0.5, 0.5, -0.5, -0.5));
}
