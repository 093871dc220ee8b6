#include "common/widgets/MouseFirstResponderView.h"

#include <QMouseEvent>

MouseFirstResponderView::MouseFirstResponderView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void MouseFirstResponderView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    event->accept();
}
