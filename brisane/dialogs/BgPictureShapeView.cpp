#include "dialogs/BgPictureShapeView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "dialogs/BgPictureCanvasView.h"
#include "dialogs/core/BgPictureGeometry.h"

BgPictureShapeView::BgPictureShapeView(BgPictureCanvasView* canvas)
    : QWidget(canvas), m_canvas(canvas)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

void BgPictureShapeView::setCropRect(const QRectF& rect)
{
    m_cropRect = rect;
    update();
}

void BgPictureShapeView::mousePressEvent(QMouseEvent* event)
{
    m_dragType = 0;
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_press = m_canvas->toCanvas(event->position());
    m_dragType = BgPictureGeometry::hitType(m_press, m_cropRect);
    m_fixedPointType = BgPictureGeometry::oppositeHandle(m_dragType);
    m_startRect = m_cropRect;
    update();
}

void BgPictureShapeView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF point = m_canvas->toCanvas(event->position());
    if (m_dragType == 0 || !(event->buttons() & Qt::LeftButton)) {
        updateCursor(point);
        return;
    }
    const float r = BgPictureGeometry::aspect(m_is16_9);
    m_cropRect = BgPictureGeometry::dragStep(m_dragType, m_press, point, m_startRect,
                                             m_canvas->canvasRect(), r);
    m_canvas->playerCropDidChanged();
    update();
}

void BgPictureShapeView::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragType = 0;
    m_fixedPointType = 0;
    updateCursor(m_canvas->toCanvas(event->position()));
    update();
}

void BgPictureShapeView::updateCursor(const QPointF& canvasPoint)
{
    const int type = BgPictureGeometry::hitType(canvasPoint, m_cropRect);
    // Widget y runs down: handles 1 and 4 lie on the falling diagonal.
    if (type == 1 || type == 4) {
        setCursor(Qt::SizeFDiagCursor);
    } else if (type == 2 || type == 3) {
        setCursor(Qt::SizeBDiagCursor);
    } else {
        unsetCursor();
    }
}

void BgPictureShapeView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = m_canvas->toWidget(m_cropRect);
    QPainterPath outline;
    outline.addRoundedRect(frame, 2, 2);
    QPainterPath shade;
    shade.setFillRule(Qt::OddEvenFill);
    shade.addRect(m_canvas->toWidget(m_canvas->canvasRect()));
    shade.addPath(outline);
    painter.fillPath(shade, QColor(0, 0, 0, 128));
    QPen dash(Qt::white, 1.5);
    dash.setDashPattern({5.0 / 1.5, 5.0 / 1.5});
    dash.setDashOffset(10.0 / 1.5);
    painter.strokePath(outline, dash);
    painter.setPen(Qt::NoPen);
    for (int type = 1; type <= 4; ++type) {
        painter.setBrush(type == m_fixedPointType ? QColor(Qt::yellow) : QColor(Qt::green));
        painter.drawEllipse(m_canvas->toWidget(BgPictureGeometry::handleSquare(type, m_cropRect)));
    }
}
