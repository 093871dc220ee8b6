#pragma once
// Draws the soft shadow of a picture placed in a rectangle of a y-up
// painter: the picture's alpha tinted in the shadow colour, blurred by the
// blur radius (three box passes, close to a Gaussian) and moved by the
// offset (y up).

#include <QImage>
#include <QRectF>

#include "platform/Shadow.h"

class QPainter;

class ItemShadowPainter {
public:
    ItemShadowPainter() = delete;

    static void drawShadow(QPainter& painter, const QImage& image, const QRectF& destination,
                           const Shadow& shadow);
    // One box blur pass of `radius` pixels over a premultiplied image.
    static void boxBlur(QImage& image, int radius);
};
