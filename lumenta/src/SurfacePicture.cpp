#include "SurfacePicture.h"

#include <QDebug>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lumenta {

namespace {

// One axis of SurfaceLayout::of: the scaled length and the offset on the
// surface.
void carryOver(int box, int scaled, int surface, int* length, int* offset)
{
    const double scale = static_cast<double>(surface) / qMax(box, 1);
    // The zoom's own place at the output size: centred, rounded toward zero
    // (a pad rounds its offset down, a crop its cut).
    const int start = (box - scaled) / 2;
    double first = start * scale;
    double last = (start + scaled) * scale;
    if (std::fabs(first) < 1.0) {
        first = 0.0;
    }
    if (std::fabs(last - surface) < 1.0) {
        last = surface;
    }
    *offset = static_cast<int>(std::lround(first));
    *length = qMax(1, static_cast<int>(std::lround(last)) - *offset);
}

constexpr uint32_t Black = 0xff000000u;

uint32_t bgraPixel(int luma, int red, int green, int blue, uint32_t alpha)
{
    const auto level = [](int value) {
        return static_cast<uint32_t>(std::clamp(value >> 16, 0, 255));
    };
    return level(luma + blue) | level(luma + green) << 8 | level(luma + red) << 16 | alpha << 24;
}

// The matrix libavfilter's scaler takes for the frame: its own, or BT.601
// where it names none that YUV can have. crv, cbu, cgu, cgv in 16.16.
const int* coefficients(const AVFrame* frame)
{
    int colorspace = frame->colorspace;
    if (colorspace < 1 || colorspace > 10 || colorspace == 8) {
        colorspace = AVCOL_SPC_BT470BG;
    }
    return sws_getCoefficients(colorspace);
}

void convert(const AVFrame* frame, const SurfaceLayout& layout, uint8_t* out, int stride)
{
    const int* table = coefficients(frame);
    const int crv = table[0];
    const int cbu = table[1];
    const int cgu = table[2];
    const int cgv = table[3];
    constexpr int Luma = 76309;  // 255 / 219
    constexpr int Offset = (1 << 15) - 16 * Luma;
    const bool hasAlpha = frame->format == AV_PIX_FMT_YUVA420P;
    const int width = layout.surface.width();
    const int left = qBound(0, layout.offset.x(), width);
    const int right = qBound(left, layout.offset.x() + frame->width, width);
    for (int y = 0; y < layout.surface.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(out + static_cast<ptrdiff_t>(y) * stride);
        const int sy = y - layout.offset.y();
        if (sy < 0 || sy >= frame->height || left == right) {
            std::fill(line, line + width, Black);
            continue;
        }
        std::fill(line, line + left, Black);
        std::fill(line + right, line + width, Black);
        const uint8_t* luma = frame->data[0] + static_cast<ptrdiff_t>(sy) * frame->linesize[0];
        const uint8_t* cb = frame->data[1] + static_cast<ptrdiff_t>(sy / 2) * frame->linesize[1];
        const uint8_t* cr = frame->data[2] + static_cast<ptrdiff_t>(sy / 2) * frame->linesize[2];
        const uint8_t* alpha =
            hasAlpha ? frame->data[3] + static_cast<ptrdiff_t>(sy) * frame->linesize[3] : nullptr;
        for (int x = left; x < right; ++x) {
            const int sx = x - layout.offset.x();
            const int u = cb[sx / 2] - 128;
            const int v = cr[sx / 2] - 128;
            line[x] = bgraPixel(Luma * luma[sx] + Offset, crv * v, -cgu * u - cgv * v, cbu * u,
                                alpha ? alpha[sx] : 255u);
        }
    }
}

}  // namespace

SurfaceLayout SurfaceLayout::of(const QSize& box, const QSize& scaled, const QSize& surface)
{
    SurfaceLayout layout;
    layout.surface = surface;
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
    carryOver(box.width(), scaled.width(), surface.width(), &width, &x);
    carryOver(box.height(), scaled.height(), surface.height(), &height, &y);
    layout.scaled = QSize(width, height);
    layout.offset = QPoint(x, y);
    return layout;
}

QImage SurfacePicture::bgra(const AVFrame* frame, const SurfaceLayout& layout)
{
    if (!frame || (frame->format != AV_PIX_FMT_YUV420P && frame->format != AV_PIX_FMT_YUVA420P)) {
        qWarning() << "Lumenta: no picture from a frame in format" << (frame ? frame->format : -1);
        return {};
    }
    SurfaceLayout placed = layout;
    if (placed.surface.isEmpty()) {
        placed = SurfaceLayout{QSize(frame->width, frame->height),
                               QSize(frame->width, frame->height), QPoint()};
    }
    const int stride = FFALIGN(placed.surface.width() * 4, 64);
    const size_t bytes = static_cast<size_t>(stride) * placed.surface.height();
    if (!m_pool || m_bytes != bytes) {
        m_pool.reset(av_buffer_pool_init(bytes, nullptr));
        m_bytes = bytes;
    }
    AVBufferRef* buffer = m_pool ? av_buffer_pool_get(m_pool.get()) : nullptr;
    if (!buffer) {
        return {};
    }
    convert(frame, placed, buffer->data, stride);
    return QImage(
        buffer->data, placed.surface.width(), placed.surface.height(), stride,
        QImage::Format_ARGB32,
        [](void* info) {
            AVBufferRef* done = static_cast<AVBufferRef*>(info);
            av_buffer_unref(&done);
        },
        buffer);
}

}  // namespace lumenta
