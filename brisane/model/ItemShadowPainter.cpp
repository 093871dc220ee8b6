#include "model/ItemShadowPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "corvane/DLBitmapImage.h"
#include "platform/Numeric.h"

void ItemShadowPainter::drawShadow(QPainter& painter, const QImage& image,
                                   const QRectF& destination, const Shadow& shadow)
{
    if (image.isNull() || destination.isEmpty() || !shadow.color.isValid() ||
        shadow.color.alpha() == 0) {
        return;
    }
    const double blur = std::clamp(shadow.blurRadius, 0.0, 100.0);
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
    const int radius = static_cast<int>(std::lround(blur / 3.0));
    for (int pass = 0; pass < 3 && radius > 0; ++pass) {
        boxBlur(shade, radius);
    }
    const QRectF target(destination.x() + shadow.offset.x() - margin,
                        destination.y() + shadow.offset.y() - margin, width + 2 * margin,
                        height + 2 * margin);
    DLBitmapImage::drawImage(painter, shade, target);
}

void ItemShadowPainter::boxBlur(QImage& image, int radius)
{
    const int w = image.width();
    const int h = image.height();
    const int span = 2 * radius + 1;
    std::vector<QRgb> line(static_cast<size_t>(std::max(w, h)));
    auto blurLine = [&](QRgb* start, int length, int stride) {
        for (int i = 0; i < length; ++i) {
            line[static_cast<size_t>(i)] = start[static_cast<ptrdiff_t>(i) * stride];
        }
        int a = 0, r = 0, g = 0, b = 0;
        auto add = [&](int i, int sign) {
            if (i < 0 || i >= length) {
                return;
            }
            const QRgb c = line[static_cast<size_t>(i)];
            a += sign * qAlpha(c);
            r += sign * qRed(c);
            g += sign * qGreen(c);
            b += sign * qBlue(c);
        };
        for (int i = -radius; i < radius; ++i) {
            add(i, 1);
        }
        for (int i = 0; i < length; ++i) {
            add(i + radius, 1);
            start[static_cast<ptrdiff_t>(i) * stride] =
                qRgba(r / span, g / span, b / span, a / span);
            add(i - radius, -1);
        }
    };
    const int stride = static_cast<int>(image.bytesPerLine() / 4);
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    for (int y = 0; y < h; ++y) {
        blurLine(bits + static_cast<ptrdiff_t>(y) * stride, w, 1);
    }
    for (int x = 0; x < w; ++x) {
        blurLine(bits + x, h, stride);
    }
}
