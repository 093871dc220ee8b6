#pragma once
// The transparent overlay that lies over the whole menu canvas. It holds the
// selection of menu items on the page shown and everything the mouse and
// the arrow keys do to them:
// - a click picks an item (static texts first, then the item latest in the
//   page), Ctrl+click adds or removes one (static texts first, then the
//   earliest), a press on empty canvas empties the selection and drags a
//   rubber band that selects every item it overlaps;
// - dragging a selected item moves the whole selection, kept inside the
//   canvas as one block; a single item snaps onto the lines of the page's
//   other items and shows a guide (see MenuAuxiliaryLines);
// - dragging a corner handle resizes that one item about its centre, in
//   proportion, by the horizontal travel alone, within the zoom limits the
//   title dialog gives for it;
// - the arrow keys move the selection one unit, kept inside the canvas; a
//   single item then shows for a little over a second the guides of the
//   lines it already shares with another item.
// Every change of the selection is reported to the menu edit controller; a
// drag's release and every arrow key mark the document edited (also when
// nothing moved), a rubber band and a Ctrl+click do not.
//
// It draws the rubber band, an orange frame around each selected item with
// the "CropDrag2" handle on its corners (none for static texts and text
// titles), and the yellow dashed guides; the items themselves are drawn by
// the canvas view beneath.
//
// It covers its canvas view exactly; every point and rectangle is in canvas
// units (origin at the lower left, y up) and reaches pixels only through the
// canvas view's transform. It is made for its canvas view; its controller is
// the canvas view's, and the main window (the controller's document host) and
// the title dialog are reached through that controller.
// An item's frame is only ever given finite numbers, and an item whose width
// is not positive is never resized. Main thread.

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "menuedit/core/MenuAuxiliaryLines.h"

class DVDPageItem;
class MenuEditCanvasView;
class MenuEditViewController;

class MenuEditShapeView : public QWidget {
    Q_OBJECT
public:
    using ItemList = QList<std::shared_ptr<DVDPageItem>>;
    // Seconds on a steady clock; the key guides are timed by it.
    using Clock = std::function<double()>;

    // An item of the selection with its frame when the last move, resize or
    // arrow key began ("MenuItem", and "OldFrame" as rectangle text).
    struct OldItemRect {
        std::shared_ptr<DVDPageItem> menuItem;
        QString oldFrame;
    };

    // The key guides are checked this often...
    static constexpr int clearKeyForDrawLineIntervalMs = 100;
    // ...and go once more than this has passed since the last key move that
    // showed one.
    static constexpr double keyGuideLifetime = 1.0;

    // The overlay of `canvas`, which owns it.
    explicit MenuEditShapeView(MenuEditCanvasView* canvas);

    // --- Neighbours ---
    MenuEditCanvasView* canvasView() const;
    MenuEditViewController* controller() const;
    // The controller's sourceArray: the page's static texts, then its other
    // items, each in page order; empty without a controller.
    ItemList itemsArray() const;

    // --- The selection ---
    // In the order the items were added.
    const ItemList& selectedItemArray() const { return selectedItemArray_; }
    void setSelectedItemArray(const ItemList& items);
    void removeAllSelectedItems();
    bool isSelectedOne() const { return selectedItemArray_.size() == 1; }
    // The union of the selected frames; the zero rectangle for none.
    QRectF getValidSelectedItemLargeRect() const;
    const QList<OldItemRect>& oldSelectedItemRects() const { return oldSelectedItemRects_; }
    // The rubber band; the zero rectangle when none is dragged.
    QRectF selectionRect() const { return selectionRect_; }
    // The item found by the last hit test, if it still exists.
    std::shared_ptr<DVDPageItem> mouseHitItem() const { return mouseHitItem_.lock(); }

    // --- Pointer, in canvas units ---
    // Hit test: the first static text whose frame grown by 4 holds the point,
    // else the last such item of itemsArray. A hit item not yet selected
    // becomes the selection alone; a miss empties the selection. Reports the
    // selection and answers whether an item was hit.
    bool isMouseHitMedia(const QPointF& point);
    // What a press at the point grabs of the selection, testing each
    // selected item's handles 1 to 4, then its frame (5); 0 for nothing. A
    // static text always gives a move; a handle narrows the selection to its
    // item.
    int pointHitDragType(const QPointF& point);
    // A press without Ctrl: picks, then starts a move or resize, or a
    // rubber band; the release or the next press ends it.
    void mouseDownWithNoCommand(const QPointF& point);
    // A press with Ctrl: toggles the first item of itemsArray under the
    // point. No drag follows.
    void mouseDownWithCommand(const QPointF& point);
    // The pointer moved with the button down / the button went up.
    void mouseDraggedTo(const QPointF& point);
    void mouseUpAt(const QPointF& point);
    bool isTracking() const { return tracking_.mode != TrackingMode::none; }

