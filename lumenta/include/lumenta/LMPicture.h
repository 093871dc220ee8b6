#pragma once
// A picture with a position: a QImage whose extent starts at `origin`, in
// output pixels with the origin at the lower left and y growing upwards.
// A movie's watermark is such a picture: laid over every output frame at its
// origin.

#include <QImage>
#include <QPointF>
#include <QRectF>

struct LMPicture {
    QImage image;
    QPointF origin;

    bool isNull() const { return image.isNull(); }
    // The extent in lower-left coordinates.
    QRectF extent() const { return QRectF(origin, QSizeF(image.size())); }
};
