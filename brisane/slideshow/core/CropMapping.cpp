#include "slideshow/core/CropMapping.h"

#include <algorithm>
#include <cmath>

#include "media/CropItem.h"

namespace {

// Truncated toward zero, except that a value within a hair of a whole number
// is that number: the whole photo's width, scaled onto the display and back,
// must come back as the width and not one pixel less.
double wholePixels(double value)
{
    const double nearest = std::round(value);
    return std::abs(value - nearest) < 1e-6 ? nearest : std::trunc(value);
}

}  // namespace

namespace CropMapping {

bool canMap(const QRectF& picture, const QSizeF& source)
{
    return picture.width() > 0.0 && picture.height() > 0.0 && source.width() > 0.0 &&
           source.height() > 0.0;
}

CropRatios ratiosOf(const CropItem& item)
{
    return {item.dCenterXRatio(), item.dCenterYRatio(), item.dWidthRatio(), item.dHeightRatio()};
}

void writeRatios(CropItem& item, const CropRatios& ratios)
{
    item.setDCenterXRatio(ratios.centerX);
    item.setDCenterYRatio(ratios.centerY);
    item.setDWidthRatio(ratios.width);
    item.setDHeightRatio(ratios.height);
}

QRectF frameFromItem(const CropRatios& ratios, const QRectF& picture)
{
    const double cx = picture.x() + picture.width() * ratios.centerX;
    const double cy = picture.y() + picture.height() * ratios.centerY;
    const double w = picture.width() * ratios.width;
    const double h = picture.height() * ratios.height;
    return {cx - w / 2, cy - h / 2, w, h};
}

std::optional<CropPixels> fieldsFromFrame(const QRectF& frame, const QRectF& picture,
                                          const QSizeF& source)
{
    if (!canMap(picture, source)) {
        return std::nullopt;
    }
    const double sw = source.width();
    const double sh = source.height();
    return CropPixels{wholePixels(sw * (frame.x() - picture.x()) / picture.width()),
                      wholePixels(sh * (frame.y() - picture.y()) / picture.height()),
                      wholePixels(sw * frame.width() / picture.width()),
                      wholePixels(sh * frame.height() / picture.height())};
}

std::optional<CropRatios> itemFromFields(const CropPixels& pixels, const QSizeF& source)
{
    if (!(source.width() > 0.0 && source.height() > 0.0)) {
        return std::nullopt;
    }
    return CropRatios{(pixels.x + pixels.width * 0.5) / source.width(),
                      (pixels.y + pixels.height * 0.5) / source.height(),
                      pixels.width / source.width(), pixels.height / source.height()};
}

std::optional<double> minimumPixels(double minimumPoints, const QRectF& picture,
                                    const QSizeF& source)
{
    if (!canMap(picture, source)) {
        return std::nullopt;
    }
    return std::floor(minimumPoints * source.width() / picture.width());
}

double clampedTypedSize(double typed, double minimum, double extent, double offset)
{
    double size = std::min(std::max(typed, minimum), extent);
    if (offset + size > extent) {
        size = extent - offset;
    }
    return size;
}

}  // namespace CropMapping
