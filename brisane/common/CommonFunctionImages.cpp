#include "common/CommonFunctionImages.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/Numeric.h"

namespace {

constexpr int kMaxTiles = 99;

// The smallest n in 0...99 with n * tile >= length, or 0 when none is.
int tileCount(double tile, double length)
{
    for (int n = 0; n <= kMaxTiles; ++n) {
        if (n * tile >= length) {
            return n;
        }
    }
    return 0;
}

QImage transparentImage(const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull()) {
        image.fill(Qt::transparent);
    }
    return image;
}

}  // namespace

QRectF CommonFunctionImages::fitRect(const QRectF& rect, const QRectF& box)
{
    // Ratios in single precision, and never below 0.01, as the views expect.
    const float widthRatio = static_cast<float>(rect.width() / box.width());
    const float heightRatio = static_cast<float>(rect.height() / box.height());
    double factor = std::max(widthRatio, heightRatio);
    if (!(factor >= 0.01)) {
        factor = 0.01;  // also for NaN from an empty box
    }
    const double width = rect.width() / factor;
    const double height = rect.height() / factor;
    return {box.x() + (box.width() - width) * 0.5, box.y() + (box.height() - height) * 0.5, width,
            height};
}

void CommonFunctionImages::drawImage(QPainter& painter, const QImage& image, const QRectF& rect)
{
    if (image.isNull()) {
        return;
    }
    const QRectF source(QPointF(0, 0), image.size());
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1.0);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(fitRect(source, rect), image, source);
    painter.restore();
}

QImage CommonFunctionImages::rotateImage(const QImage& image, const QSizeF& size, float degrees)
{
    if (size.isEmpty()) {
        return {};
    }
    const QSize pixels(saturatingCast<int>(std::round(size.width())),
                       saturatingCast<int>(std::round(size.height())));
    QImage result = transparentImage(pixels);
    if (result.isNull() || image.isNull()) {
        return result;
    }
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(size.width() * 0.5, size.height() * 0.5);
    painter.rotate(-degrees);  // y points down here: negative turns counter-clockwise
    painter.translate(-size.width() * 0.5, -size.height() * 0.5);
    painter.drawImage(QRectF(QPointF(0, 0), size), image);
    return result;
}

QImage CommonFunctionImages::getNoScaledImage(const QImage& image, const QSizeF& size)
{
    if (size.isEmpty()) {
        return {};
    }
    const QSize pixels(saturatingCast<int>(std::round(size.width())),
                       saturatingCast<int>(std::round(size.height())));
    QImage result = transparentImage(pixels);
    if (result.isNull() || image.isNull()) {
        return result;
    }
    const int columns = tileCount(image.width(), size.width());
    const int rows = tileCount(image.height(), size.height());
    QPainter painter(&result);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            painter.drawImage(QPoint(column * image.width(), row * image.height()), image);
        }
    }
    return result;
}

void CommonFunctionImages::drawTitleAtRect(QPainter& painter, const QRectF& rect,
                                           const QString& string, int fontSize, const QColor& color)
{
    if (string.isEmpty() || rect.isEmpty()) {
        return;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(std::max(1, fontSize));
    const QString text = QFontMetricsF(font).elidedText(string, Qt::ElideMiddle, rect.width());
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}
