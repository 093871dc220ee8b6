#include "slideshow/CropFrameView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "common/NamedImage.h"
#include "slideshow/core/CropFrameViewDelegate.h"

namespace {

constexpr double Margin = CropFrameGeometry::HandleMargin;
constexpr double BracketLength = 11.0;
constexpr double MarkLength = 10.0;

// One path of width 2 through the points; a point equal to the first starts
// the path again there.
void drawLinesWithPoints(QPainter& painter, const QList<QPointF>& points)
{
    if (points.isEmpty()) {
        return;
    }
    QPainterPath path(points.first());
    for (qsizetype i = 1; i < points.size(); ++i) {
        if (points[i] == points.first()) {
            path.moveTo(points[i]);
        } else {
            path.lineTo(points[i]);
        }
    }
    QPen pen = painter.pen();
    pen.setWidthF(2.0);
    painter.strokePath(path, pen);
}

// Separate lines of width 2 from the point, in the order up, down, left, right.
void drawLinesAt(QPainter& painter, const QPointF& point, double length, const QColor& colour,
                 bool up, bool down, bool left, bool right)
{
    QPen pen(colour, 2.0);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const QList<std::pair<bool, QPointF>> lines{
        {up, {0, length}}, {down, {0, -length}}, {left, {-length, 0}}, {right, {length, 0}}};
    for (const auto& [wanted, step] : lines) {
        if (wanted) {
            painter.drawLine(point, point + step);
        }
    }
}

void drawCircleWithCenter(QPainter& painter, const QPointF& centre, double radius,
                          const QColor& colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Qt::NoBrush);
}

QPen guidePen()
{
    QPen pen(Qt::white, 1.0);
    pen.setDashPattern({5.0, 3.0});
    pen.setDashOffset(0.0);
    return pen;
}

QCursor imageCursor(const QString& name)
{
    const QPixmap picture = QPixmap::fromImage(NamedImage::imageNamed(name));
    if (picture.isNull()) {
        return Qt::SizeAllCursor;
    }
    return QCursor(picture, picture.width() / 2, picture.height() / 2);
}

}  // namespace

CropFrameView::CropFrameView(QWidget* parent)
    : LimitedDraggingView(parent, std::make_unique<CropFrameGeometry>())
{
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

CropFrameGeometry& CropFrameView::geometryRules()
{
    return static_cast<CropFrameGeometry&>(dragging());
}

const CropFrameGeometry& CropFrameView::geometryRules() const
{
    return static_cast<const CropFrameGeometry&>(dragging());
}

void CropFrameView::setLimitedRect(const QRectF& picture)
{
    geometryRules().setPictureRect(picture);
    update();
}

void CropFrameView::setDisplayRect(const QRectF& crop)
{
    geometryRules().setDisplayRect(crop);
    applyFrame();
}

void CropFrameView::setCanDrawCenterLines(bool can)
{
    m_centerLines = can;
    update();
}

void CropFrameView::setCanDrawDiagonals(bool can)
{
    m_diagonals = can;
    update();
}

void CropFrameView::setCanDrawTrisectionLines(bool can)
{
    m_trisection = can;
    update();
}

void CropFrameView::displayWithNewCropFrameRatioType(int type)
{
    if (geometryRules().displayWithNewCropFrameRatioType(type)) {
        applyFrame();
    }
}

void CropFrameView::transformViewWithOffset(const QPointF& offset)
{
    geometryRules().transformViewWithOffset(offset);
    applyFrame();
}

void CropFrameView::clearRotationRelatedSettings()
{
    geometryRules().clearRotationRelatedSettings();
    update();
}

void CropFrameView::tellDelegate()
{
    if (m_delegate) {
        m_delegate->updateCropRatioRectInformation();
        m_delegate->setCropRectDisplayOnSuperview();
    }
}

QCursor CropFrameView::cursorOfZone(CropFrameGeometry::CursorZone zone)
{
    switch (zone) {
        case CropFrameGeometry::BottomLeftCorner:
        case CropFrameGeometry::TopRightCorner:
            return imageCursor(QStringLiteral("Crop_Resize_Cursor_L.png"));
        case CropFrameGeometry::TopLeftCorner:
        case CropFrameGeometry::BottomRightCorner:
            return imageCursor(QStringLiteral("Crop_Resize_Cursor_R.png"));
        case CropFrameGeometry::LeftEdge:
        case CropFrameGeometry::RightEdge:
            return Qt::SizeHorCursor;
        case CropFrameGeometry::BottomEdge:
        case CropFrameGeometry::TopEdge:
            return Qt::SizeVerCursor;
        case CropFrameGeometry::Inside:
        case CropFrameGeometry::Outside:
            break;
    }
    return Qt::ArrowCursor;
}

QCursor CropFrameView::cursorAt(const QPointF& local) const
{
    if (isDragging() && enumMouseDragType() == CropFrameGeometry::Move) {
        return Qt::ClosedHandCursor;
    }
    const QPointF point = pointInSuperview(local) - frameUp().topLeft();
    return cursorOfZone(geometryRules().cursorZoneAt(point));
}

void CropFrameView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    geometryRules().mouseDown(pointInSuperview(event->position()));
    setCursor(cursorAt(event->position()));
    update();
}

