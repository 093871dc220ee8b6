#include "VideoEditChain.h"

#include <QDebug>
#include <QPainter>
#include <algorithm>
#include <cmath>

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

// Zoom into the output size; answers that size.
QSize addZoom(QStringList& chain, const Shape& shape, const EditSettings& edits)
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
    const double box = static_cast<double>(ow) / oh;
    if (edits.zoomType == 1) {
        chain << QStringLiteral("scale=%1:%2,format=bgra").arg(ow).arg(oh);
    } else if (edits.zoomType == 5) {
        int sw = ow;
        int sh = oh;
        if (aspect > box) {
            sw = qMax(ow, static_cast<int>(std::lround(oh * aspect)));
        } else {
            sh = qMax(oh, static_cast<int>(std::lround(ow / aspect)));
        }
        chain << QStringLiteral("scale=%1:%2,format=bgra,crop=%3:%4").arg(sw).arg(sh).arg(ow).arg(oh);
    } else {
        int sw = ow;
        int sh = oh;
        if (aspect > box) {
            sh = qBound(1, static_cast<int>(std::lround(ow / aspect)), oh);
        } else {
            sw = qBound(1, static_cast<int>(std::lround(oh * aspect)), ow);
        }
        chain << QStringLiteral("scale=%1:%2,format=bgra").arg(sw).arg(sh);
        if (sw != ow || sh != oh) {
            chain << QStringLiteral("pad=%1:%2:%3:%4:black")
                         .arg(ow)
                         .arg(oh)
                         .arg((ow - sw) / 2)
                         .arg((oh - sh) / 2);
        }
    }
    chain << QStringLiteral("setsar=1");
    return {ow, oh};
}

// Subtitles drawn on the output picture.
void addSubtitles(QStringList& chain, const QSize& output, const EditSettings& edits)
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
    chain << filter << QStringLiteral("format=bgra");
}

}  // namespace

QString VideoEditChain::describe(int width, int height, double sampleAspect,
                                 const EditSettings& edits, QSize* outputSize)
{
    QStringList chain;
    Shape shape{static_cast<double>(width), static_cast<double>(height),
                sampleAspect > 0 ? sampleAspect : 1.0};
    addDisplayTurn(chain, shape, edits);
    addCrop(chain, shape, edits);
    addRotation(chain, shape, edits);
    addColour(chain, edits);
    // Each zoom scales straight into BGRA, so the picture is converted at its
    // output size rather than at the source's.
    const QSize output = addZoom(chain, shape, edits);
    addSubtitles(chain, output, edits);
    if (outputSize) {
        *outputSize = output;
    }
    return chain.join(',');
}

bool VideoEditChain::rebuild(const AVFrame* frame, AVRational sampleAspect,
                             const EditSettings& edits)
{
    m_graph.reset();
    m_source = nullptr;
    m_sink = nullptr;
    FilterGraphPtr graph(avfilter_graph_alloc());
    if (!graph) {
        return false;
    }
    graph->nb_threads = m_threads;
    const QString args =
        QStringLiteral("video_size=%1x%2:pix_fmt=%3:time_base=1/%4:pixel_aspect=%5/%6")
            .arg(frame->width)
            .arg(frame->height)
            .arg(frame->format)
            .arg(AV_TIME_BASE)
            .arg(sampleAspect.num)
            .arg(sampleAspect.den);
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    int ret = avfilter_graph_create_filter(&source, avfilter_get_by_name("buffer"), "in",
                                           args.toUtf8().constData(), nullptr, graph.get());
    if (ret >= 0) {
        ret = avfilter_graph_create_filter(&sink, avfilter_get_by_name("buffersink"), "out",
                                           nullptr, nullptr, graph.get());
    }
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: cannot create the edit chain:" << errorText(ret);
        return false;
    }
    const QString description =
        describe(frame->width, frame->height, av_q2d(sampleAspect), edits, nullptr);
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
    return true;
}

static QImage imageFromBgra(const AVFrame* frame)
{
    QImage image(frame->width, frame->height, QImage::Format_ARGB32);
    const int rowBytes = frame->width * 4;
    for (int y = 0; y < frame->height; ++y) {
        memcpy(image.scanLine(y), frame->data[0] + static_cast<ptrdiff_t>(y) * frame->linesize[0],
               static_cast<size_t>(rowBytes));
    }
    return image;
}

QImage VideoEditChain::apply(const AVFrame* frame, AVRational sampleAspect,
                             const EditSettings& edits)
{
    if (!frame) {
        return {};
    }
    if (!m_graph || m_version != edits.chainVersion || m_width != frame->width ||
        m_height != frame->height || m_format != frame->format ||
        av_cmp_q(m_sar, sampleAspect) != 0) {
        if (!rebuild(frame, sampleAspect, edits)) {
            if (edits.subtitleFile.isEmpty()) {
                return {};
            }
            // A subtitle must never take the picture with it.
            qWarning() << "Lumenta: the picture is shown without its subtitles";
            EditSettings withoutSubtitles = edits;
            withoutSubtitles.subtitleFile.clear();
            if (!rebuild(frame, sampleAspect, withoutSubtitles)) {
                return {};
            }
        }
    }
    FramePtr input(av_frame_clone(frame));
    if (!input) {
        return {};
    }
    int ret = av_buffersrc_add_frame_flags(m_source, input.get(), AV_BUFFERSRC_FLAG_KEEP_REF);
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: edit chain refused a frame:" << errorText(ret);
        m_graph.reset();
        return {};
    }
    FramePtr output = makeFrame();
    QImage image;
    // Take every frame the chain gives; the last one is the picture.
    while (av_buffersink_get_frame(m_sink, output.get()) >= 0) {
        image = imageFromBgra(output.get());
        av_frame_unref(output.get());
    }
    if (image.isNull()) {
        qWarning() << "Lumenta: edit chain gave no picture";
        return {};
    }
    if (!edits.watermark.isNull()) {
        QPainter painter(&image);
        const QRectF extent = edits.watermark.extent();
        // Lower-left origin to Qt's top-left.
        const QPointF topLeft(extent.x(), image.height() - extent.y() - extent.height());
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
