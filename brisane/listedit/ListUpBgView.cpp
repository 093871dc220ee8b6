#include "listedit/ListUpBgView.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace {

QColor grey(double level)
{
    return QColor::fromRgbF(level, level, level, 1.0);
}

}  // namespace

ListUpBgView::ListUpBgView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setFixedHeight(26);
}

void ListUpBgView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const double w = width();
    const double h = height();
    // From grey 0.13 at the top to grey 0.14 at the bottom.
    QLinearGradient gradient(0.0, 0.0, 0.0, h);
    gradient.setColorAt(0.0, grey(0.13));
    gradient.setColorAt(1.0, grey(0.14));
    painter.fillRect(rect(), gradient);
    // Hairlines, measured from the bottom edge upward.
    const auto hairline = [&](double yUp, double level) {
        painter.setPen(QPen(grey(level), 1.0));
        painter.drawLine(QLineF(0.0, h - yUp, w, h - yUp));
    };
    hairline(0.5, 0.03);
    hairline(1.5, 0.15);
    hairline(std::trunc(h) - 0.5, 0.03);
}

void ListUpBgView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    event->accept();
}
