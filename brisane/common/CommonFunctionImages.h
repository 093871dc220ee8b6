#pragma once
// The picture half of the common functions: a picture letterboxed in a
// rectangle, a rotated copy, a tiled picture and a title drawn in a box.
//
// Rectangles are in the painter's own coordinates (Qt, y down). Angles are in
// degrees, counter-clockwise on screen for a positive angle. Null pictures and
// empty sizes draw nothing and give null results; nothing here fails loudly.

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

class CommonFunctionImages {
public:
    CommonFunctionImages() = delete;

    // Draws the whole picture, aspect fitted and centred in the rect,
    // source-over at full opacity.
    static void drawImage(QPainter& painter, const QImage& image, const QRectF& rect);
    // A new transparent picture of `size` (rounded to whole pixels) with the
    // picture stretched over all of it, turned by `degrees` about the centre.
    // Null when the size is empty.
    static QImage rotateImage(const QImage& image, const QSizeF& size, float degrees);
    // A picture of `size` tiled with unscaled copies of the picture from the
    // top left. At most 99 tiles per direction: when 99 do not cover the size
    // in a direction, no tiles are laid at all.
    static QImage getNoScaledImage(const QImage& image, const QSizeF& size);
    // Draws the string in the rect with the label font of `fontSize` pixels,
    // centred, shortened in the middle when it does not fit.
    static void drawTitleAtRect(QPainter& painter, const QRectF& rect, const QString& string,
                                int fontSize, const QColor& color);

    // The aspect fit of `rect` into `box`, centred (the picture views' fit).
    static QRectF fitRect(const QRectF& rect, const QRectF& box);
};
