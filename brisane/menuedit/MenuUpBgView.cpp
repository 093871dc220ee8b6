#include "menuedit/MenuUpBgView.h"

#include <QLinearGradient>
#include <QPainter>

MenuUpBgView::MenuUpBgView(QWidget* parent) : MouseFirstResponderView(parent) {}

void MenuUpBgView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor::fromRgbF(0.13f, 0.13f, 0.13f));
    gradient.setColorAt(1, QColor::fromRgbF(0.14f, 0.14f, 0.14f));
    painter.fillRect(rect(), gradient);
    painter.setPen(QPen(QColor::fromRgbF(0.03f, 0.03f, 0.03f), 1));
    painter.drawLine(QPointF(0, 0.5), QPointF(width(), 0.5));
}
