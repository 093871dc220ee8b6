#include "SurfacePicture.h"

#include <QDebug>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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
constexpr int LumaScale = 76309;  // 255 / 219 in 16.16
constexpr int Rounding = (1 << 15) - 16 * LumaScale;

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

// The lines below are written for the compiler to turn into vector code;
// on x86-64 there is a second version for AVX2, chosen when the processor
// has it.
#if defined(__x86_64__) && defined(__GNUC__)
#define LUMENTA_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define LUMENTA_VECTOR_CLONES
#endif

// The chroma terms of `count` pixels of a line from its chroma samples,
// the first pixel at `first` (each sample stands for two pixels).
LUMENTA_VECTOR_CLONES
void chromaTerms(const uint8_t* cb, const uint8_t* cr, const int* table, int first, int count,
                 int* red, int* green, int* blue)
{
    const int crv = table[0];
    const int cbu = table[1];
    const int cgu = table[2];
    const int cgv = table[3];
    for (int i = 0; i < count; ++i) {
        const auto sample = static_cast<unsigned>(first + i) / 2;
        const int u = cb[sample] - 128;
        const int v = cr[sample] - 128;
        red[i] = crv * v + Rounding;
        green[i] = Rounding - cgu * u - cgv * v;
        blue[i] = cbu * u + Rounding;
    }
}

// `count` opaque BGRA pixels from their luma and chroma terms.
LUMENTA_VECTOR_CLONES
void bgraLine(const uint8_t* luma, const int* red, const int* green, const int* blue, int count,
              uint32_t* out)
{
    for (int i = 0; i < count; ++i) {
        const int level = LumaScale * luma[i];
        const auto b = static_cast<uint32_t>(std::clamp((level + blue[i]) >> 16, 0, 255));
        const auto g = static_cast<uint32_t>(std::clamp((level + green[i]) >> 16, 0, 255));
        const auto r = static_cast<uint32_t>(std::clamp((level + red[i]) >> 16, 0, 255));
        out[i] = b | g << 8 | r << 16 | Black;
    }
}

void convert(const AVFrame* frame, const SurfaceLayout& layout, uint8_t* out, int stride)
{
    const int* table = coefficients(frame);
    const int width = layout.surface.width();
    const int left = qBound(0, layout.offset.x(), width);
    const int right = qBound(left, layout.offset.x() + frame->width, width);
    const int first = left - layout.offset.x();  // the first pixel of the frame shown
    const int count = right - left;
    std::vector<int> terms(static_cast<size_t>(count) * 3);
    int* red = terms.data();
    int* green = red + count;
    int* blue = green + count;
    int termsLine = -1;
    for (int y = 0; y < layout.surface.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(out + static_cast<ptrdiff_t>(y) * stride);
        const int sy = y - layout.offset.y();
        if (sy < 0 || sy >= frame->height || count == 0) {
            std::fill(line, line + width, Black);
            continue;
        }
        std::fill(line, line + left, Black);
        std::fill(line + right, line + width, Black);
        if (termsLine != sy / 2) {
            termsLine = sy / 2;
            chromaTerms(frame->data[1] + static_cast<ptrdiff_t>(termsLine) * frame->linesize[1],
                        frame->data[2] + static_cast<ptrdiff_t>(termsLine) * frame->linesize[2],
                        table, first, count, red, green, blue);
        }
        const uint8_t* luma = frame->data[0] + static_cast<ptrdiff_t>(sy) * frame->linesize[0];
        bgraLine(luma + first, red, green, blue, count, line + left);
        if (frame->format == AV_PIX_FMT_YUVA420P) {
            const uint8_t* alpha = frame->data[3] + static_cast<ptrdiff_t>(sy) * frame->linesize[3];
            for (int i = 0; i < count; ++i) {
                line[left + i] = (line[left + i] & 0x00ffffffu) | uint32_t(alpha[first + i]) << 24;
            }
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
    const QImage::Format format =
        frame->format == AV_PIX_FMT_YUVA420P ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    return QImage(
        buffer->data, placed.surface.width(), placed.surface.height(), stride, format,
        [](void* info) {
            AVBufferRef* done = static_cast<AVBufferRef*>(info);
            av_buffer_unref(&done);
        },
        buffer);
}

}  // namespace lumenta
