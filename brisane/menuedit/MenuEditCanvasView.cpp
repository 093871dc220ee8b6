#include "menuedit/MenuEditCanvasView.h"

#include <QPainter>

#include "menuedit/MenuEditShapeView.h"
#include "menuedit/MenuEditViewController.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"

MenuEditCanvasView::MenuEditCanvasView(MenuEditViewController* controller, QWidget* parent)
    : QWidget(parent), controller_(controller)
{
    setShapeView(new MenuEditShapeView(this));
}

QRectF MenuEditCanvasView::menuCanvasRect() const
{
    return controller_ ? controller_->menuCanvasRect() : QRectF();
}

std::shared_ptr<DVDPage> MenuEditCanvasView::currentMenu() const
{
    return controller_ ? controller_->currentMenu() : nullptr;
}

void MenuEditCanvasView::setShapeView(MenuEditShapeView* view)
{
    if (view == shapeView_) {
        return;
    }
    delete shapeView_;
    shapeView_ = view;
    if (shapeView_) {
        shapeView_->setParent(this);
        shapeView_->setGeometry(rect());
        shapeView_->lower();
        shapeView_->show();
    }
}

void MenuEditCanvasView::updateViewBoundsWhenMenuPageChanged()
{
    removeOtherSubViewsExceptShpaeViewAndControlView();
    fit_ = MenuCanvasGeometry::fitCanvasInView(menuCanvasRect(), QSizeF(size()));
    if (shapeView_) {
        shapeView_->setGeometry(rect());
        shapeView_->update();
    }
    update();
}

void MenuEditCanvasView::removeOtherSubViewsExceptShpaeViewAndControlView()
{
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != shapeView_) {
            child->hide();
        }
    }
}

QRectF MenuEditCanvasView::viewRectFromCanvas(const QRectF& rect) const
{
    return fit_.canvasToView.mapRect(rect);
}

QRect MenuEditCanvasView::viewGeometryFromCanvas(const QRectF& rect) const
{
    const QRectF view = viewRectFromCanvas(rect);
    const QPoint topLeft(qRound(view.left()), qRound(view.top()));
    const QPoint bottomRight(qRound(view.right()), qRound(view.bottom()));
    return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

QPointF MenuEditCanvasView::canvasPointFromView(const QPointF& point) const
{
    return fit_.canvasToView.inverted().map(point);
}

void MenuEditCanvasView::paintEvent(QPaintEvent*)
{
    const auto page = currentMenu();
    const QRectF canvas = menuCanvasRect();
    if (!page || canvas.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setTransform(fit_.canvasToView);
    painter.setClipRect(canvas);
    page->drawDVDPageInDVDRectWithImage(painter, DVDPageItem::stillTime);
}

void MenuEditCanvasView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit frameChanged();
}
