#include "videoedit/VideoEditBackgroundView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

VideoEditBackgroundView::VideoEditBackgroundView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void VideoEditBackgroundView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1.0f));
}

void VideoEditBackgroundView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}
