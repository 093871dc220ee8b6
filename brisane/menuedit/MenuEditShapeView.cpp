#include "menuedit/MenuEditShapeView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <chrono>

#include "common/CommonFunction.h"
#include "common/NamedImage.h"
#include "menuedit/MenuEditCanvasView.h"
#include "menuedit/MenuEditViewController.h"
#include "menuedit/core/MenuCanvasGeometry.h"
#include "menuedit/core/MenuShapeGeometry.h"
#include "model/DVDPageItem.h"
#include "platform/GeometryStrings.h"
#include "shell/core/IDocumentHost.h"
#include "shell/core/ITitleTextEditWindowController.h"

namespace {

using Geometry = MenuShapeGeometry;

double steadySeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

QList<QRectF> framesOf(const MenuEditShapeView::ItemList& items)
{
    QList<QRectF> frames;
    frames.reserve(items.size());
    for (const auto& item : items) {
        frames.append(item->frame());
    }
    return frames;
}

bool isTextType(qint64 type)
{
    return type == 2;
}

}  // namespace

MenuEditShapeView::MenuEditShapeView(MenuEditCanvasView* canvas)
    : QWidget(canvas),
      canvas_(canvas),
      dragD_(NamedImage::imageNamed(QStringLiteral("CropDrag2"))),
      clock_(steadySeconds)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::ClickFocus);
    keyGuideTimer_.setSingleShot(true);
    keyGuideTimer_.setInterval(clearKeyForDrawLineIntervalMs);
    connect(&keyGuideTimer_, &QTimer::timeout, this, &MenuEditShapeView::clearKeyForDrawLine);
}

// ---- neighbours

MenuEditCanvasView* MenuEditShapeView::canvasView() const
{
    return canvas_;
}

MenuEditViewController* MenuEditShapeView::controller() const
{
    const MenuEditCanvasView* canvas = canvasView();
    return canvas ? canvas->controller() : nullptr;
}

MenuEditShapeView::ItemList MenuEditShapeView::itemsArray() const
{
    const MenuEditViewController* owner = controller();
    return owner ? owner->sourceArray() : ItemList();
}

QPointF MenuEditShapeView::canvasPoint(const QPointF& widgetPoint) const
{
    const MenuEditCanvasView* canvas = canvasView();
    return canvas ? canvas->canvasPointFromView(mapTo(canvas, widgetPoint)) : widgetPoint;
}

QList<QRectF> MenuEditShapeView::candidateFrames() const
{
    QList<QRectF> frames;
    for (const auto& item : itemsArray()) {
        if (!selectedItemArray_.contains(item)) {
            frames.append(item->frame());
        }
    }
    return frames;
}

void MenuEditShapeView::reportSelection() const
{
    if (MenuEditViewController* owner = controller()) {
        owner->shapeViewSelectionUpdate();
    }
}

void MenuEditShapeView::redisplay()
{
    update();
    if (MenuEditCanvasView* canvas = canvasView()) {
        canvas->update();
    }
}

void MenuEditShapeView::markDocumentEdited() const
{
    const MenuEditViewController* owner = controller();
    if (IDocumentHost* main = owner ? owner->documentHost() : nullptr) {
        main->setDocumentEdited(true);
    }
}

// ---- the selection

void MenuEditShapeView::setSelectedItemArray(const ItemList& items)
{
    selectedItemArray_.clear();
    for (const auto& item : items) {
        if (item && !selectedItemArray_.contains(item)) {
            selectedItemArray_.append(item);
        }
    }
    update();
}

void MenuEditShapeView::removeAllSelectedItems()
{
    setSelectedItemArray({});
}

QRectF MenuEditShapeView::getValidSelectedItemLargeRect() const
{
    return Geometry::getValidSelectedItemLargeRect(framesOf(selectedItemArray_));
}

void MenuEditShapeView::fillOldSelectedItemRects()
{
    oldSelectedItemRects_.clear();
    for (const auto& item : selectedItemArray_) {
        oldSelectedItemRects_.append({item, stringFromRect(item->frame())});
    }
}

QRectF MenuEditShapeView::oldFrameOf(const std::shared_ptr<DVDPageItem>& item) const
{
    for (const OldItemRect& record : oldSelectedItemRects_) {
        if (record.menuItem == item) {
            return rectFromString(record.oldFrame);
        }
    }
    return item->frame();
}

