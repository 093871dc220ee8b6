#pragma once
// A picture for compositing, as the editors and players combine layers:
// immutable, with an extent in y-up coordinates (origin at the lower left),
// moved, scaled and turned by transforms and composited by filter name. Work
// is deferred until render() turns a region into pixels.
//
// A picture made from an image covers {0, 0, width, height}; a colour picture
// covers the whole plane (infinite extent). Every operation returns a new
// picture; a null picture stays null through every operation. Values may be
// shared between threads.

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QTransform>
#include <memory>

class FilterImage {
public:
    FilterImage();
    explicit FilterImage(const QImage& image);
    // A picture of one colour without bounds.
    static FilterImage imagewithColor(const QColor& color);

    bool isNull() const { return !node_; }
    bool isInfinite() const;
    // The covered rectangle (y up); empty for a null or infinite picture.
    QRectF extent() const;

    // Moved by (width, height).
    FilterImage translateImageWithSize(const QSizeF& delta) const;
    // Scaled by the factors about the origin.
    FilterImage scaleImageWithSize(const QSizeF& factors) const;
    // Turned about the origin, counter-clockwise for a positive angle in radians.
    FilterImage rotateImageWithAngle(float radians) const;
    FilterImage transformed(const QTransform& transform) const;

    // The compositing filter of that name ("CISourceOverCompositing",
    // "CISourceInCompositing", "CISourceOutCompositing",
    // "CISourceAtopCompositing", "CIMultiplyCompositing",
    // "CIScreenCompositing", "CIAdditionCompositing", "CIDarkenCompositing",
    // "CILightenCompositing", "CIDifferenceCompositing") applied to the image
    // over the background. Null (logged) for an unknown name; null when either
    // input is null.
    static FilterImage composition(const QString& filterName, const FilterImage& image,
                                   const FilterImage& background);
    // This picture over the background.
    FilterImage sourceOverImage(const FilterImage& background) const;
    // This picture where the background is opaque.
    FilterImage sourceInImage(const FilterImage& background) const;

    // The pixels of the region (y up) as a premultiplied ARGB image whose top
    // row is the region's top; transparent where nothing covers it. Null for
    // a null picture or an empty region.
    QImage render(const QRectF& region) const;
    // The pixels of the whole extent; null when it is infinite or empty.
    QImage render() const;

private:
    struct Node;
    explicit FilterImage(std::shared_ptr<const Node> node);
    std::shared_ptr<const Node> node_;
};
