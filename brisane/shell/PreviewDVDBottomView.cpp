#include "shell/PreviewDVDBottomView.h"

#include <QLinearGradient>
#include <QPainter>

PreviewDVDBottomView::PreviewDVDBottomView(QWidget* parent) : QWidget(parent) {}

void PreviewDVDBottomView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor::fromRgbF(0.17f, 0.17f, 0.17f));
    gradient.setColorAt(1, QColor::fromRgbF(0.13f, 0.13f, 0.13f));
    painter.fillRect(rect(), gradient);
    painter.setPen(QColor::fromRgbF(0.01f, 0.01f, 0.01f));
    painter.drawLine(QPointF(0, 1.5), QPointF(width(), 1.5));
}