void MenuEditShapeView::storeFrame(DVDPageItem& item, const QRectF& frame)
{
    // Frames are archived with the project: a frame that is not a number
    // would be written as one.
    if (Geometry::isFiniteRect(frame)) {
        item.setFrame(frame);
    }
}

// ---- hit tests

bool MenuEditShapeView::isMouseHitMedia(const QPointF& point)
{
    std::shared_ptr<DVDPageItem> hit;
    if (MenuEditViewController* owner = controller()) {
        for (const auto& item : owner->textItemArray()) {
            if (Geometry::itemFrameHit(item->frame(), point)) {
                hit = item;
                break;
            }
        }
    }
    if (!hit) {
        const ItemList items = itemsArray();
        for (auto it = items.crbegin(); it != items.crend(); ++it) {
            if (Geometry::itemFrameHit((*it)->frame(), point)) {
                hit = *it;
                break;
            }
        }
    }
    if (hit) {
        mouseHitItem_ = hit;
        if (!selectedItemArray_.contains(hit)) {
            selectedItemArray_ = {hit};
        }
    } else {
        selectedItemArray_.clear();
        setFocus(Qt::MouseFocusReason);
    }
    redisplay();
    reportSelection();
    return hit != nullptr;
}

int MenuEditShapeView::pointHitDragType(const QPointF& point)
{
    for (const auto& item : selectedItemArray_) {
        for (int type = Geometry::dragUpperLeft; type <= Geometry::dragMove; ++type) {
            if (!Geometry::pointInRect(point, Geometry::makeRectForDragType(type, item->frame()))) {
                continue;
            }
            if (isTextType(item->type())) {
                return Geometry::dragMove;
            }
            if (Geometry::isCornerHandle(type)) {
                selectedItemArray_ = {item};
            }
            return type;
        }
    }
    return Geometry::dragNone;
}

// ---- the pointer

void MenuEditShapeView::mouseDownWithCommand(const QPointF& point)
{
    tracking_ = {};
    for (const auto& item : itemsArray()) {
        if (Geometry::itemFrameHit(item->frame(), point)) {
            if (selectedItemArray_.contains(item)) {
                selectedItemArray_.removeAll(item);
            } else {
                selectedItemArray_.append(item);
            }
            break;
        }
    }
    reportSelection();
    redisplay();
}

void MenuEditShapeView::mouseDownWithNoCommand(const QPointF& point)
{
    tracking_ = {};
    const bool hit = Geometry::isCornerHandle(pointHitDragType(point)) || isMouseHitMedia(point);
    if (!hit) {
        tracking_.mode = TrackingMode::band;
        tracking_.start = point;
        return;
    }
    const int dragType = pointHitDragType(point);
    reportSelection();
    if (dragType == Geometry::dragNone) {
        return;
    }
    fillOldSelectedItemRects();
    tracking_.mode = TrackingMode::drag;
    tracking_.dragType = dragType;
    tracking_.start = point;
    tracking_.largeRect = getValidSelectedItemLargeRect();
    if (Geometry::isCornerHandle(dragType)) {
        takeZoomLimits(selectedItemArray_.last());
    }
}

void MenuEditShapeView::takeZoomLimits(const std::shared_ptr<DVDPageItem>& item)
{
    const MenuEditViewController* editor = controller();
    if (ITitleTextEditWindowController* dialog =
            editor ? editor->titleTextEditController() : nullptr) {
        oldMinScale_ = dialog->getMinZoomWithMedia(item);
        oldMaxScale_ = dialog->getMaxZoomWithMedia(item);
        return;
    }
    // Without the title dialog the item keeps to the canvas and to a width
    // of 30 units.
    oldMinScale_ = MenuCanvasGeometry::minZoomForFrame(item->frame());
    oldMaxScale_ = MenuCanvasGeometry::maxZoomForFrame(
        item->frame(), editor ? editor->menuCanvasRect() : QRectF());
}

void MenuEditShapeView::mouseDraggedTo(const QPointF& point)
{
    if (tracking_.mode == TrackingMode::drag) {
        dragSelectionTo(point);
    } else if (tracking_.mode == TrackingMode::band) {
        dragBandTo(point);
    }
}

