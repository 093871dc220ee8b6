#include "dialogs/ChooseBorderPreviewView.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>

ChooseBorderPreviewView::ChooseBorderPreviewView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setMinimumSize(120, 60);
    m_closeTimer.setSingleShot(true);
    m_closeTimer.setInterval(int(PreviewHideSchedule::kShowMs));
    connect(&m_closeTimer, &QTimer::timeout, this, [this] { closePreviewDisplay(); });
}

void ChooseBorderPreviewView::setHighlight(const QColor& border, double borderWidth,
                                           const QColor& fill)
{
    m_border = border;
    m_borderWidth = borderWidth;
    m_fill = fill;
    update();
}

void ChooseBorderPreviewView::displayPreviewView()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_schedule.valueChanged(now) && !m_closeTimer.isActive()) {
        m_closeTimer.start();
    }
    update();
}

void ChooseBorderPreviewView::closePreviewDisplay()
{
    m_closeTimer.stop();
    m_schedule.hide();
    update();
}

void ChooseBorderPreviewView::enterEvent(QEnterEvent*)
{
    m_mouseEntered = true;
    update();
}

void ChooseBorderPreviewView::leaveEvent(QEvent*)
{
    m_mouseEntered = false;
    update();
}

void ChooseBorderPreviewView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect());
    // The button picture.
    QLinearGradient face(bounds.topLeft(), bounds.bottomLeft());
    face.setColorAt(0, QColor(110, 120, 140));
    face.setColorAt(1, QColor(45, 50, 62));
    painter.fillRect(bounds, face);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPointSizeF(std::max(8.0, bounds.height() / 4));
    painter.setFont(font);
    painter.drawText(bounds, Qt::AlignCenter, tr("Play"));
    if (!showsHighlight()) {
        return;
    }
    const double w = std::max(0.0, m_borderWidth);
    const QRectF inner = bounds.adjusted(w, w, -w, -w);
    const bool hasInner = inner.width() > 0 && inner.height() > 0;
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addRect(bounds);
    if (hasInner) {
        ring.addRect(inner);
    }
    painter.fillPath(ring, m_border);
    if (hasInner) {
        painter.fillRect(inner, m_fill);
    }
}
