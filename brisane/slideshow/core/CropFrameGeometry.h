#pragma once
// The rules of the photo crop frame, without a screen: a crop rectangle the
// user moves by its inside and resizes by its corners and edges over a
// picture, with a minimum size, a free or fixed width-to-height ratio, ratio
// presets and one-point moves.
//
// Coordinates: y upward, in the superview that the frame shares with the
// picture. The frame is the crop rectangle grown by a handle margin of 6 on
// every side (the handles are drawn in that margin); the limit is the picture
// grown the same way, so a frame kept inside the limit keeps its crop inside
// the picture. Points inside the frame ("local") count from its lower-left
// corner.
//
// A mouse press less than 12 in from any side resizes (a corner, the left or
// right edge, or the bottom or top edge), further in moves. The corner that
// stays in place while resizing is the one opposite the quarter of the frame
// that was pressed. Sizes are held at the 24 × 24 minimum before they are cut
// to the limit, and not again after. With a fixed ratio the horizontal
// movement alone decides the size, so the bottom and top edges do nothing.
// Plain value; any thread.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "slideshow/core/LimitedDragging.h"

class CropFrameGeometry : public LimitedDragging {
public:
    static constexpr double HandleMargin = 6.0;
    static constexpr double HitZone = 12.0;
    static constexpr double MinimumCrop = 24.0;
    static constexpr double MinimumFrame = MinimumCrop + 2 * HandleMargin;
    static constexpr double ArrowStep = 1.0;

    enum MouseDragType { Move = 0, Resize = 1 };
    enum ResizeType { Corner = 0, LeftOrRight = 1, BottomOrTop = 2 };
    enum StationaryPoint { BottomLeft = 0, TopLeft = 1, TopRight = 2, BottomRight = 3 };
    enum RatioPreset { Ratio1_1 = 0, Ratio4_3 = 1, Ratio16_9 = 2, Ratio2_1 = 3, Customize = 4 };
    // Where the mouse is over the frame, for its cursor.
    enum CursorZone {
        BottomLeftCorner,
        TopRightCorner,
        TopLeftCorner,
        BottomRightCorner,
        LeftEdge,
        RightEdge,
        BottomEdge,
        TopEdge,
        Inside,
        Outside
    };

    static QSizeF minSize() { return {MinimumCrop, MinimumCrop}; }

    // The picture rectangle; the limit becomes it grown by the margin.
    void setPictureRect(const QRectF& picture);
    // Places the crop rectangle (no limit applied) and takes its ratio.
    void setDisplayRect(const QRectF& crop);
    // The crop rectangle: the frame shrunk by the margin.
    QRectF getDisplayRect() const;

    int enumMouseDragType() const { return m_dragType; }
    int enumResizeType() const { return m_resizeType; }
    int enumStationaryPointType() const { return m_stationary; }
    double cropRatio() const { return m_cropRatio; }
    void setCropRatio(double ratio) { m_cropRatio = ratio; }
    bool customized() const { return m_customized; }
    void setCustomized(bool customized) { m_customized = customized; }
    bool isDragging() const { return m_isDragging; }
    // A resize drag is in progress.
    bool isResizing() const { return m_isDragging && m_dragType == Resize; }

    // Mouse points in superview coordinates. mouseDragged answers whether the
    // frame was stepped (the owner is told after each step).
    void mouseDown(const QPointF& point);
    bool mouseDragged(const QPointF& point);
    void mouseUp();

    // Grows (positive) or shrinks (negative) the crop from the frame at the
    // press, away from the stationary corner.
    void resizeViewWithOffset(QPointF offset);
    // Moves the frame by `offset`, clamped into the limit.
    void transformViewWithOffset(const QPointF& offset);
    QPointF getRatioOffsetWhenXRight(const QPointF& offset) const;
    QPointF getRatioOffsetWhenYRight(const QPointF& offset) const;

    // The presets set the ratio (Customize keeps it) and fit the crop to it
    // about its centre, within the room the picture leaves; false for an
    // unknown preset.
    bool displayWithNewCropFrameRatioType(int type);
    void resizeSelfWithNewRatio();

    // Back to the first state: move, free ratio 1, nothing remembered.
    void clearRotationRelatedSettings();

    // The zone of a local point, for a frame of its current size.
    CursorZone cursorZoneAt(const QPointF& local) const;

private:
    // The point in the frame's own coordinates.
    QPointF localPoint(const QPointF& point) const;
    // With a fixed ratio: the vertical part of `o` from the horizontal one
    // and the height from it (xRule), or the other way round (yRule).
    void xRule(QPointF& o, double& height, const QRectF& from) const;
    void yRule(QPointF& o, double& width, const QRectF& from) const;

    int m_dragType = Move;
    int m_resizeType = Corner;
    int m_stationary = TopLeft;
    double m_cropRatio = 1.0;
    bool m_customized = true;
    bool m_isDragging = false;
    QPointF m_lastPoint;
    QRectF m_lastFrame;
    QPointF m_offsetToBoundary;
};
