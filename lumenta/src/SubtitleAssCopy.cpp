#include "SubtitleAssCopy.h"

#include <QDebug>
#include <QSaveFile>

#include "FFmpeg.h"

using namespace lumenta;

namespace {

// "H:MM:SS.cc" of a time in milliseconds.
QByteArray assTime(int64_t milliseconds)
{
    const int64_t cs = std::max<int64_t>(milliseconds, 0) / 10;
    return QString::asprintf("%d:%02d:%02d.%02d", int(cs / 360000), int(cs / 6000 % 60),
                             int(cs / 100 % 60), int(cs % 100))
        .toLatin1();
}

// The "Dialogue:" line of a decoded event ("ReadOrder,Layer,Style,...,Text")
// shown from `start` to `end` (milliseconds).
QByteArray dialogue(const char* event, int64_t start, int64_t end)
{
    const QByteArray line(event);
    const qsizetype afterOrder = line.indexOf(',');
    const qsizetype afterLayer = afterOrder < 0 ? -1 : line.indexOf(',', afterOrder + 1);
    if (afterLayer < 0) {
        return {};
    }
    return "Dialogue: " + line.mid(afterOrder + 1, afterLayer - afterOrder - 1) + ',' +
           assTime(start) + ',' + assTime(end) + line.mid(afterLayer) + '\n';
}

// The events of every cue of `stream` that decodes.
QByteArray decodedEvents(AVFormatContext* input, const AVStream* stream, AVCodecContext* decoder)
{
    QByteArray events;
    PacketPtr packet = makePacket();
    while (av_read_frame(input, packet.get()) >= 0) {
        AVSubtitle cue{};
        int got = 0;
        if (packet->stream_index == stream->index && packet->pts != AV_NOPTS_VALUE &&
            avcodec_decode_subtitle2(decoder, &cue, &got, packet.get()) >= 0 && got) {
            const int64_t at = av_rescale_q(packet->pts, stream->time_base, AVRational{1, 1000});
            const int64_t length =
                packet->duration > 0
                    ? av_rescale_q(packet->duration, stream->time_base, AVRational{1, 1000})
                    : int64_t(cue.end_display_time);
            for (unsigned i = 0; i < cue.num_rects; ++i) {
                if (cue.rects[i]->ass) {
                    events += dialogue(cue.rects[i]->ass, at + cue.start_display_time, at + length);
                }
            }
        }
        if (got) {
            avsubtitle_free(&cue);
        }
        av_packet_unref(packet.get());
    }
    return events;
}

}  // namespace

QString SubtitleAssCopy::forRenderer(const QString& copy)
{
    const FormatInputPtr input = openInput(copy);
    if (!input || qstrcmp(input->iformat->name, "srt") == 0 ||
        qstrcmp(input->iformat->name, "ass") == 0) {
        return copy;
    }
    const AVStream* stream = nullptr;
    for (unsigned i = 0; i < input->nb_streams && !stream; ++i) {
        if (input->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) {
            stream = input->streams[i];
        }
    }
    const AVCodec* codec = stream ? avcodec_find_decoder(stream->codecpar->codec_id) : nullptr;
    CodecContextPtr decoder(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0) {
        return copy;
    }
    decoder->pkt_timebase = stream->time_base;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0 || !decoder->subtitle_header) {
        return copy;
    }
    const QByteArray events = decodedEvents(input.get(), stream, decoder.get());
    const QString script = copy + QStringLiteral(".ass");
    QSaveFile out(script);
    const QByteArray header(reinterpret_cast<const char*>(decoder->subtitle_header),
                            decoder->subtitle_header_size);
    if (events.isEmpty() || !out.open(QIODevice::WriteOnly) ||
        out.write(header + events) != header.size() + events.size() || !out.commit()) {
        return copy;
    }
    return script;
}
