#include "dialogs/TitleTextWndBgView.h"

#include <QMouseEvent>
#include <QPainter>

TitleTextWndBgView::TitleTextWndBgView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(false);
}

void TitleTextWndBgView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColor());
}

void TitleTextWndBgView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    event->accept();
}
