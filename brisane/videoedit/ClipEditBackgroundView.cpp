#include "videoedit/ClipEditBackgroundView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

ClipEditBackgroundView::ClipEditBackgroundView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void ClipEditBackgroundView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0.12f, 0.12f, 0.12f, 1.0f));
}

void ClipEditBackgroundView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}
