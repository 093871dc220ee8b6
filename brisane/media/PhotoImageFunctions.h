#pragma once
// The picture functions a slideshow photo runs before a picture reaches a
// transition. Pictures are QImages; rectangles given here use the picture's
// own coordinates with the origin at its lower-left corner, y up.

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>

class CropItem;

// The part of a picture of `size` that `crop` keeps (lower-left origin).
QRectF cropRectOfSize(const QSizeF& size, const CropItem& crop);

// The picture cut to its crop; the picture itself when the crop is not
// cropped. Null (logged) for a null picture or one under 0.01 on a side.
QImage cropCIImage(const QImage& image, const CropItem& crop);

// The smallest size of aspect `ratio` that covers width × height.
QSizeF standardRatioCanvas(double ratio, double width, double height);

// The picture scaled to cover the canvas of `ratio` over width × height,
// centred, the overflow cut away. Null (logged) as cropCIImage.
QImage standardRatioCuttedCIImage(const QImage& image, double ratio, double width, double height);

// The picture fitted inside that canvas, centred on `fill`. Null (logged) as
// cropCIImage.
QImage standardRatioFilledCIImage(const QImage& image, const QColor& fill, double ratio,
                                  double width, double height);

// `size` scaled down, both sides by one factor, so that its longer side is
// at most `maximumSide`; unchanged when it already is. No side goes below 1.
QSizeF sizeWithinSide(const QSizeF& size, double maximumSide);

// The cover size of a picture of `image` size in a box: the smallest size of
// the picture's aspect that covers the box.
QSizeF coverSizeInBox(const QSizeF& image, const QSizeF& box);

// A picture of `size` (rounded to pixels) holding the whole of `image` drawn
// into it, on `background`.
QImage drawnInSize(const QImage& image, const QSizeF& size, const QColor& background);
