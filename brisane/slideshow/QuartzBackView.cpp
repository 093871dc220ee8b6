#include "slideshow/QuartzBackView.h"

#include <QPainter>
#include <QPainterPath>

#include "slideshow/core/UpCoordinates.h"

QuartzBackView::QuartzBackView(QWidget* parent)
    : QWidget(parent), m_backColor(QColor::fromRgbF(0.13, 0.13, 0.13, 1.0))
{
}

void QuartzBackView::setRctChoosenFrame(const QRectF& tileFrame)
{
    m_choosenFrame = tileFrame.adjusted(-ChoiceMargin, -ChoiceMargin, ChoiceMargin, ChoiceMargin);
    update();
}

QRectF QuartzBackView::widgetRect(const QRectF& upRect) const
{
    return UpCoordinates::toWidget(upRect, height());
}

void QuartzBackView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(widgetRect(QRectF(0.5, 0, 4, height())), m_backColor);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 0, 1), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(widgetRect(m_choosenFrame), 5, 5);
}
