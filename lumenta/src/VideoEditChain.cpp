#include "VideoEditChain.h"

#include <QDebug>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "lumenta/EffectManager.h"

namespace lumenta {

namespace {

bool near(double a, double b)
{
    return std::fabs(a - b) <= 0.001;
}

// Escaping of a value inside a filter's option list, then inside the graph.
QString escapeValue(const QString& value)
{
    QString option;
    for (QChar c : value) {
        if (c == '\\' || c == ':' || c == '\'') {
            option += '\\';
        }
        option += c;
    }
    QString graph;
    for (QChar c : option) {
        if (c == '\\' || c == '\'' || c == '[' || c == ']' || c == ',' || c == ';') {
            graph += '\\';
        }
        graph += c;
    }
    return graph;
}

int even(double v)
{
    return qMax(2, static_cast<int>(std::lround(v / 2.0)) * 2);
}

QString assColour(const QColor& c)
{
    // &HAABBGGRR with alpha 0 = opaque.
    return QStringLiteral("&H%1%2%3%4")
        .arg(255 - c.alpha(), 2, 16, QLatin1Char('0'))
        .arg(c.blue(), 2, 16, QLatin1Char('0'))
        .arg(c.green(), 2, 16, QLatin1Char('0'))
        .arg(c.red(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

}  // namespace

namespace {

// The picture as it passes through the chain: size and pixel aspect.
struct Shape {
    double width;
    double height;
    double sar;
};

// Crop: lower-left origin in videoSize pixels, clamped to the frame.
void addCrop(QStringList& chain, Shape& shape, const EditSettings& edits)
{
    const QRectF crop = edits.cropRect;
    if (crop.width() < 1.0 || crop.height() < 1.0) {
        return;
    }
    const int width = static_cast<int>(shape.width);
    const int height = static_cast<int>(shape.height);
    const double sx = edits.videoSize.width() >= 1.0 ? width / edits.videoSize.width() : 1.0;
    const double sy = edits.videoSize.height() >= 1.0 ? height / edits.videoSize.height() : 1.0;
    const double left = std::clamp(crop.x() * sx, 0.0, width - 1.0);
    const double bottom = std::clamp(crop.y() * sy, 0.0, height - 1.0);
    const double cw = std::clamp(crop.width() * sx, 1.0, width - left);
    const double ch = std::clamp(crop.height() * sy, 1.0, height - bottom);
    const int ix = static_cast<int>(std::lround(left));
    const int iw = qMax(1, qMin(static_cast<int>(std::lround(cw)), width - ix));
    const int ih = qMax(1, qMin(static_cast<int>(std::lround(ch)), height));
    const int iy = qBound(0, static_cast<int>(std::lround(height - bottom - ch)), height - ih);
    if (ix == 0 && iy == 0 && iw == width && ih == height) {
        return;
    }
    chain << QStringLiteral("crop=%1:%2:%3:%4:exact=1").arg(iw).arg(ih).arg(ix).arg(iy);
    shape.width = iw;
    shape.height = ih;
}

// The stream's display turn, so that every later step sees the picture as it
// is shown: crop rectangles and output sizes refer to the turned picture.
void addDisplayTurn(QStringList& chain, Shape& shape, const EditSettings& edits)
{
    switch (edits.displayRotation) {
        case 90:
        case 270:
            chain << (edits.displayRotation == 90 ? QStringLiteral("transpose=cclock")
                                                  : QStringLiteral("transpose=clock"));
            std::swap(shape.width, shape.height);
            shape.sar = 1.0 / shape.sar;
            break;
        case 180:
            chain << QStringLiteral("hflip") << QStringLiteral("vflip");
            break;
        default:
            break;
    }
}

// Rotation (counter-clockwise degrees), then the flips.
void addRotation(QStringList& chain, Shape& shape, const EditSettings& edits)
{
    double r = std::fmod(static_cast<double>(edits.rotate), 360.0);
    if (r < 0) {
        r += 360.0;
    }
    if (near(r, 90.0) || near(r, 270.0)) {
        chain << (near(r, 90.0) ? QStringLiteral("transpose=cclock")
                                : QStringLiteral("transpose=clock"));
        std::swap(shape.width, shape.height);
        shape.sar = 1.0 / shape.sar;
    } else if (near(r, 180.0)) {
        chain << QStringLiteral("hflip") << QStringLiteral("vflip");
    } else if (r > 0.01 && r < 359.99) {
        if (!near(shape.sar, 1.0)) {
            const int sw = even(shape.width * shape.sar);
            chain << QStringLiteral("scale=%1:%2,setsar=1").arg(sw).arg(even(shape.height));
            shape = {static_cast<double>(sw), static_cast<double>(even(shape.height)), 1.0};
        }
        const double a = -r * M_PI / 180.0;
        const int rw =
            even(std::fabs(shape.width * std::cos(a)) + std::fabs(shape.height * std::sin(a)));
        const int rh =
            even(std::fabs(shape.width * std::sin(a)) + std::fabs(shape.height * std::cos(a)));
        chain << QStringLiteral("rotate=%1:ow=%2:oh=%3:c=black").arg(a, 0, 'f', 6).arg(rw).arg(rh);
        shape.width = rw;
        shape.height = rh;
    }
    if (edits.hflip) {
        chain << QStringLiteral("hflip");
    }
    if (edits.vflip) {
        chain << QStringLiteral("vflip");
    }
}

// Colour and effect. Neutral values add no filter, so the picture stays
// identical.
void addColour(QStringList& chain, const EditSettings& edits)
{
    if (!near(edits.brightness, 0.5) || !near(edits.contrast, 0.25) ||
        !near(edits.saturation, 0.5)) {
        chain << QStringLiteral("eq=brightness=%1:contrast=%2:saturation=%3")
                     .arg((edits.brightness - 0.5) * 2.0, 0, 'f', 4)
                     .arg(edits.contrast * 4.0, 0, 'f', 4)
                     .arg(edits.saturation * 2.0, 0, 'f', 4);
    }
    if (!near(edits.hue, 0.5)) {
        chain << QStringLiteral("hue=h=%1").arg((edits.hue - 0.5) * 360.0, 0, 'f', 3);
    }
    if (!edits.effectName.isEmpty()) {
        const QString effect = EffectManager::filterChainForName(edits.effectName);
        if (!effect.isEmpty()) {
            chain << effect;
        }
    }
}

// Where the zoom puts the picture in the output size `box`: scaled to
// `scaled`, then either cut to the box around its middle (`fill`) or set in
// the middle of the box on black.
struct Zoom {
    QSize box;
    QSize scaled;
    bool fill = false;
};

Zoom zoomLayout(const Shape& shape, const EditSettings& edits)
{
    double aspect = (shape.width * shape.sar) / qMax(shape.height, 1.0);
    if (edits.zoomType == 3) {
        aspect = 16.0 / 9.0;
    } else if (edits.zoomType == 4) {
        aspect = 4.0 / 3.0;
    }
    int ow = static_cast<int>(std::lround(edits.outputVideoSize.width()));
    int oh = static_cast<int>(std::lround(edits.outputVideoSize.height()));
    if (ow < 2 || oh < 2) {
        ow = qMax(2, static_cast<int>(std::lround(shape.width * shape.sar)));
        oh = qMax(2, static_cast<int>(std::lround(shape.height)));
    }
    Zoom zoom{{ow, oh}, {ow, oh}, edits.zoomType == 5};
    const double box = static_cast<double>(ow) / oh;
    if (edits.zoomType == 1) {
        return zoom;
    }
    if (zoom.fill) {
        if (aspect > box) {
            zoom.scaled.setWidth(qMax(ow, static_cast<int>(std::lround(oh * aspect))));
        } else {
            zoom.scaled.setHeight(qMax(oh, static_cast<int>(std::lround(ow / aspect))));
        }
    } else if (aspect > box) {
        zoom.scaled.setHeight(qBound(1, static_cast<int>(std::lround(ow / aspect)), oh));
    } else {
        zoom.scaled.setWidth(qBound(1, static_cast<int>(std::lround(oh * aspect)), ow));
    }
    return zoom;
}

// The zoom at the output size, straight into BGRA.
void addZoom(QStringList& chain, const Zoom& zoom)
{
    const QSize& box = zoom.box;
    const QSize& scaled = zoom.scaled;
    chain << QStringLiteral("scale=%1:%2,format=bgra").arg(scaled.width()).arg(scaled.height());
    if (zoom.fill) {
        chain << QStringLiteral("crop=%1:%2").arg(box.width()).arg(box.height());
    } else if (scaled != box) {
        chain << QStringLiteral("pad=%1:%2:%3:%4:black")
                     .arg(box.width())
                     .arg(box.height())
                     .arg((box.width() - scaled.width()) / 2)
                     .arg((box.height() - scaled.height()) / 2);
    }
    chain << QStringLiteral("setsar=1");
}

// The 4:2:0 YUV a chain for a surface ends in (with alpha when the source
// has it); SurfacePicture turns it into BGRA.
const QString SurfaceYuv = QStringLiteral("format=pix_fmts=yuv420p|yuva420p");

// The zoom laid out in the output size and sampled at the surface's pixels:
// the picture is scaled once, in YUV of limited range, to its size on the
// surface. It is set on black or cut on the surface after the chain, at
// its exact place, unless the chain goes on (subtitles are laid out in the
// whole frame): then a pad or a crop does it here.
SurfaceLayout addZoomOnSurface(QStringList& chain, const Zoom& zoom, const QSize& surface,
                               bool whole)
{
    const SurfaceLayout layout = SurfaceLayout::of(zoom.box, zoom.scaled, surface);
    chain << QStringLiteral("scale=%1:%2:flags=bicubic:out_range=tv")
                 .arg(layout.scaled.width())
                 .arg(layout.scaled.height())
          << SurfaceYuv << QStringLiteral("setsar=1");
    if (!whole || layout.covers()) {
        return layout;
    }
    if (layout.offset.x() < 0 || layout.offset.y() < 0) {
        chain << QStringLiteral("crop=%1:%2:%3:%4:exact=1")
                     .arg(surface.width())
                     .arg(surface.height())
                     .arg(-qMin(layout.offset.x(), 0))
                     .arg(-qMin(layout.offset.y(), 0));
    }
    if (layout.offset.x() > 0 || layout.offset.y() > 0) {
        chain << QStringLiteral("pad=%1:%2:%3:%4:black")
                     .arg(surface.width())
                     .arg(surface.height())
                     .arg(qMax(layout.offset.x(), 0))
                     .arg(qMax(layout.offset.y(), 0));
    }
    return SurfaceLayout{surface, surface, QPoint()};
}

// Subtitles drawn on the output picture, laid out in the output size
// whatever the size of the picture; then the picture goes on in `format`.
void addSubtitles(QStringList& chain, const QSize& output, const EditSettings& edits,
                  const QString& format)
{
    if (edits.subtitleFile.isEmpty()) {
        return;
    }
    const int alignment = edits.subtitlePosition == 2 ? 8 : edits.subtitlePosition == 1 ? 5 : 2;
    QString style = QStringLiteral("Alignment=%1,PrimaryColour=%2")
                        .arg(alignment)
                        .arg(assColour(edits.subtitleColor));
    if (edits.subtitleFont && !edits.subtitleFont->family().isEmpty()) {
        style += QStringLiteral(",FontName=%1").arg(edits.subtitleFont->family());
    }
    if (edits.subtitleFont && edits.subtitleFont->pointSizeF() > 0) {
        style += QStringLiteral(",FontSize=%1").arg(edits.subtitleFont->pointSizeF());
    }
    QString filter = QStringLiteral("subtitles=filename=%1:original_size=%2x%3:force_style=%4")
                         .arg(escapeValue(edits.subtitleFile))
                         .arg(output.width())
                         .arg(output.height())
                         .arg(escapeValue(style));
    if (!edits.subtitleEncoding.isEmpty()) {
        filter += QStringLiteral(":charenc=") + escapeValue(edits.subtitleEncoding);
    }
    chain << filter << format;
}

}  // namespace

QString VideoEditChain::describe(int width, int height, double sampleAspect,
                                 const EditSettings& edits, QSize* outputSize, const QSize& surface,
                                 SurfaceLayout* layout)
{
    QStringList chain;
    Shape shape{static_cast<double>(width), static_cast<double>(height),
                sampleAspect > 0 ? sampleAspect : 1.0};
    addDisplayTurn(chain, shape, edits);
    addCrop(chain, shape, edits);
    addRotation(chain, shape, edits);
    addColour(chain, edits);
    // Each zoom scales straight into BGRA, so the picture is converted at its
    // output size rather than at the source's; for a surface it stays in YUV
    // and is converted at the surface's size, after the chain.
    const Zoom zoom = zoomLayout(shape, edits);
    const bool onSurface = surface.width() >= 2 && surface.height() >= 2;
    SurfaceLayout placed;
    if (onSurface) {
        placed = addZoomOnSurface(chain, zoom, surface, !edits.subtitleFile.isEmpty());
    } else {
        addZoom(chain, zoom);
    }
    const QSize output = zoom.box;
    addSubtitles(chain, output, edits, onSurface ? SurfaceYuv : QStringLiteral("format=bgra"));
    if (outputSize) {
        *outputSize = output;
    }
    if (layout) {
        *layout = placed;
    }
    return chain.join(',');
}

bool VideoEditChain::rebuild(const AVFrame* frame, AVRational sampleAspect,
                             const EditSettings& edits, const QSize& surface)
{
    m_graph.reset();
    m_source = nullptr;
    m_sink = nullptr;
    FilterGraphPtr graph(avfilter_graph_alloc());
    if (!graph) {
        return false;
    }
    graph->nb_threads = m_threads;
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    int ret = addFrameSource(graph.get(), frame, sampleAspect, &source);
    if (ret >= 0) {
        ret = avfilter_graph_create_filter(&sink, avfilter_get_by_name("buffersink"), "out",
                                           nullptr, nullptr, graph.get());
    }
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: cannot create the edit chain:" << errorText(ret);
        return false;
    }
    QSize extent;
    SurfaceLayout layout;
    const QString description = describe(frame->width, frame->height, av_q2d(sampleAspect), edits,
                                         &extent, surface, &layout);
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    outputs->name = av_strdup("in");
    outputs->filter_ctx = source;
    outputs->pad_idx = 0;
    outputs->next = nullptr;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink;
    inputs->pad_idx = 0;
    inputs->next = nullptr;
    ret = avfilter_graph_parse_ptr(graph.get(), description.toUtf8().constData(), &inputs, &outputs,
                                   nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (ret >= 0) {
        ret = avfilter_graph_config(graph.get(), nullptr);
    }
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: edit chain" << description
                             << "cannot be built:" << errorText(ret);
        return false;
    }
    m_graph = std::move(graph);
    m_source = source;
    m_sink = sink;
    m_version = edits.chainVersion;
    m_width = frame->width;
    m_height = frame->height;
    m_format = frame->format;
    m_sar = sampleAspect;
    m_surface = surface;
    m_extent = extent;
    m_layout = layout;
    return true;
}

// The chain's BGRA frame (whose memory is its own) as a picture, read in
// place: the picture keeps the frame and lets it go when it is dropped.
static QImage imageOfFrame(FramePtr frame)
{
    if (!frame || frame->width < 1 || frame->height < 1 || !frame->data[0]) {
        return {};
    }
    AVFrame* held = frame.release();
    return QImage(
        held->data[0], held->width, held->height, held->linesize[0], QImage::Format_ARGB32,
        [](void* info) {
            AVFrame* done = static_cast<AVFrame*>(info);
            av_frame_free(&done);
        },
        held);
}

QImage VideoEditChain::apply(const AVFrame* frame, AVRational sampleAspect,
                             const EditSettings& edits, const QSize& surface,
                             std::shared_ptr<const AVFrame>* surfaceFrame)
{
    if (!frame) {
        return {};
    }
    if (!m_graph || m_version != edits.chainVersion || m_width != frame->width ||
        m_height != frame->height || m_format != frame->format ||
        av_cmp_q(m_sar, sampleAspect) != 0 || m_surface != surface) {
        if (!rebuild(frame, sampleAspect, edits, surface)) {
            if (edits.subtitleFile.isEmpty()) {
                return {};
            }
            // A subtitle must never take the picture with it.
            qWarning() << "Lumenta: the picture is shown without its subtitles";
            EditSettings withoutSubtitles = edits;
            withoutSubtitles.subtitleFile.clear();
            if (!rebuild(frame, sampleAspect, withoutSubtitles, surface)) {
                return {};
            }
        }
    }
    // A frame of two fields taken at different instants is made one picture
    // of the field shown first: scaled or edited whole, the fields would show
    // every moving thing twice.
    FramePtr input(frame->interlaced_frame ? fieldPicture(frame, frame->top_field_first ? 0 : 1)
                                           : nullptr);
    if (!input) {
        input.reset(av_frame_clone(frame));
    }
    if (!input) {
        return {};
    }
    int ret = av_buffersrc_add_frame_flags(m_source, input.get(), AV_BUFFERSRC_FLAG_KEEP_REF);
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: edit chain refused a frame:" << errorText(ret);
        m_graph.reset();
        return {};
    }
    // Take every frame the chain gives; the last one is the picture.
    FramePtr output;
    for (;;) {
        FramePtr next = makeFrame();
        if (!next || av_buffersink_get_frame(m_sink, next.get()) < 0) {
            break;
        }
        output = std::move(next);
    }
    if (surfaceFrame && output && output->format == AV_PIX_FMT_YUV420P && surface.isValid() &&
        output->width == surface.width() && output->height == surface.height() &&
        m_layout.covers() && edits.watermark.isNull()) {
        *surfaceFrame = std::shared_ptr<const AVFrame>(output.release(), [](const AVFrame* done) {
            AVFrame* owned = const_cast<AVFrame*>(done);
            av_frame_free(&owned);
        });
        return {};
    }
    QImage image;
    if (output && output->format != AV_PIX_FMT_BGRA) {
        image = m_surfacePicture.bgra(output.get(), m_layout);
    } else {
        // The picture's memory must be its own: a chain that had nothing to
        // do hands the decoder's frame through, which others still read.
        if (output && av_frame_make_writable(output.get()) < 0) {
            output.reset();
        }
        image = imageOfFrame(std::move(output));
    }
    if (image.isNull()) {
        qWarning() << "Lumenta: edit chain gave no picture";
        return {};
    }
    if (!edits.watermark.isNull()) {
        // Laid out in the picture's extent (lower-left origin, turned to Qt's
        // top-left here) and drawn at the scale of the picture's pixels.
        QPainter painter(&image);
        const QSizeF extent = m_extent.isValid() ? QSizeF(m_extent) : QSizeF(image.size());
        const qreal sx = image.width() / extent.width();
        const qreal sy = image.height() / extent.height();
        if (!qFuzzyCompare(sx, 1.0) || !qFuzzyCompare(sy, 1.0)) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.scale(sx, sy);
        }
        const QRectF mark = edits.watermark.extent();
        const QPointF topLeft(mark.x(), extent.height() - mark.y() - mark.height());
        painter.drawImage(topLeft, edits.watermark.image);
    }
    return image;
}

QImage VideoEditChain::plainImage(const AVFrame* frame)
{
    if (!frame) {
        return {};
    }
    SwsPtr sws(sws_getContext(
        frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
        frame->height, AV_PIX_FMT_BGRA, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!sws) {
        return {};
    }
    QImage image(frame->width, frame->height, QImage::Format_ARGB32);
    uint8_t* data[4] = {image.bits(), nullptr, nullptr, nullptr};
    int lines[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    sws_scale(sws.get(), frame->data, frame->linesize, 0, frame->height, data, lines);
    return image;
}

QImage VideoEditChain::turnedForDisplay(const QImage& image, int displayRotation)
{
    if (image.isNull() || displayRotation % 360 == 0) {
        return image;
    }
    // QTransform turns clockwise on screen for a positive angle.
    return image.transformed(QTransform().rotate(-displayRotation));
}

}  // namespace lumenta
