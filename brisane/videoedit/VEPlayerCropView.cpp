#include "videoedit/VEPlayerCropView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include "videoedit/core/VEPlayerCropViewDelegate.h"

namespace {

const QColor kHandleColour(0, 200, 0);
const QColor kOutsideShade(0, 0, 0, qRound(0.7 * 255));
constexpr double kOutlineWidth = 2.0;
constexpr double kOutlineRadius = 2.0;
// Dashes of 5 points on, 5 off, starting 10 points in (Qt counts dashes in
// pen widths).
constexpr double kDash = 5.0 / kOutlineWidth;
constexpr double kDashPhase = 10.0 / kOutlineWidth;

}  // namespace

VEPlayerCropView::VEPlayerCropView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
}

void VEPlayerCropView::setCropRect(const QRectF& rect)
{
    m_cropRect = rect;
    update();
}

void VEPlayerCropView::setOnlyMove(bool on)
{
    if (m_onlyMove != on) {
        m_onlyMove = on;
        update();
    }
}

VEPlayerCropGeometry VEPlayerCropView::cropGeometry() const
{
    VEPlayerCropGeometry g;
    g.bounds = QSizeF(size());
    g.cropRect = m_cropRect;
    g.onlyMove = m_onlyMove;
    return g;
}

QPointF VEPlayerCropView::toOverlay(const QPointF& widgetPoint) const
{
    return {widgetPoint.x(), height() - widgetPoint.y()};
}

QPointF VEPlayerCropView::toWidget(const QPointF& overlayPoint) const
{
    return {overlayPoint.x(), height() - overlayPoint.y()};
}

int VEPlayerCropView::dragTypeAt(const QPointF& widgetPoint) const
{
    return cropGeometry().pointHitDragType(toOverlay(widgetPoint));
}

Qt::CursorShape VEPlayerCropView::cursorWithType(int type)
{
    switch (type) {
        case VEPlayerCropGeometry::TopLeft:
        case VEPlayerCropGeometry::BottomRight:
            return Qt::SizeFDiagCursor;
        case VEPlayerCropGeometry::TopRight:
        case VEPlayerCropGeometry::BottomLeft:
            return Qt::SizeBDiagCursor;
        case VEPlayerCropGeometry::Left:
        case VEPlayerCropGeometry::Right:
            return Qt::SizeHorCursor;
        case VEPlayerCropGeometry::Top:
        case VEPlayerCropGeometry::Bottom:
            return Qt::SizeVerCursor;
        case VEPlayerCropGeometry::Move:
            return Qt::OpenHandCursor;
        default:
            return Qt::ArrowCursor;
    }
}

bool VEPlayerCropView::editsWatermark() const
{
    return m_delegate && m_delegate->isEditWaterMark();
}

void VEPlayerCropView::playerCropDidChanged()
{
    if (m_delegate) {
        m_delegate->playerCropDidChanged(this);
    }
}

void VEPlayerCropView::updateCursor(const QPointF& widgetPoint)
{
    setCursor(cursorWithType(dragTypeAt(widgetPoint)));
}

void VEPlayerCropView::moveStep(int dx, int dy)
{
    setCropRect(cropGeometry().moveBy(dx, dy));
    playerCropDidChanged();
}

// --- Mouse and keys ---

void VEPlayerCropView::mousePressEvent(QMouseEvent* event)
{
    // A press outside the rectangle and its handles is taken and ignored.
    event->accept();
    m_dragType = VEPlayerCropGeometry::None;
    if (event->button() != Qt::LeftButton) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_pressPoint = toOverlay(event->position());
    m_pressRect = m_cropRect;
    m_dragType = cropGeometry().pointHitDragType(m_pressPoint);
    if (m_dragType == VEPlayerCropGeometry::Move) {
        setCursor(Qt::ClosedHandCursor);
    }
}

void VEPlayerCropView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (m_dragType == VEPlayerCropGeometry::None || !(event->buttons() & Qt::LeftButton)) {
        updateCursor(event->position());
        return;
    }
    setCropRect(cropGeometry().doDragAction(m_dragType, m_pressPoint, toOverlay(event->position()),
                                        m_pressRect));
    playerCropDidChanged();
}

void VEPlayerCropView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const int type = m_dragType;
    m_dragType = VEPlayerCropGeometry::None;
    if (type != VEPlayerCropGeometry::None) {
        playerCropDidChanged();
    }
    updateCursor(event->position());
}

void VEPlayerCropView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Up:
            moveStep(0, 1);
            break;
        case Qt::Key_Down:
            moveStep(0, -1);
            break;
        case Qt::Key_Left:
            moveStep(-1, 0);
            break;
        case Qt::Key_Right:
            moveStep(1, 0);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

// --- Drawing ---

void VEPlayerCropView::paintEvent(QPaintEvent*)
{
    if (m_cropRect.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The one conversion from overlay points (y up) to the widget (y down).
    painter.setTransform(QTransform(1, 0, 0, -1, 0, height()));
    const QRectF outline = m_cropRect.adjusted(1, 1, -1, -1);
    const bool watermark = editsWatermark();

    QPen pen(watermark ? QColor(Qt::white) : QColor(255, 165, 0), kOutlineWidth);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outline, kOutlineRadius, kOutlineRadius);
    if (!watermark) {
        pen.setColor(Qt::white);
        pen.setDashPattern({kDash, kDash});
        pen.setDashOffset(kDashPhase);
        painter.setPen(pen);
        painter.drawRoundedRect(outline, kOutlineRadius, kOutlineRadius);
    }

    const VEPlayerCropGeometry g = cropGeometry();
    painter.setPen(Qt::NoPen);
    for (int type = VEPlayerCropGeometry::TopLeft; type <= VEPlayerCropGeometry::Bottom; ++type) {
        if (g.allowDragType(type)) {
            painter.fillRect(g.makeRectForDragType(type), kHandleColour);
        }
    }

    if (!watermark) {
        QPainterPath outside;
        outside.setFillRule(Qt::OddEvenFill);
        outside.addRect(QRectF(QPointF(0, 0), QSizeF(size())));
        outside.addRect(m_cropRect);
        painter.fillPath(outside, kOutsideShade);
    }
}
