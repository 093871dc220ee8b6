#include "FFmpeg.h"

#include "ProbeCache.h"

#include <QDebug>
#include <QStringList>
#include <cstring>
#include <mutex>

#include "platform/BoundedFile.h"

namespace lumenta {

QString errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return QString::fromUtf8(text);
}

static void quietenLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (av_log_get_level() > AV_LOG_ERROR) {
            av_log_set_level(AV_LOG_ERROR);
        }
    });
}

// Why the files `url` names cannot be opened without risk, or empty when they
// can: FFmpeg's file reader would wait for ever on a named pipe and read a
// device without end, so only regular files are handed to it (a "concat:"
// url names several, joined by '|').
static QString openProblem(const QString& url)
{
    static const QString concat = QStringLiteral("concat:");
    const QStringList files =
        url.startsWith(concat) ? url.mid(concat.size()).split(QLatin1Char('|')) : QStringList{url};
    for (const QString& file : files) {
        QString error;
        if (!BoundedFile::isRegularFile(file, &error)) {
            return files.size() == 1 ? error : file + QStringLiteral(": ") + error;
        }
    }
    return {};
}

FormatInputPtr openInput(const QString& url, Probe probe)
{
    quietenLog();
    if (const QString problem = openProblem(url); !problem.isEmpty()) {
        qWarning().noquote() << "Lumenta: cannot open" << url << ":" << problem;
        return nullptr;
    }
    AVFormatContext* context = nullptr;
    const QByteArray name = url.toUtf8();
    int ret = avformat_open_input(&context, name.constData(), nullptr, nullptr);
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: cannot open" << url << ":" << errorText(ret);
        return nullptr;
    }
    FormatInputPtr input(context);
    ProbeCache& cache = ProbeCache::shared();
    if (probe == Probe::UnlessRecorded && cache.restore(url, context)) {
        return input;
    }
    const QString declared = ProbeCache::declaration(url, context);
    ret = avformat_find_stream_info(context, nullptr);
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: cannot read streams of" << url << ":" << errorText(ret);
        return nullptr;
    }
    cache.remember(url, declared, context);
    return input;
}

CodecContextPtr openDecoder(const AVStream* stream, int threads)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        qWarning() << "Lumenta: no decoder for" << avcodec_get_name(stream->codecpar->codec_id);
        return nullptr;
    }
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) {
        return nullptr;
    }
    context->pkt_timebase = stream->time_base;
    context->thread_count = threads;
    int ret = avcodec_open2(context.get(), codec, nullptr);
    if (ret < 0 && threads != 1) {
        // Its threads could not be had: decoding on the caller's thread alone
        // is slower, not wrong.
        qWarning().noquote() << "Lumenta: decoder" << codec->name
                             << "on one thread:" << errorText(ret);
        context.reset(avcodec_alloc_context3(codec));
        if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) {
            return nullptr;
        }
        context->pkt_timebase = stream->time_base;
        context->thread_count = 1;
        ret = avcodec_open2(context.get(), codec, nullptr);
    }
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: cannot open decoder" << codec->name << ":"
                             << errorText(ret);
        return nullptr;
    }
    return context;
}

void feedDecoder(AVFormatContext* input, AVPacket* packet, AVCodecContext* decoder,
                 const AVStream* stream, bool& demuxEnd, const char* kind)
{
    if (demuxEnd) {
        avcodec_send_packet(decoder, nullptr);
        return;
    }
    int ret = av_read_frame(input, packet);
    if (ret < 0) {
        demuxEnd = true;
        avcodec_send_packet(decoder, nullptr);
        return;
    }
    if (packet->stream_index == stream->index) {
        ret = avcodec_send_packet(decoder, packet);
        if (ret < 0 && ret != AVERROR(EAGAIN)) {
            qWarning().noquote() << "Lumenta: bad" << kind << "packet skipped:" << errorText(ret);
        }
    }
    av_packet_unref(packet);
}

int addFrameSource(AVFilterGraph* graph, const AVFrame* frame, AVRational sampleAspect,
                   AVFilterContext** source)
{
    const QString args =
        QStringLiteral("video_size=%1x%2:pix_fmt=%3:time_base=1/%4:pixel_aspect=%5/%6")
            .arg(frame->width)
            .arg(frame->height)
            .arg(frame->format)
            .arg(AV_TIME_BASE)
            .arg(sampleAspect.num)
            .arg(sampleAspect.den);
    return avfilter_graph_create_filter(source, avfilter_get_by_name("buffer"), "in",
                                        args.toUtf8().constData(), nullptr, graph);
}

FramePtr fieldPicture(const AVFrame* frame, int parity)
{
    const auto format = static_cast<AVPixelFormat>(frame->format);
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    const uint64_t unsupported =
        AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL;
    if (!desc || (desc->flags & unsupported) || !(desc->flags & AV_PIX_FMT_FLAG_PLANAR) ||
        desc->comp[0].depth > 8 || frame->height < 4) {
        return nullptr;
    }
    FramePtr picture = makeFrame();
    if (!picture) {
        return nullptr;
    }
    picture->format = frame->format;
    picture->width = frame->width;
    picture->height = frame->height;
    if (av_frame_get_buffer(picture.get(), 0) < 0 ||
        av_frame_copy_props(picture.get(), frame) < 0) {
        return nullptr;
    }
    const int kept = parity & 1;
    for (int p = 0; p < av_pix_fmt_count_planes(format); ++p) {
        const int bytes = av_image_get_linesize(format, frame->width, p);
        const int shift = (p == 1 || p == 2) ? desc->log2_chroma_h : 0;
        const int rows = AV_CEIL_RSHIFT(frame->height, shift);
        const ptrdiff_t stride = frame->linesize[p];
        for (int y = 0; y < rows; ++y) {
            uint8_t* line = picture->data[p] + static_cast<ptrdiff_t>(y) * picture->linesize[p];
            if ((y & 1) == kept) {
                std::memcpy(line, frame->data[p] + y * stride, static_cast<size_t>(bytes));
                continue;
            }
            const uint8_t* above = frame->data[p] + (y > 0 ? y - 1 : y + 1) * stride;
            const uint8_t* below = frame->data[p] + (y + 1 < rows ? y + 1 : y - 1) * stride;
            for (int x = 0; x < bytes; ++x) {
                line[x] = static_cast<uint8_t>((above[x] + below[x] + 1) >> 1);
            }
        }
    }
    picture->interlaced_frame = 0;
    return picture;
}

}  // namespace lumenta