void CropFrameView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        setCursor(cursorAt(event->position()));
        return;
    }
    if (geometryRules().mouseDragged(pointInSuperview(event->position()))) {
        applyFrame();
        tellDelegate();
        update();
    }
}

void CropFrameView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    geometryRules().mouseUp();
    setCursor(cursorAt(event->position()));
    update();
}

void CropFrameView::keyPressEvent(QKeyEvent* event)
{
    QPointF step;
    switch (event->key()) {
        case Qt::Key_Left:
            step = {-CropFrameGeometry::ArrowStep, 0};
            break;
        case Qt::Key_Right:
            step = {CropFrameGeometry::ArrowStep, 0};
            break;
        case Qt::Key_Down:
            step = {0, -CropFrameGeometry::ArrowStep};
            break;
        case Qt::Key_Up:
            step = {0, CropFrameGeometry::ArrowStep};
            break;
        default:
            LimitedDraggingView::keyPressEvent(event);
            return;
    }
    transformViewWithOffset(step);
    tellDelegate();
}

void CropFrameView::paintEvent(QPaintEvent*)
{
    const QRectF frame = frameUp();
    if (frame.width() <= 0.0 || frame.height() <= 0.0) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    turnPainterUp(painter);
    const double w = frame.width();
    const double h = frame.height();
    drawCenterLines(painter, w, h);
    drawDiagonals(painter, w, h);
    drawTrisectionLines(painter, w, h);
    drawDefaultFrame(painter, w, h);
}

void CropFrameView::drawCenterLines(QPainter& painter, double w, double h) const
{
    const QPointF c = rctLimitedRect().center() - frameUp().topLeft();
    QPainterPath path;
    if (m_centerLines || (c.x() > w / 2 - 1 && c.x() < w / 2 + 1)) {
        path.moveTo(w / 2, Margin);
        path.lineTo(w / 2, h - Margin);
    }
    if (m_centerLines || (c.y() > h / 2 - 1 && c.y() < h / 2 + 1)) {
        path.moveTo(Margin, h / 2);
        path.lineTo(w - Margin, h / 2);
    }
    painter.strokePath(path, guidePen());
}

void CropFrameView::drawDiagonals(QPainter& painter, double w, double h) const
{
    if (!m_diagonals) {
        return;
    }
    QPainterPath path;
    path.moveTo(Margin, Margin);
    path.lineTo(w - Margin, h - Margin);
    path.moveTo(Margin, h - Margin);
    path.lineTo(w - Margin, Margin);
    painter.strokePath(path, guidePen());
}

void CropFrameView::drawTrisectionLines(QPainter& painter, double w, double h) const
{
    if (!m_trisection) {
        return;
    }
    const double cw = w - 2 * Margin;
    const double ch = h - 2 * Margin;
    QPainterPath path;
    for (const double part : {0.333, 0.667}) {
        path.moveTo(Margin, Margin + ch * part);
        path.lineTo(Margin + cw, Margin + ch * part);
        path.moveTo(Margin + cw * part, Margin);
        path.lineTo(Margin + cw * part, Margin + ch);
    }
    painter.strokePath(path, guidePen());
}

void CropFrameView::drawDefaultFrame(QPainter& painter, double w, double h) const
{
    painter.setPen(QPen(Qt::white, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(Margin, Margin, w - 2 * Margin, h - 2 * Margin));

    const double low = (h - BracketLength) / 2;
    const double high = (h + BracketLength) / 2;
    const double left = (w - BracketLength) / 2;
    const double right = (w + BracketLength) / 2;
    drawLinesWithPoints(painter, {{Margin, low}, {1, low}, {1, high}, {Margin, high}});
    drawLinesWithPoints(painter,
                        {{left, h - Margin}, {left, h - 1}, {right, h - 1}, {right, h - Margin}});
    drawLinesWithPoints(painter,
                        {{w - Margin, low}, {w - 1, low}, {w - 1, high}, {w - Margin, high}});
    drawLinesWithPoints(painter, {{left, Margin}, {left, 1}, {right, 1}, {right, Margin}});

    const bool resizing = geometryRules().isResizing();
    const int stationary = enumStationaryPointType();
    const auto colourOf = [&](int corner) {
        return resizing && stationary == corner ? StationaryMarkColor : MarkColor;
    };
    drawLinesAt(painter, {1, 1}, MarkLength, colourOf(CropFrameGeometry::BottomLeft), true, false,
                false, true);
    drawLinesAt(painter, {1, h - 1}, MarkLength, colourOf(CropFrameGeometry::TopLeft), false, true,
                false, true);
    drawLinesAt(painter, {w - 1, h - 1}, MarkLength, colourOf(CropFrameGeometry::TopRight), false,
                true, true, false);
    drawLinesAt(painter, {w - 1, 1}, MarkLength, colourOf(CropFrameGeometry::BottomRight), true,
                false, true, false);

    drawCircleWithCenter(painter, {w / 2, h / 2}, CentreDotRadius, Qt::red);
}
