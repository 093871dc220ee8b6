#include "lumenta/LMMedia.h"

#include <QDebug>

#include "FFmpeg.h"
#include "lumenta/LMFunctions.h"
#include "lumenta/LMMediaSource.h"
#include "platform/BoundedFile.h"

namespace {

// The most one look at a file's packets reads, the seeking included.
constexpr int64_t LookBudget = int64_t(64) << 20;
// How much of a Matroska file's end is read.
constexpr int64_t TailBytes = int64_t(8) << 20;

// Stops FFmpeg's reads once the look has read its budget.
struct LookGuard {
    const AVFormatContext* input = nullptr;
    bool spent() const { return input && input->pb && input->pb->bytes_read > LookBudget; }
};

int stopLooking(void* opaque)
{
    return static_cast<const LookGuard*>(opaque)->spent() ? 1 : 0;
}

// What reading packets told: how many of audio or video streams were read,
// the latest end among them (AV_NOPTS_VALUE when none carried a time), and
// whether one ended at the time looked for.
struct PacketRun {
    int packets = 0;
    LMMediaTime end = AV_NOPTS_VALUE;
    bool reached = false;
};

// Reads packets until one of an audio or video stream ends at `until`
// (container time), the input ends or the look's budget is spent.
PacketRun readPackets(AVFormatContext* input, LMMediaTime until)
{
    PacketRun run;
    lumenta::PacketPtr packet = lumenta::makePacket();
    while (!run.reached && av_read_frame(input, packet.get()) >= 0) {
        const AVStream* stream = input->streams[packet->stream_index];
        const AVMediaType type = stream->codecpar->codec_type;
        const int64_t at = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const bool media = type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO;
        run.packets += media ? 1 : 0;
        if (media && at != AV_NOPTS_VALUE) {
            const LMMediaTime end = av_rescale_q(at + qMax<int64_t>(packet->duration, 0),
                                                 stream->time_base, AVRational{1, AV_TIME_BASE});
            run.end = run.end == AV_NOPTS_VALUE ? end : qMax(run.end, end);
            run.reached = run.end >= until;
        }
        av_packet_unref(packet.get());
    }
    return run;
}

bool isMatroska(const AVFormatContext* input)
{
    return qstrncmp(input->iformat->name, "matroska", 8) == 0;
}

}  // namespace

LMMedia::LMMedia(std::shared_ptr<LMMediaSource> source, QString url)
    : m_source(std::move(source)), m_url(std::move(url))
{
}

static QList<LMStreamInfo> ofKind(const QList<LMStreamInfo>& streams, LMStreamInfo::Kind kind)
{
    QList<LMStreamInfo> result;
    for (const LMStreamInfo& s : streams) {
        if (s.kind == kind) {
            result << s;
        }
    }
    return result;
}

QList<LMStreamInfo> LMMedia::videos() const
{
    return ofKind(m_streams, LMStreamInfo::Kind::Video);
}

QList<LMStreamInfo> LMMedia::audios() const
{
    return ofKind(m_streams, LMStreamInfo::Kind::Audio);
}

QList<LMStreamInfo> LMMedia::subtitles() const
{
    return ofKind(m_streams, LMStreamInfo::Kind::Subtitle);
}

Value LMMedia::value(const QString& key) const
{
    if (key == QLatin1String("source.path")) {
        return m_source ? Value(m_source->path()) : Value();
    }
    if (key == QLatin1String("url")) {
        return m_url;
    }
    if (key == QLatin1String("duration")) {
        return static_cast<qint64>(m_duration);
    }
    if (key == QLatin1String("audios.@count")) {
        return static_cast<int>(audios().size());
    }
    if (key == QLatin1String("title_set.display_aspect_ratio")) {
        return m_displayAspect.isEmpty() ? Value() : Value(m_displayAspect);
    }
    return {};
}

LMMedia::Reach LMMedia::reachesTime(LMMediaTime time) const
{
    // A pipe or a device in the file's place is never opened.
    if (!m_url.startsWith(QLatin1String("concat:")) && !BoundedFile::isRegularFile(m_url)) {
        qWarning().noquote() << "Lumenta: the packets of" << m_url << "cannot be read";
        return Reach::EndsBefore;
    }
    LookGuard guard;
    AVFormatContext* context = avformat_alloc_context();
    if (!context) {
        return Reach::Unknown;
    }
    context->interrupt_callback = {stopLooking, &guard};
    const QByteArray name = m_url.toUtf8();
    if (avformat_open_input(&context, name.constData(), nullptr, nullptr) < 0) {
        // avformat_open_input frees the context when it fails.
        qWarning().noquote() << "Lumenta: the packets of" << m_url << "cannot be read";
        return Reach::EndsBefore;
    }
    lumenta::FormatInputPtr input(context);
    guard.input = context;
    // Streams that show up only in the packets are needed to seek by time.
    if ((context->ctx_flags & AVFMTCTX_NOHEADER) &&
        avformat_find_stream_info(context, nullptr) < 0 && guard.spent()) {
        return Reach::Unknown;
    }
    const LMMediaTime until = m_startTime + time;
    if (isMatroska(context)) {
        const int64_t size = avio_size(context->pb);
        if (size > TailBytes) {
            av_seek_frame(context, -1, size - TailBytes, AVSEEK_FLAG_BYTE);
        }
    } else {
        const LMMediaTime from = qMax<LMMediaTime>(until - lm_default_time_base(), m_startTime);
        avformat_seek_file(context, -1, INT64_MIN, from, from, 0);
    }
    const PacketRun run = readPackets(context, until);
    if (run.reached) {
        return Reach::Reaches;
    }
    // Packets without times tell nothing; no packets at all tell that the
    // file holds nothing there, except at a Matroska file's end (which may
    // hold attachments and tags only).
    if (guard.spent() || (run.end == AV_NOPTS_VALUE && (run.packets > 0 || isMatroska(context)))) {
        return Reach::Unknown;
    }
    if (run.end == AV_NOPTS_VALUE) {
        qWarning().noquote() << "Lumenta: no packets of" << m_url << "are left near"
                             << lm_ff_time_to_double(time) << "s";
    } else {
        qWarning().noquote() << "Lumenta: the packets of" << m_url << "end at"
                             << lm_ff_time_to_double(run.end - m_startTime) << "s, before"
                             << lm_ff_time_to_double(time) << "s";
    }
    return Reach::EndsBefore;
}

void LMMedia::setProbe(QList<LMStreamInfo> streams, LMMediaTime duration, LMMediaTime startTime,
                       QString formatName)
{
    m_streams = std::move(streams);
    m_duration = duration;
    m_startTime = startTime;
    m_formatName = std::move(formatName);
}
