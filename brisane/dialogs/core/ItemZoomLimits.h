#pragma once
// The zoom limits of a title or button item on a menu page, and the frame a
// zoom factor gives. An item is resized about its centre by a factor kept
// between a smallest value (the item never becomes narrower than 30 units)
// and a largest one (the item stays inside the menu canvas and stops where it
// first touches another item that is not a static text). The title and
// button dialogs' zoom sliders and the menu editor's corner drag all ask
// these functions.
//
// Frames and the canvas are in menu canvas units (origin at the lower left,
// y up); the arithmetic is the same either way up. The limits are always of
// the frame they are asked about, never of another item. A frame without
// width or height cannot be zoomed: both limits are 1. Whatever the geometry,
// the smallest factor never exceeds the largest: when an item is too narrow
// or already sticks out of the canvas, the range collapses to the smallest
// factor.
//
// Pure functions; any thread.

#include <QList>
#include <QRectF>
#include <memory>

class DVDPageItem;

struct ZoomRange {
    float minZoom = 1.0f;
    float maxZoom = 1.0f;
};

class ItemZoomLimits {
public:
    ItemZoomLimits() = delete;

    // The narrowest an item may become, in units.
    static constexpr double minimumWidth = 30.0;
    // The zoom slider is an integer slider of this many steps per unit of
    // factor.
    static constexpr int sliderScale = 1000;

    // 30 over the frame's width; 1 for a frame without area.
    static float getMinZoomWithFrame(const QRectF& frame);
    // The largest factor: first the canvas edges, each edge of the frame grown
    // about its centre until it reaches the matching canvas edge; then every
    // frame of `others` that lies apart from `frame` on at least one axis
    // (frames overlapping it on both axes, the item itself among them, do not
    // limit). No cap at 1: a frame already outside the canvas gets a factor
    // below 1. 1 for a frame without area.
    static float getMaxZoomFunction(const QRectF& frame, const QRectF& canvas,
                                    const QList<QRectF>& others);
    // The bounding box of the two rectangles, each edge in float.
    static QRectF getValidBigRectWithRect(const QRectF& frame, const QRectF& other);
    // Both limits of the frame, the smallest never above the largest.
    static ZoomRange zoomRange(const QRectF& frame, const QRectF& canvas,
                               const QList<QRectF>& others);

    // The frames of `items` that can hold `item` back: all but static texts
    // (an item overlapping itself never limits, so it may be among them).
    static QList<QRectF> limitingFrames(const QList<std::shared_ptr<DVDPageItem>>& items);
    // The limits of `item` among the page's `items` on `canvas`; {1, 1}
    // without an item.
    static ZoomRange zoomRangeOfItem(const std::shared_ptr<DVDPageItem>& item, const QRectF& canvas,
                                     const QList<std::shared_ptr<DVDPageItem>>& items);

    // The frame a zoom factor gives: `oldFrame`'s width and height truncated
    // to whole units, times the factor, centred on `oldFrame`'s centre.
    static QRectF zoomedFrame(const QRectF& oldFrame, float zoomValue);

    // The slider position of a factor, and the factor of a position.
    static int sliderPosition(float zoom);
    static float zoomAtSliderPosition(int position);
};
