#include "shell/MainDownView.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

QColor grey(double level)
{
    return QColor::fromRgbF(level, level, level, 1.0);
}

}  // namespace

MainDownView::MainDownView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void MainDownView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, grey(0.14));
    gradient.setColorAt(1, grey(0.12));
    painter.fillRect(rect(), gradient);
    // The top edge: a near-black line, then a lighter one below it.
    painter.fillRect(QRect(0, 0, width(), 1), grey(0.03));
    painter.fillRect(QRect(0, 1, width(), 1), grey(0.16));
}

void MainDownView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}
