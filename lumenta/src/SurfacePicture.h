#pragma once
// The edited picture taken for a drawing surface (see VideoEditChain): the
// zoom's layout carried over to the surface's pixels, and the chain's 4:2:0
// YUV set on the surface in BGRA.
//
// The layout keeps the places the zoom gives at the output size (centred,
// rounded down) and takes each edge over at the surface's scale, so that the
// picture lands where the output-size picture stretched over the surface
// would; an edge less than a pixel of the surface from the surface's own edge
// lies on it (a bar or an overflow that thin is rounding, not layout).
//
// The colours are turned into BGRA by the frame's own matrix, as libswscale
// reads it, with each chroma sample taken for the two by two pixels it
// stands for: the inverse of the averaging that brings a picture back to
// 4:2:0, so a picture drawn unchanged into a frame keeps its colours. Fixed
// point with 16 fractional bits, rounded to the nearest level.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <memory>

#include "FFmpeg.h"

namespace lumenta {

// Where the picture goes on the surface: scaled to `scaled`, its top left
// corner at `offset` (negative where a filling picture overflows and is
// cut), black around it.
struct SurfaceLayout {
    QSize surface;
    QSize scaled;
    QPoint offset;

    // The layout of a picture scaled to `scaled` in an output size of `box`
    // (larger than the box when it fills it), on `surface`.
    static SurfaceLayout of(const QSize& box, const QSize& scaled, const QSize& surface);
    // True when the picture covers the surface exactly.
    bool covers() const { return offset.isNull() && scaled == surface; }
};

class SurfacePicture {
public:
    // The 4:2:0 frame (limited range, with or without alpha) set on the
    // layout's surface at the layout's offset (a layout without a surface
    // takes the frame's own size): RGB32, or ARGB32 when the frame has alpha.
    // The picture lives in memory of this object's pool, which outlives it
    // if need be; null for another format.
    QImage bgra(const AVFrame* frame, const SurfaceLayout& layout);

private:
    struct PoolDeleter {
        void operator()(AVBufferPool* pool) const { av_buffer_pool_uninit(&pool); }
    };

    std::unique_ptr<AVBufferPool, PoolDeleter> m_pool;
    size_t m_bytes = 0;
};

}  // namespace lumenta
