#include "videoedit/VEPlayerBackgroundView.h"

#include <QPaintEvent>
#include <QPainter>

VEPlayerBackgroundView::VEPlayerBackgroundView(QWidget* parent) : QWidget(parent) {}

void VEPlayerBackgroundView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1.0f));
}
