#pragma once
// The view on which the menu editor shows the current menu page. It fits the
// menu canvas (854 x 480 or 640 x 480 units, origin at the lower left, y up)
// into whatever size it has, with a margin of at least 8 pixels, centred, and
// holds the one transform between canvas units and its own pixels: painting,
// the geometry of its child views (the selection overlay, the item bar) and
// mouse points all pass through it, and nothing else converts.
//
// It draws the page at the still time, clipped to the canvas, so the panel
// behind shows around it. It reads the canvas and the page from its
// controller at every call; the controller outlives it. Main thread.

#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <QWidget>
#include <memory>

#include "menuedit/core/MenuCanvasGeometry.h"

class DVDPage;
class MenuEditShapeView;
class MenuEditViewController;

class MenuEditCanvasView : public QWidget {
    Q_OBJECT
public:
    // `controller` is not owned.
    explicit MenuEditCanvasView(MenuEditViewController* controller, QWidget* parent = nullptr);

    // The controller this canvas shows the page of; not owned.
    MenuEditViewController* controller() const { return controller_; }
    // The controller's canvas and current page.
    QRectF menuCanvasRect() const;
    std::shared_ptr<DVDPage> currentMenu() const;

    // Refits the canvas to the view: removes every child but the selection
    // overlay (the item bar too), recomputes the transform, lays the overlay
    // over the whole view and redisplays.
    void updateViewBoundsWhenMenuPageChanged();
    // Takes every child view but the selection overlay off the canvas; the
    // item bar comes back when an item is next selected alone.
    void removeOtherSubViewsExceptShpaeViewAndControlView();

    // The selection overlay, owned by the canvas. Setting one replaces (and
    // deletes) the previous.
    MenuEditShapeView* shapeView() const { return shapeView_; }
    void setShapeView(MenuEditShapeView* view);

    // --- The one conversion ---
    const CanvasFit& canvasFit() const { return fit_; }
    const QTransform& canvasToView() const { return fit_.canvasToView; }
    // A canvas rectangle in view pixels, and the whole-pixel geometry a child
    // view gets for it.
    QRectF viewRectFromCanvas(const QRectF& rect) const;
    QRect viewGeometryFromCanvas(const QRectF& rect) const;
    // A point of the view (or of the overlay, which shares it) in canvas units.
    QPointF canvasPointFromView(const QPointF& point) const;

signals:
    // The view's size changed; the controller refits.
    void frameChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    MenuEditViewController* controller_;
    MenuEditShapeView* shapeView_ = nullptr;
    CanvasFit fit_;
};
