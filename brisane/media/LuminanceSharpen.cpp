#include "media/LuminanceSharpen.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Luminance in 1/256 steps (Rec. 601 weights), premultiplied values.
int luminance(QRgb p)
{
    return (77 * qRed(p) + 150 * qGreen(p) + 29 * qBlue(p));
}

}  // namespace

QImage sharpenLuminance(const QImage& image, double sharpness)
{
    if (image.isNull()) {
        return {};
    }
    QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (source.isNull() || !(sharpness > 0.0) || !std::isfinite(sharpness)) {
        return source;
    }
    const int w = source.width();
    const int h = source.height();
    std::vector<int> luma(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            luma[static_cast<size_t>(y) * w + x] = luminance(line[x]);
        }
    }
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return luma[static_cast<size_t>(y) * w + x];
    };
    const int amount = static_cast<int>(std::lround(std::min(sharpness, 16.0) * 1024.0));
    QImage result(source.size(), QImage::Format_ARGB32_Premultiplied);
    if (result.isNull()) {
        return result;  // out of memory: no picture rather than a wrong one
    }
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int centre = at(x, y);
            const int blurred =
                (4 * centre + 2 * (at(x - 1, y) + at(x + 1, y) + at(x, y - 1) + at(x, y + 1)) +
                 at(x - 1, y - 1) + at(x + 1, y - 1) + at(x - 1, y + 1) + at(x + 1, y + 1)) /
                16;
            // Difference in 1/256 steps scaled by the amount in 1/1024 steps.
            const int delta = ((centre - blurred) * amount) / (256 * 1024);
            const QRgb p = in[x];
            const int a = qAlpha(p);
            out[x] = qRgba(std::clamp(qRed(p) + delta, 0, a), std::clamp(qGreen(p) + delta, 0, a),
                           std::clamp(qBlue(p) + delta, 0, a), a);
        }
    }
    return result;
}
