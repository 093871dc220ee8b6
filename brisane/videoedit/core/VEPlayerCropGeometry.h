#pragma once
// The rules of the crop and watermark overlay: its handles, what a press
// hits, and where one drag step or arrow key leaves the rectangle.
//
// Everything is in the overlay's own points with the origin at the lower
// left, y up. The rectangle has eight handles (four corners, four edge
// middles) and can be moved as a whole; there is no aspect lock. A handle
// drag keeps the opposite corner where it is, never lets the dragged corner
// cross it or come nearer than `minFrameLength` on either axis, and never
// leaves the bounds; a move slides along the bounds' border instead of
// leaving them, and a rectangle larger than the bounds shrinks to them.
// With onlyMove only moving is allowed. Pure; any thread.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

class VEPlayerCropGeometry {
public:
    // What lies under the mouse.
    enum DragType {
        None = 0,
        TopLeft = 1,
        TopRight = 2,
        BottomLeft = 3,
        BottomRight = 4,
        Left = 5,
        Right = 6,
        Top = 7,
        Bottom = 8,
        Move = 9,
    };

    // Lengths in the overlay's points: the handle's side, the rectangle's
    // smallest side and the arrow keys' step.
    static constexpr double kDragRectLength = 8.0;
    static constexpr double kMinFrameLength = 20.0;
    static constexpr double kMoveStep = 1.0;

    QSizeF bounds;    // the overlay's size
    QRectF cropRect;  // the edited rectangle
    bool onlyMove = false;
    double dragRectLength = kDragRectLength;
    double minFrameLength = kMinFrameLength;

    // Every type for a free rectangle; only Move with onlyMove.
    bool allowDragType(int type) const;
    // The handle's centre, on cropRect inset by half a handle side, so every
    // handle lies inside the rectangle touching its border.
    QPointF dragTypeCenterPoint(int type) const;
    // Move: cropRect; None: empty; a handle: its square.
    QRectF makeRectForDragType(int type) const;
    // The first allowed type from 1 to 9 whose rectangle holds the point
    // (handles win over moving), else None.
    int pointHitDragType(const QPointF& point) const;

    // The corner of `rect` a handle drags, and the opposite one that stays.
    static QPointF dragPointType(int type, const QRectF& rect);
    static QPointF fixedPointType(int type, const QRectF& rect);
    // The rectangle two points span (origin in single precision).
    static QRectF makeRectBy(const QPointF& a, const QPointF& b);
    // The point clamped into the rectangle on each axis.
    static QPointF fixPoint(const QPointF& point, const QRectF& rect);
    // Where the dragged corner may go: the rectangle spanned by `drag` and the
    // point minFrameLength away from `fixed` towards it on each axis.
    QRectF makeDragRectForFixedPoint(const QPointF& fixed, const QPointF& drag) const;
    // The rectangle's size limited to the bounds, then its origin.
    QRectF boundsLimits(const QRectF& rect) const;

    // One drag step of `type` from the press point to the current one
    // (overlay points), always measured from the rectangle at the press.
    QRectF doDragAction(int type, const QPointF& from, const QPointF& to,
                        const QRectF& oldCrop) const;
    // cropRect moved by one arrow-key step (dx, dy in steps), whatever
    // onlyMove says.
    QRectF moveBy(double dx, double dy) const;
};
