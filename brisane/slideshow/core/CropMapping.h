#pragma once
// The three forms of a photo's crop in the crop sheet, and the rules that
// carry one into another:
// - the crop item: centre and size as fractions of the photo's width and
//   height, the centre's y measured from the photo's bottom edge;
// - the crop frame on the display, in the picture area's coordinates (y up),
//   where the photo is drawn in the rectangle P;
// - four whole numbers in pixels of the photo's size S: X and Y, the left and
//   bottom offsets of the crop from the photo's left and bottom edges, and W
//   and H, its width and height (each truncated toward zero; a value within
//   a millionth of a whole number counts as that number).
// A width or height typed by the user is held between m (24 display points
// expressed in source pixels) and the room the photo leaves beside X or
// above Y.
//
// Where P or S is empty (a photo that could not be read) nothing can be
// mapped: the functions that would divide by it answer nothing. Stateless;
// any thread.

#include <QRectF>
#include <QSizeF>
#include <optional>

class CropItem;

struct CropRatios {
    double centerX = 0.5;
    double centerY = 0.5;
    double width = 1.0;
    double height = 1.0;
};

struct CropPixels {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

namespace CropMapping {

// Whether the photo is drawn and has a size, so that the forms map.
bool canMap(const QRectF& picture, const QSizeF& source);

CropRatios ratiosOf(const CropItem& item);
void writeRatios(CropItem& item, const CropRatios& ratios);

// The crop frame on the display for the item's ratios.
QRectF frameFromItem(const CropRatios& ratios, const QRectF& picture);
// The pixel numbers of a display frame; nothing when P or S is empty.
std::optional<CropPixels> fieldsFromFrame(const QRectF& frame, const QRectF& picture,
                                          const QSizeF& source);
// The ratios of pixel numbers; nothing when S is empty.
std::optional<CropRatios> itemFromFields(const CropPixels& pixels, const QSizeF& source);

// m: the frame's minimum side in source pixels, floored; nothing when P is
// empty.
std::optional<double> minimumPixels(double minimumPoints, const QRectF& picture,
                                    const QSizeF& source);
// A typed width (or height): at least m, at most the photo's `extent`, and no
// further than the photo's edge from `offset`.
double clampedTypedSize(double typed, double minimum, double extent, double offset);

}  // namespace CropMapping
