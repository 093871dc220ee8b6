#pragma once
// The libavfilter chain that applies a movie's edits to decoded frames:
// an interlaced frame made one picture of its first field, the stream's own
// display turn, then crop, rotation, flips, colour, effect,
// zoom to the output size, subtitles, then BGRA. Rebuilt lazily when the
// edits, the input format or the surface change. The watermark is laid over
// the result with QPainter. Not thread-safe.
//
// The output size is the picture's extent: bars, the watermark and subtitles
// are placed in it. A surface size (the pixels of the frame the picture will
// be stretched over) makes the zoom sample the picture straight at the
// surface's pixels instead: the same picture, resampled once. Such a chain
// ends in YUV, which SurfacePicture sets on the surface in BGRA.

#include <QImage>
#include <QSize>
#include <QString>

#include "EditSettings.h"
#include "FFmpeg.h"
#include "SurfacePicture.h"

namespace lumenta {

class VideoEditChain {
public:
    // `threads`: filter threads of the chain (thumbnails take one).
    explicit VideoEditChain(int threads = 1) : m_threads(threads) {}

    // The edited picture of the frame (whose pts is a movie time); null on
    // failure (logged). A chain that cannot be built with its subtitles is
    // built without them, so the picture stays. With a valid `surface` the
    // picture has the surface's size in pixels (see above). The picture
    // shares the chain's frame memory until it is dropped: no copy is made.
    // Given `surfaceFrame`, a picture that covers the surface exactly in
    // 4:2:0 with no watermark to draw over it is given there instead (the
    // image is then null).
    QImage apply(const AVFrame* frame, AVRational sampleAspect, const EditSettings& edits,
                 const QSize& surface = QSize(),
                 std::shared_ptr<const AVFrame>* surfaceFrame = nullptr);

    // The filter description for a frame of that size and pixel aspect; also
    // gives the output size (the extent, not the surface). Exposed for tests.
    static QString describe(int width, int height, double sampleAspect, const EditSettings& edits,
                            QSize* outputSize, const QSize& surface = QSize(),
                            SurfaceLayout* layout = nullptr);

    // The frame converted to BGRA without edits.
    static QImage plainImage(const AVFrame* frame);
    // A plain picture turned upright as the display turn says (counter-
    // clockwise quarter turns), the same turn the chain starts with.
    static QImage turnedForDisplay(const QImage& image, int displayRotation);

private:
    bool rebuild(const AVFrame* frame, AVRational sampleAspect, const EditSettings& edits,
                 const QSize& surface);

    int m_threads = 1;
    FilterGraphPtr m_graph;
    AVFilterContext* m_source = nullptr;
    AVFilterContext* m_sink = nullptr;
    quint64 m_version = 0;
    int m_width = 0;
    int m_height = 0;
    int m_format = -1;
    AVRational m_sar{0, 1};
    QSize m_surface;
    QSize m_extent;                   // the output size of the chain built
    SurfaceLayout m_layout;           // where the chain's picture goes on the surface
    SurfacePicture m_surfacePicture;  // BGRA memory of the pictures for a surface
};

}  // namespace lumenta
