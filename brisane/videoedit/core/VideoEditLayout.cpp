#include "videoedit/core/VideoEditLayout.h"

#include <algorithm>

#include "common/CommonFunction.h"

namespace {

QRectF scaled(const QRectF& r, double sx, double sy)
{
    return {r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy};
}

double atLeastOne(double v)
{
    return std::max(1.0, v);
}

}  // namespace

QRectF VideoEditLayout::effectRect(const QRectF& originRect, const QRectF& effectRect)
{
    if (!effectRect.isEmpty()) {
        return effectRect;
    }
    if (!originRect.isEmpty()) {
        return originRect;
    }
    return {QPointF(0, 0), kFallbackPictureSize};
}

VideoEditLayout::PictureFrames VideoEditLayout::pictureFrames(const QRectF& area,
                                                              const QRectF& originRect,
                                                              const QRectF& effect, bool cropTab)
{
    const QRectF e = effectRect(originRect, effect);
    if (!cropTab) {
        return {QRectF(), CommonFunction::scaleRectIn(e, area), false};
    }
    const double half = area.width() / 2.0;
    const double inset = kCropTabInset;
    QRectF left(area.left(), area.top(), half, area.height());
    QRectF right(area.left() + half, area.top(), half, area.height());
    left = left.adjusted(inset, inset, -inset, -inset).translated(kCropTabShift, 0);
    right = right.adjusted(inset, inset, -inset, -inset).translated(-kCropTabShift, 0);
    return {CommonFunction::scaleRectIn(originRect, left), CommonFunction::scaleRectIn(e, right),
            true};
}

QRectF VideoEditLayout::mediaCropToCropView(const QRectF& pixels, const QSizeF& reference,
                                            const QSizeF& overlay)
{
    return scaled(pixels, overlay.width() / atLeastOne(reference.width()),
                  overlay.height() / atLeastOne(reference.height()));
}

QRectF VideoEditLayout::cropViewRectToMediaCrop(const QRectF& points, const QSizeF& reference,
                                                const QSizeF& overlay)
{
    return scaled(points, reference.width() / atLeastOne(overlay.width()),
                  reference.height() / atLeastOne(overlay.height()));
}
