#include "media/PhotoImageFunctions.h"

#include <QDebug>
#include <QPainter>
#include <cmath>

#include "media/CropItem.h"
#include "platform/Numeric.h"

namespace {

constexpr double MaximumSide = 32768.0;

bool usable(const QImage& image, const char* function)
{
    if (image.isNull()) {
        qWarning("%s: Image is nil", function);
        return false;
    }
    if (image.width() < 0.01 || image.height() < 0.01) {
        qWarning("%s: Imagesize isn't valid", function);
        return false;
    }
    return true;
}

QSize pixels(const QSizeF& size)
{
    const QSizeF within = sizeWithinSide(size, MaximumSide);
    return QSize(saturatingCast<int>(std::round(within.width())),
                 saturatingCast<int>(std::round(within.height())));
}

// Draws `image` into a canvas at `drawn` size, centred.
QImage centredOnCanvas(const QImage& image, const QSizeF& canvas, const QSizeF& drawn,
                       const QColor& fill)
{
    QImage result(pixels(canvas), QImage::Format_ARGB32_Premultiplied);
    if (result.isNull()) {
        qWarning() << "Cannot make a picture of" << canvas;
        return {};
    }
    result.fill(fill);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPointF origin((canvas.width() - drawn.width()) * 0.5,
                         (canvas.height() - drawn.height()) * 0.5);
    painter.drawImage(QRectF(origin, drawn), image);
    return result;
}

}  // namespace

QRectF cropRectOfSize(const QSizeF& size, const CropItem& crop)
{
    const double w = size.width() * crop.dWidthRatio();
    const double h = size.height() * crop.dHeightRatio();
    return QRectF(size.width() * crop.dCenterXRatio() - w * 0.5,
                  size.height() * crop.dCenterYRatio() - h * 0.5, w, h);
}

QImage cropCIImage(const QImage& image, const CropItem& crop)
{
    if (image.isNull()) {
        qWarning("CropCIImage: Image is nil");
        return {};
    }
    if (image.width() < 0.01 || image.height() < 0.01) {
        qWarning("CropCIImage: Imagesize isn't valid");
        return {};
    }
    if (!crop.isCropped()) {
        return image;
    }
    const QRectF part = cropRectOfSize(QSizeF(image.size()), crop);
    // Lower-left origin to Qt's upper-left origin.
    const QRectF top(part.x(), image.height() - part.y() - part.height(), part.width(),
                     part.height());
    const QRect area(saturatingCast<int>(std::round(top.x())),
                     saturatingCast<int>(std::round(top.y())),
                     saturatingCast<int>(std::round(std::min(top.width(), MaximumSide))),
                     saturatingCast<int>(std::round(std::min(top.height(), MaximumSide))));
    if (area.width() <= 0 || area.height() <= 0) {
        qWarning("CropCIImage: Imagesize isn't valid");
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied).copy(area);
}

QSizeF standardRatioCanvas(double ratio, double width, double height)
{
    if (ratio <= width / height) {
        return QSizeF(width, width / ratio);
    }
    return QSizeF(height * ratio, height);
}

QImage standardRatioCuttedCIImage(const QImage& image, double ratio, double width, double height)
{
    if (!usable(image, "standardRatioCuttedCIImage")) {
        return {};
    }
    const QSizeF canvas = standardRatioCanvas(ratio, width, height);
    const double r = double(image.width()) / image.height();
    const QSizeF drawn = r <= ratio ? QSizeF(canvas.width(), canvas.width() / r)
                                    : QSizeF(canvas.height() * r, canvas.height());
    return centredOnCanvas(image, canvas, drawn, Qt::transparent);
}

QImage standardRatioFilledCIImage(const QImage& image, const QColor& fill, double ratio,
                                  double width, double height)
{
    if (!usable(image, "standardRatioFilledCIImage")) {
        return {};
    }
    const QSizeF canvas = standardRatioCanvas(ratio, width, height);
    const double r = double(image.width()) / image.height();
    const QSizeF drawn = r <= ratio ? QSizeF(canvas.height() * r, canvas.height())
                                    : QSizeF(canvas.width(), canvas.width() / r);
    return centredOnCanvas(image, canvas, drawn, fill);
}

QSizeF sizeWithinSide(const QSizeF& size, double maximumSide)
{
    const double longer = std::max(size.width(), size.height());
    if (!(longer > maximumSide)) {
        return size;
    }
    // Both sides together, so the picture keeps its shape; never below a pixel.
    const double scale = maximumSide / longer;
    return QSizeF(std::max(size.width() * scale, 1.0), std::max(size.height() * scale, 1.0));
}

QSizeF coverSizeInBox(const QSizeF& image, const QSizeF& box)
{
    const double r = image.width() / image.height();
    const double b = box.width() / box.height();
    if (r > b) {
        return QSizeF(box.height() * r, box.height());
    }
    if (b > r) {
        return QSizeF(box.width(), box.width() / r);
    }
    return box;
}

QImage drawnInSize(const QImage& image, const QSizeF& size, const QColor& background)
{
    if (image.isNull()) {
        return {};
    }
    QImage result(pixels(size), QImage::Format_ARGB32_Premultiplied);
    if (result.isNull()) {
        return {};
    }
    result.fill(background);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(result.size())), image);
    return result;
}