    // --- Geometry ---
    // The rectangle kept inside the controller's canvas.
    QRectF boundInCanvasLimit(const QRectF& rect) const;
    // The target of a drag of `dragType` from `from` to `to` for the
    // selection's union `rect`; a resize works on the last selected item's
    // frame at the press, within the limits taken at the press.
    QRectF doDragAction(int dragType, const QPointF& from, const QPointF& to,
                        const QRectF& rect) const;
    float oldMinScale() const { return oldMinScale_; }
    float oldMaxScale() const { return oldMaxScale_; }

    // --- Guides ---
    // The drag check on the page's items less the selection: returns the
    // rectangle snapped onto their lines and sets the guides.
    QRectF checkForDrawAuxiliaryLine(const QRectF& rect);
    // The arrow-key check: sets the guides of the lines the frame shares
    // with another item to within 0.5; when one shows, keyForDrawLine is set
    // and jiangeTime renewed.
    void checkForDrawAuxiliaryLineForKeyEvent(const QRectF& frame);
    const AuxiliaryLines& auxiliaryLines() const { return lines_; }
    bool drawMediaLine() const { return lines_.drawMediaLine; }
    bool drawMediaHLine() const { return lines_.drawMediaHLine; }
    bool keyForDrawLine() const { return keyForDrawLine_; }
    double jiangeTime() const { return jiangeTime_; }
    // One step of the key-guide timer: clears the guides and keyForDrawLine
    // once more than a second has passed since jiangeTime, else comes back
    // in 0.1 s; redisplays either way. While a drag is tracked the step waits
    // for the release.
    void clearKeyForDrawLine();
    // Whether a step of the key-guide timer is waiting to run.
    bool isKeyGuideStepPending() const;
    void setClock(Clock clock);
    double now() const { return clock_(); }

    // --- Arrow keys: one unit on the canvas, y up ---
    void moveUp();
    void moveDown();
    void moveLeft();
    void moveRight();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class TrackingMode { none, drag, band };
    struct Tracking {
        TrackingMode mode = TrackingMode::none;
        int dragType = 0;
        QPointF start;
        QRectF largeRect;
    };

    QPointF canvasPoint(const QPointF& widgetPoint) const;
    QList<QRectF> candidateFrames() const;
    void fillOldSelectedItemRects();
    QRectF oldFrameOf(const std::shared_ptr<DVDPageItem>& item) const;
    void takeZoomLimits(const std::shared_ptr<DVDPageItem>& item);
    void dragSelectionTo(const QPointF& point);
    void dragBandTo(const QPointF& point);
    void moveSelectionBy(double dx, double dy);
    static void storeFrame(DVDPageItem& item, const QRectF& frame);
    void reportSelection() const;
    void redisplay();
    void markDocumentEdited() const;
    void scheduleClearKeyForDrawLine();
    void drawDragRect(QPainter& painter, const QRectF& frame) const;
    void drawDragPoint(QPainter& painter, const QRectF& frame) const;
    void drawYellowAuxiliaryLines(QPainter& painter) const;
    void drawLineWithPoint(QPainter& painter, const QPointF& point1, const QPointF& point2) const;

    MenuEditCanvasView* const canvas_;
    QRectF selectionRect_;
    ItemList selectedItemArray_;
    QList<OldItemRect> oldSelectedItemRects_;
    AuxiliaryLines lines_;
    bool keyForDrawLine_ = false;
    double jiangeTime_ = 0;
    QImage dragD_;
    float oldMinScale_ = 1.0f;
    float oldMaxScale_ = 1.0f;
    std::weak_ptr<DVDPageItem> mouseHitItem_;
    Tracking tracking_;
    Clock clock_;
    QTimer keyGuideTimer_;
    bool keyGuideStepHeld_ = false;
};
