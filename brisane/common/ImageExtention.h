#pragma once
// Small picture and colour conversions shared by the editors.

#include <QColor>
#include <QImage>
#include <optional>

class ImageExtention {
public:
    ImageExtention() = delete;

    // A copy of the picture at its own size in which the colour replaces the
    // picture's colours wherever it is opaque, keeping its alpha (source-atop).
    // The colour's own alpha blends it with the picture. Null for a null picture.
    static QImage bwTintedImageWithColor(const QImage& image, const QColor& color);

    // The colour as RGB; nullopt for an invalid colour.
    static std::optional<QColor> convertToRGBColor(const QColor& color);
    // The red, green, blue and alpha of the colour as RGB; transparent black
    // for an invalid colour.
    static QColor cicolor(const QColor& color);
};