void MenuEditShapeView::dragSelectionTo(const QPointF& point)
{
    const int type = tracking_.dragType;
    const QRectF large = tracking_.largeRect;
    const QRectF target = boundInCanvasLimit(doDragAction(type, tracking_.start, point, large));
    const bool single = isSelectedOne();
    for (const auto& item : selectedItemArray_) {
        if (type == Geometry::dragMove) {
            QRectF frame =
                oldFrameOf(item).translated(target.x() - large.x(), target.y() - large.y());
            if (single) {
                frame = checkForDrawAuxiliaryLine(frame);
            }
            storeFrame(*item, frame);
        } else if (Geometry::canResizeFrame(oldFrameOf(item))) {
            storeFrame(*item, target);
        }
    }
    reportSelection();
    redisplay();
}

void MenuEditShapeView::dragBandTo(const QPointF& point)
{
    selectionRect_ = CommonFunction::rectForPoint(tracking_.start, point);
    for (const auto& item : itemsArray()) {
        const bool inSelection = selectedItemArray_.contains(item);
        if (!Geometry::rectsOverlap(selectionRect_, item->frame())) {
            selectedItemArray_.removeAll(item);
        } else if (!inSelection) {
            selectedItemArray_.append(item);
        }
    }
    reportSelection();
    redisplay();
}

void MenuEditShapeView::mouseUpAt(const QPointF& point)
{
    Q_UNUSED(point);
    const TrackingMode mode = tracking_.mode;
    tracking_ = {};
    if (mode == TrackingMode::drag) {
        lines_.drawMediaLine = false;
        lines_.drawMediaHLine = false;
        reportSelection();
        redisplay();
        markDocumentEdited();
    } else if (mode == TrackingMode::band) {
        selectionRect_ = QRectF();
        redisplay();
    }
    if (keyGuideStepHeld_) {
        keyGuideStepHeld_ = false;
        clearKeyForDrawLine();
    }
}

// ---- geometry

QRectF MenuEditShapeView::boundInCanvasLimit(const QRectF& rect) const
{
    const MenuEditViewController* owner = controller();
    return MenuCanvasGeometry::boundInCanvasLimit(rect, owner ? owner->menuCanvasRect() : QRectF());
}

QRectF MenuEditShapeView::doDragAction(int dragType, const QPointF& from, const QPointF& to,
                                       const QRectF& rect) const
{
    const QRectF oldFrame = oldSelectedItemRects_.isEmpty()
                                ? rect
                                : rectFromString(oldSelectedItemRects_.last().oldFrame);
    return Geometry::doDragAction(dragType, from, to, rect, oldFrame, oldMinScale_, oldMaxScale_);
}

// ---- guides

QRectF MenuEditShapeView::checkForDrawAuxiliaryLine(const QRectF& rect)
{
    const AuxiliarySnap snap =
        MenuAuxiliaryLines::checkForDrawAuxiliaryLine(rect, candidateFrames(), lines_);
    lines_ = snap.lines;
    return snap.rect;
}

void MenuEditShapeView::checkForDrawAuxiliaryLineForKeyEvent(const QRectF& frame)
{
    lines_ =
        MenuAuxiliaryLines::checkForDrawAuxiliaryLineForKeyEvent(frame, candidateFrames(), lines_);
    if (lines_.showsAny()) {
        keyForDrawLine_ = true;
        jiangeTime_ = now();
    }
}

void MenuEditShapeView::setClock(Clock clock)
{
    clock_ = clock ? std::move(clock) : Clock(steadySeconds);
}

bool MenuEditShapeView::isKeyGuideStepPending() const
{
    return keyGuideTimer_.isActive() || keyGuideStepHeld_;
}

void MenuEditShapeView::scheduleClearKeyForDrawLine()
{
    if (!isKeyGuideStepPending()) {
        keyGuideTimer_.start();
    }
}

void MenuEditShapeView::clearKeyForDrawLine()
{
    if (isTracking()) {
        keyGuideStepHeld_ = true;  // runs at the release
        return;
    }
    if (now() - jiangeTime_ > keyGuideLifetime) {
        keyForDrawLine_ = false;
        lines_.drawMediaHLine = false;
        lines_.drawMediaLine = false;
    } else {
        scheduleClearKeyForDrawLine();
    }
    update();
}

// ---- arrow keys

