#pragma once
// Draws a picture's drop shadow: the picture's alpha in the shadow colour,
// blurred by the blur radius and moved by the offset (y up).

#include <QImage>
#include <QPainter>
#include <QRectF>

#include "platform/Shadow.h"

class DLShadowPainter {
public:
    // Draws the shadow `image` would cast when drawn into `destination` of a
    // y-up painter. Draws nothing for a fully transparent shadow colour.
    static void drawShadow(QPainter& painter, const QImage& image, const QRectF& destination,
                           const Shadow& shadow);

private:
    static void boxBlur(QImage& image, int radius);
};
