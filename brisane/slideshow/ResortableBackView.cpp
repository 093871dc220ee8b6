#include "slideshow/ResortableBackView.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "slideshow/ResortableThumbnailView.h"
#include "slideshow/core/ResortableGrid.h"
#include "slideshow/core/ResortableViewDelegate.h"
#include "slideshow/core/UpCoordinates.h"

namespace {

bool keyboard = false;

}  // namespace

ResortableBackView::ResortableBackView(QWidget* parent) : QWidget(parent)
{
    setAcceptDrops(true);
    setFocusPolicy(keyboard ? Qt::ClickFocus : Qt::NoFocus);
}

void ResortableBackView::enableKeyboardRespond(bool respond)
{
    keyboard = respond;
}

QPointF ResortableBackView::upPoint(const QPointF& widgetPoint) const
{
    return UpCoordinates::fromWidget(widgetPoint, height());
}

void ResortableBackView::setTileFrame(ResortableThumbnailView* tile, const QRectF& frame)
{
    tile->setFrameUp(frame);
    tile->setGeometry(UpCoordinates::toWidget(frame, height()).toRect());
}

void ResortableBackView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Keep the tiles' y-up frames where they belong on the new height.
    for (auto* tile : findChildren<ResortableThumbnailView*>(Qt::FindDirectChildrenOnly)) {
        setTileFrame(tile, tile->frameUp());
    }
}

void ResortableBackView::draggingUpdated(const QPointF& point)
{
    const double zoom = ResortableThumbnailView::resizeRatio();
    const ResortableGrid::InsertPlace place =
        ResortableGrid::insertPlace(point, size(), m_itemsCount, zoom);
    if (place.index != m_insertIndex || !m_insertLine) {
        m_insertIndex = place.index;
        m_insertLine = place.line;
        update();
    }
}

void ResortableBackView::draggingEnded()
{
    if (m_insertLine) {
        m_insertLine.reset();
        update();
    }
}

void ResortableBackView::performDragOperation()
{
    if (m_delegate) {
        m_delegate->resortAtIndex(m_insertIndex);
    }
}

void ResortableBackView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (event->modifiers() == Qt::NoModifier && m_delegate) {
        m_delegate->cancelAllThumbnailViews();
    }
    m_tempPoint = upPoint(event->position());
    update();
}

void ResortableBackView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        return;
    }
    m_choosenFrame = QRectF(m_tempPoint, upPoint(event->position())).normalized();
    update();
    if (m_delegate) {
        m_delegate->testChoosenWith(m_choosenFrame, event->modifiers() != Qt::NoModifier);
    }
}

void ResortableBackView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_choosenFrame = {};
    update();
}

void ResortableBackView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        if (m_delegate) {
            m_delegate->willRemoveChoosenThumbnailView();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void ResortableBackView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasFormat(ResortableThumbnailView::DragType)) {
        event->ignore();
        return;
    }
    draggingUpdated(upPoint(event->position()));
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ResortableBackView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!event->mimeData()->hasFormat(ResortableThumbnailView::DragType)) {
        event->ignore();
        return;
    }
    draggingUpdated(upPoint(event->position()));
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ResortableBackView::dragLeaveEvent(QDragLeaveEvent*)
{
    draggingEnded();
}

void ResortableBackView::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasFormat(ResortableThumbnailView::DragType)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    performDragOperation();
    draggingEnded();
}

void ResortableBackView::paintEvent(QPaintEvent*)
{
    if (m_choosenFrame.isNull() && !m_insertLine) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double h = height();
    if (!m_choosenFrame.isNull()) {
        painter.setPen(QPen(m_choosenColor, 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(UpCoordinates::toWidget(m_choosenFrame, h));
    }
    if (m_insertLine) {
        painter.setPen(QPen(InsertLineColor, 2.0));
        painter.drawLine(UpCoordinates::toWidget(m_insertLine->p1(), h),
                         UpCoordinates::toWidget(m_insertLine->p2(), h));
    }
}
