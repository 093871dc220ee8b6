#include "dialogs/PlayModePanelView.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

QColor grey(double level)
{
    return QColor::fromRgbF(float(level), float(level), float(level));
}

}  // namespace

PlayModePanelView::PlayModePanelView(Kind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {}

void PlayModePanelView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF bounds = QRectF(rect());
    if (m_kind == Kind::Ground) {
        painter.fillRect(bounds, grey(0.17));
        return;
    }
    if (m_kind == Kind::Middle) {
        painter.fillRect(bounds, grey(0.15));
    } else {
        QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
        gradient.setColorAt(0, grey(0.15));
        gradient.setColorAt(1, grey(0.13));
        painter.fillRect(bounds, gradient);
    }
    // Widget y grows downward: the top lines lie just below y = 0.
    painter.setPen(QPen(grey(0.03), 1));
    painter.drawLine(QPointF(0, 0.5), QPointF(bounds.width(), 0.5));
    painter.setPen(QPen(grey(0.17), 1));
    painter.drawLine(QPointF(0, 1.5), QPointF(bounds.width(), 1.5));
}
