#pragma once
// The geometry of the background picture canvas and its crop frame, in
// canvas coordinates with the origin at the lower left and y upward (the
// canvas view converts its widget coordinates in one place).
//
// The frame keeps the crop aspect r (1.7777778 for 16:9, 1.3333334 for 4:3),
// is at least 40 points wide and 40 / r high and stays inside the canvas box.
// Handles: 1 top left, 2 top right, 3 bottom left, 4 bottom right, each a
// 6 x 6 square on its corner; 10 moves the whole frame; 0 is none. A corner
// drag keeps the opposite corner and follows only the horizontal motion.
// Plain functions; single precision where the frame is computed.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

class BgPictureGeometry {
public:
    static constexpr float kMinWidth = 40.0f;
    static constexpr double kHandleSize = 6.0;

    // The crop aspect: any aspect type other than 0 counts as 16:9.
    static float aspect(bool is16_9) { return is16_9 ? 1.7777778f : 1.3333334f; }
    static bool is16_9ForAspectType(qint64 aspectType) { return aspectType != 0; }

    // The 16:9 box the picture is drawn in: the bounds inset by 10, as high
    // as they are and centred horizontally.
    static QRectF canvasBox(const QRectF& bounds);
    // The largest centred 16:9 rectangle of a picture; empty for an empty one.
    static QRectF imageCanvasRect(const QSizeF& picture);
    // The crop of a newly shown picture: the whole canvas rectangle at 16:9,
    // its centred 4:3 part at 4:3.
    static QRectF defaultCrop(const QRectF& imageCanvasRect, bool is16_9);

    // Canvas points per picture point; 0 when either rectangle is empty.
    static float imageScale(const QRectF& canvasRect, const QRectF& imageCanvasRect);
    // Where the picture's origin lands on the canvas.
    static QPointF imageOffset(const QRectF& canvasRect, const QRectF& imageCanvasRect,
                               float scale);
    static QRectF pictureToCanvas(const QRectF& rect, float scale, const QPointF& offset);
    // Back from the canvas; a null rectangle when the scale is 0.
    static QRectF canvasToPicture(const QRectF& rect, float scale, const QPointF& offset);

    static QPointF handlePoint(int type, const QRectF& frame);
    static QRectF handleSquare(int type, const QRectF& frame);
    static int oppositeHandle(int type);
    // What a press at `point` starts: a handle, 10 inside the frame, else 0.
    static int hitType(const QPointF& point, const QRectF& frame);
    // One drag step from the press P0 to P, measured on the frame at the
    // press, then kept inside `box`.
    static QRectF dragStep(int type, const QPointF& p0, const QPointF& p, const QRectF& start,
                           const QRectF& box, float r);
    static QRectF boundLimits(const QRectF& frame, const QRectF& box, float r);
};
