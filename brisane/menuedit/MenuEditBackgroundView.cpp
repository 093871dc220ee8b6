#include "menuedit/MenuEditBackgroundView.h"

#include <QPainter>

MenuEditBackgroundView::MenuEditBackgroundView(QWidget* parent) : MouseFirstResponderView(parent) {}

void MenuEditBackgroundView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0.1f, 0.1f, 0.1f));
}