void MenuEditShapeView::moveUp()
{
    moveSelectionBy(0, 1);
}

void MenuEditShapeView::moveDown()
{
    moveSelectionBy(0, -1);
}

void MenuEditShapeView::moveLeft()
{
    moveSelectionBy(-1, 0);
}

void MenuEditShapeView::moveRight()
{
    moveSelectionBy(1, 0);
}

void MenuEditShapeView::moveSelectionBy(double dx, double dy)
{
    fillOldSelectedItemRects();
    const QRectF large = getValidSelectedItemLargeRect();
    const QRectF moved = boundInCanvasLimit(large.translated(dx, dy));
    const double offsetX = moved.x() - large.x();
    const double offsetY = moved.y() - large.y();
    for (const auto& item : selectedItemArray_) {
        storeFrame(*item, oldFrameOf(item).translated(offsetX, offsetY));
        if (isSelectedOne()) {
            checkForDrawAuxiliaryLineForKeyEvent(item->frame());
        }
    }
    update();
    reportSelection();
    if (MenuEditCanvasView* canvas = canvasView()) {
        canvas->update();
    }
    markDocumentEdited();
}

// ---- events

void MenuEditShapeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPointF point = canvasPoint(event->position());
    if (event->modifiers() & Qt::ControlModifier) {
        mouseDownWithCommand(point);
    } else {
        mouseDownWithNoCommand(point);
    }
}

void MenuEditShapeView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || !isTracking()) {
        event->ignore();
        return;
    }
    mouseDraggedTo(canvasPoint(event->position()));
}

void MenuEditShapeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    mouseUpAt(canvasPoint(event->position()));
}

void MenuEditShapeView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Up:
            moveUp();
            break;
        case Qt::Key_Down:
            moveDown();
            break;
        case Qt::Key_Left:
            moveLeft();
            break;
        case Qt::Key_Right:
            moveRight();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

// ---- drawing

void MenuEditShapeView::paintEvent(QPaintEvent*)
{
    const MenuEditCanvasView* canvas = canvasView();
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (canvas) {
        painter.setTransform(canvas->canvasToView());
    }
    if (selectionRect_ != QRectF()) {
        QPen band(Qt::red);
        band.setWidthF(1);
        painter.setPen(band);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(selectionRect_);
    }
    for (const auto& item : selectedItemArray_) {
        drawDragRect(painter, item->frame());
        if (item->type() != 2 && item->type() != 4) {
            drawDragPoint(painter, item->frame());
        }
    }
    drawYellowAuxiliaryLines(painter);
    if (keyForDrawLine_) {
        scheduleClearKeyForDrawLine();
    }
}

void MenuEditShapeView::drawDragRect(QPainter& painter, const QRectF& frame) const
{
    QPen pen(QColor::fromRgbF(1, 0.5f, 0));
    pen.setWidthF(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(-2, -2, 2, 2));
}

void MenuEditShapeView::drawDragPoint(QPainter& painter, const QRectF& frame) const
{
    // The handle is drawn upright in view pixels, on the rectangle the
    // canvas transform gives its area.
    const QTransform toView = painter.transform();
    painter.save();
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (int type = Geometry::dragUpperLeft; type <= Geometry::dragLowerRight; ++type) {
        const QRectF area = toView.mapRect(Geometry::makeRectForDragType(type, frame));
        painter.drawImage(area, dragD_);
    }
    painter.restore();
}

void MenuEditShapeView::drawYellowAuxiliaryLines(QPainter& painter) const
{
    if (lines_.drawMediaLine) {
        drawLineWithPoint(painter, lines_.mediaPoint1, lines_.mediaPoint2);
    }
    if (lines_.drawMediaHLine) {
        drawLineWithPoint(painter, lines_.mediaHPoint1, lines_.mediaHPoint2);
    }
}

void MenuEditShapeView::drawLineWithPoint(QPainter& painter, const QPointF& point1,
                                          const QPointF& point2) const
{
    // The points are the canvas view's; this view shares its coordinates.
    QColor yellow(Qt::yellow);
    yellow.setAlphaF(0.8f);
    QPen pen(yellow);
    pen.setWidthF(2);
    // Dashes are counted in pen widths: 6 on and 3 off at width 2.
    pen.setDashPattern({3.0, 1.5});
    pen.setDashOffset(0);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(point1, point2);
}
