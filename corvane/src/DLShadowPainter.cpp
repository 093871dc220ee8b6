#include "corvane/DLShadowPainter.h"

#include <QtMath>
#include <algorithm>
#include <vector>

#include "corvane/DLBitmapImage.h"
#include "platform/Numeric.h"

void DLShadowPainter::drawShadow(QPainter& painter, const QImage& image, const QRectF& destination,
                                 const Shadow& shadow)
{
    if (image.isNull() || destination.isEmpty() || shadow.color.alpha() == 0) {
        return;
    }
    const double blur = std::clamp(shadow.blurRadius, 0.0, 200.0);
    const int margin = static_cast<int>(std::ceil(blur));
    const int width = saturatingCast<int>(std::ceil(destination.width()));
    const int height = saturatingCast<int>(std::ceil(destination.height()));
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        return;
    }
    QImage shade(width + 2 * margin, height + 2 * margin, QImage::Format_ARGB32_Premultiplied);
    if (shade.isNull()) {
        return;
    }
    shade.fill(Qt::transparent);
    {
        QPainter p(&shade);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(margin, margin, width, height), image);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(shade.rect(), shadow.color);
    }
    // Three box passes come close to a Gaussian of the blur radius.
    const int radius = static_cast<int>(std::lround(blur / 3.0));
    for (int pass = 0; pass < 3 && radius > 0; ++pass) {
        boxBlur(shade, radius);
    }
    const QRectF target(destination.x() + shadow.offset.x() - margin,
                        destination.y() + shadow.offset.y() - margin, width + 2 * margin,
                        height + 2 * margin);
    DLBitmapImage::drawImage(painter, shade, target);
}

void DLShadowPainter::boxBlur(QImage& image, int radius)
{
    const int w = image.width();
    const int h = image.height();
    const int span = 2 * radius + 1;
    std::vector<QRgb> line(static_cast<size_t>(std::max(w, h)));
    auto blurLine = [&](auto pixelAt, int length) {
        for (int i = 0; i < length; ++i) {
            line[static_cast<size_t>(i)] = *pixelAt(i);
        }
        int sums[4] = {0, 0, 0, 0};
        auto add = [&](int i, int sign) {
            if (i < 0 || i >= length) {
                return;
            }
            const QRgb c = line[static_cast<size_t>(i)];
            sums[0] += sign * qAlpha(c);
            sums[1] += sign * qRed(c);
            sums[2] += sign * qGreen(c);
            sums[3] += sign * qBlue(c);
        };
        for (int i = -radius; i < radius; ++i) {
            add(i, 1);
        }
        for (int i = 0; i < length; ++i) {
            add(i + radius, 1);
            *pixelAt(i) = qRgba(sums[1] / span, sums[2] / span, sums[3] / span, sums[0] / span);
            add(i - radius, -1);
        }
    };
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        blurLine([row](int x) { return row + x; }, w);
    }
    for (int x = 0; x < w; ++x) {
        blurLine([&image, x](int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)) + x; }, h);
    }
}
