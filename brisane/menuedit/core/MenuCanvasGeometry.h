#pragma once
// The arithmetic of the menu canvas, free of widgets: keeping a rectangle
// inside the canvas, fitting the canvas into a view (and with it the one
// transform from canvas units to view pixels), and the zoom limits of an
// item.
//
// Canvas units: the menu canvas is 854 x 480 (16:9) or 640 x 480 (4:3), origin
// at the lower left, y up. View pixels are Qt's: origin at the top left, y
// down. The figures the editor keeps in single precision pass through float
// here. Pure functions; any thread.

#include <QRectF>
#include <QSizeF>
#include <QTransform>

// The canvas fitted into a view.
struct CanvasFit {
    // F: the canvas as it appears in the view, in view pixels (y down).
    QRectF fitted;
    // k: canvas units per view pixel.
    float scale = 1.0f;
    // B: the whole view in canvas units, centred on the canvas.
    QRectF bounds;
    // Canvas units (y up) to view pixels (y down).
    QTransform canvasToView;
};

class MenuCanvasGeometry {
public:
    MenuCanvasGeometry() = delete;

    // The margin kept between the view's edges and the fitted canvas.
    static constexpr double viewInset = 8.0;

    // `rect` made to fit in `canvas`: each side at most the canvas's, the
    // centre clamped (through single precision) so that the rectangle lies
    // inside. A rectangle already inside comes back unchanged.
    static QRectF boundInCanvasLimit(const QRectF& rect, const QRectF& canvas);

    // Fits `canvas` into a view of `viewSize` pixels, inset by 8 on every
    // side, keeping its proportions and centring it. A fitted width below one
    // pixel counts as one. An empty canvas (no disc side) gives the plain
    // flip at scale 1.
    static CanvasFit fitCanvasInView(const QRectF& canvas, const QSizeF& viewSize);

    // The smallest zoom factor of an item of this frame: 30 over its width;
    // 1 for a frame without width.
    static float minZoomForFrame(const QRectF& frame);
    // The largest factor by which the frame, scaled about its centre, stays
    // inside the canvas: the smallest over the four sides of the distance
    // from the centre to that canvas edge over half the frame's width or
    // height. 1 for a frame without area.
    static float maxZoomForFrame(const QRectF& frame, const QRectF& canvas);
};
