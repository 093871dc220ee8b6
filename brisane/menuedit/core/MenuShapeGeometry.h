#pragma once
// The arithmetic of selecting, moving and resizing menu items, free of
// widgets: the hit areas of a selected item (its four corner handles and the
// frame itself), the union of the selection, and the target rectangle of a
// move or of a proportional resize.
//
// Canvas units throughout (origin at the lower left, y up, a rectangle's
// origin is its lower-left corner). The figures the editor keeps in single
// precision pass through float here. Pure functions; any thread.

#include <QList>
#include <QPointF>
#include <QRectF>

class MenuShapeGeometry {
public:
    MenuShapeGeometry() = delete;

    // What a press on a selected item grabs.
    enum DragType : int {
        dragNone = 0,
        dragUpperLeft = 1,
        dragUpperRight = 2,
        dragLowerLeft = 3,
        dragLowerRight = 4,
        dragMove = 5,
    };

    // Items are hit within this distance outside their frame.
    static constexpr double hitMargin = 4.0;
    // The handles sit on the corners of the frame grown by this much.
    static constexpr double handleOffset = 2.0;
    // The side of a handle's square.
    static constexpr double handleSide = 12.0;

    static bool isCornerHandle(int dragType) { return dragType >= 1 && dragType <= 4; }

    // The corner of the frame grown by 2 that a handle sits on: 1 upper
    // left, 2 upper right, 3 lower left, 4 lower right; the frame's centre
    // for any other type.
    static QPointF dragTypeCenterPoint(int dragType, const QRectF& frame);
    // The hit area of a drag type: the 12 x 12 square centred on the corner
    // for a handle, the frame itself for a move, the zero rectangle for none.
    static QRectF makeRectForDragType(int dragType, const QRectF& frame);

    // Whether the rectangle holds the point: its left and lower edges belong
    // to it, its right and upper edges do not, and an empty rectangle holds
    // nothing.
    static bool pointInRect(const QPointF& point, const QRectF& rect);
    // Whether an item of this frame is hit at the point: the frame grown by
    // 4 on every side holds it.
    static bool itemFrameHit(const QRectF& frame, const QPointF& point);
    // Whether the two rectangles share an area; rectangles that only touch
    // along an edge or at a corner do not.
    static bool rectsOverlap(const QRectF& a, const QRectF& b);

    // The union of the frames: the smallest left and lower edges and the
    // largest right and upper edges, each held in single precision; the zero
    // rectangle for none.
    static QRectF getValidSelectedItemLargeRect(const QList<QRectF>& frames);

    // Whether an item of this frame may be resized: its width is positive
    // and finite. Every factor of a resize divides by that width.
    static bool canResizeFrame(const QRectF& frame);
    // Whether every coordinate of the rectangle is a finite number.
    static bool isFiniteRect(const QRectF& rect);

    // The resize factor for a handle dragged by `dx` on an item `width`
    // wide, in single precision: the left-hand handles (1, 3) give
    // (w - 2 dx) / w, the right-hand ones (2, 4) (w + 2 dx) / w. Clamped to
    // [minScale, maxScale]; when the two limits cross, the minimum wins
    // whatever the travel; a limit that is not a number limits nothing. 1
    // for a width that cannot be resized.
    static float resizeScale(int dragType, double dx, double width, float minScale, float maxScale);

    // The target rectangle of a drag from `from` to `to`. A move (5) gives
    // `rect` moved by the pointer's travel. A handle (1 to 4) resizes
    // `oldFrame`, the item's frame at the press, about its centre by the
    // factor of resizeScale from the horizontal travel alone, keeping its
    // proportions; a frame that cannot be resized comes back unchanged. Any
    // other type gives `rect` unchanged.
    static QRectF doDragAction(int dragType, const QPointF& from, const QPointF& to,
                               const QRectF& rect, const QRectF& oldFrame, float minScale,
                               float maxScale);
};
