#include "slideshow/RenderBackView.h"

#include <QLinearGradient>
#include <QPainter>

#include "slideshow/core/UpCoordinates.h"

namespace {

QColor grey(double value)
{
    return QColor::fromRgbF(value, value, value, 1.0);
}

}  // namespace

void RenderBackView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const double w = width();
    const double h = height();
    const Look panel = look(h);
    QLinearGradient fill(0, 0, 0, h);
    fill.setColorAt(0, grey(panel.top));
    fill.setColorAt(1, grey(panel.bottom));
    painter.fillRect(rect(), fill);
    for (const Line& line : panel.lines) {
        painter.setPen(QPen(grey(line.grey), 1.0));
        const double y = UpCoordinates::lineToWidget(line.y, h);
        painter.drawLine(QPointF(0, y), QPointF(w, y));
    }
}
