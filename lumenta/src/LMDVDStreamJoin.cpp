#include "lumenta/LMDVDStreamJoin.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <algorithm>
#include <ctime>

#include "FFmpeg.h"

using namespace lumenta;

namespace {

// The program stream and buffer model of the file writer's ".dvd" streams.
constexpr int kDvdMuxRate = 10080000;
constexpr int kDvdMaxVideoRate = 9000000;
constexpr int kDvdBufferSize = 1835008;

struct OutputDeleter {
    void operator()(AVFormatContext* context) const
    {
        if (context->pb) {
            avio_closep(&context->pb);
        }
        avformat_free_context(context);
    }
};
using OutputPtr = std::unique_ptr<AVFormatContext, OutputDeleter>;

// What has been read of a file, given back to the disk in steps of a few
// MiB behind the reading (a hole punched); nothing where the file system
// cannot punch holes.
class ReadRoom {
public:
    ReadRoom() = default;
    ~ReadRoom()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    ReadRoom(const ReadRoom&) = delete;
    ReadRoom& operator=(const ReadRoom&) = delete;

    void setPath(const QString& path) { m_path = QFile::encodeName(path); }

    // The file has been read up to `position`.
    void readUpTo(int64_t position)
    {
        // The reader's buffer and its look-back stay whole.
        constexpr int64_t margin = int64_t(1) << 20;
        constexpr int64_t step = int64_t(2) << 20;
        const int64_t end = (position - margin) / step * step;
        if (m_path.isEmpty() || m_unable || end <= m_freed) {
            return;
        }
        if (m_fd < 0) {
            m_fd = ::open(m_path.constData(), O_WRONLY | O_CLOEXEC);
        }
        m_unable =
            m_fd < 0 || ::fallocate(m_fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, 0, end) != 0;
        m_freed = m_unable ? m_freed : end;
    }

private:
    QByteArray m_path;
    int m_fd = -1;
    int64_t m_freed = 0;
    bool m_unable = false;
};

// The packets of one stream of a piece, in file order.
struct PieceReader {
    FormatInputPtr input;
    const AVStream* stream = nullptr;
    std::unique_ptr<ReadRoom> room;  // when the piece gives its room back

    bool open(const QString& path, AVMediaType type, bool release = false)
    {
        input = openInput(path);
        const int index =
            input ? av_find_best_stream(input.get(), type, -1, -1, nullptr, 0) : AVERROR_EOF;
        stream = index >= 0 ? input->streams[index] : nullptr;
        if (release) {
            room = std::make_unique<ReadRoom>();
            room->setPath(path);
        }
        return stream != nullptr;
    }

    bool next(AVPacket* packet)
    {
        while (av_read_frame(input.get(), packet) >= 0) {
            if (room && input->pb) {
                room->readUpTo(avio_tell(input->pb));
            }
            if (packet->stream_index == stream->index) {
                return true;
            }
            av_packet_unref(packet);
        }
        return false;
    }
};

bool isNamedPipe(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// While it lives, a reader gone from the pipe this thread writes into makes
// the write fail rather than raise SIGPIPE on the process: the signal is held
// back on this thread, and taken away before it is let through again.
class PipeSignalHeld {
public:
    PipeSignalHeld()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_before);
    }
    ~PipeSignalHeld()
    {
        const timespec none{0, 0};
        while (sigtimedwait(&m_pipe, nullptr, &none) > 0) {
        }
        pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_before;
};

// The delay the audio encoder puts before its first sample: the writer's
// first audio unit starts that much before the video.
int64_t encoderPadding(const AVCodecParameters* parameters)
{
    const AVCodec* codec = avcodec_find_encoder(parameters->codec_id);
    CodecContextPtr encoder(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!encoder || parameters->sample_rate <= 0) {
        return 0;
    }
    encoder->sample_rate = parameters->sample_rate;
    encoder->time_base = AVRational{1, parameters->sample_rate};
    encoder->bit_rate = parameters->bit_rate > 0 ? parameters->bit_rate : 448000;
    encoder->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    if (av_channel_layout_copy(&encoder->ch_layout, &parameters->ch_layout) < 0 ||
        avcodec_open2(encoder.get(), codec, nullptr) < 0) {
        return 0;
    }
    return encoder->initial_padding;
}

AVStream* copyStream(AVFormatContext* output, const AVStream* source)
{
    AVStream* stream = avformat_new_stream(output, nullptr);
    if (!stream || avcodec_parameters_copy(stream->codecpar, source->codecpar) < 0) {
        return nullptr;
    }
    stream->codecpar->codec_tag = 0;
    stream->time_base = source->time_base;
    stream->sample_aspect_ratio = source->sample_aspect_ratio;
    stream->avg_frame_rate = source->avg_frame_rate;
    return stream;
}

// The buffer model the writer's encoder reports, which gives the muxer the
// DVD's video buffer size.
bool addBufferModel(AVStream* stream)
{
    size_t size = 0;
    AVCPBProperties* properties = av_cpb_properties_alloc(&size);
    if (!properties) {
        return false;
    }
    properties->buffer_size = kDvdBufferSize;
    properties->max_bitrate = kDvdMaxVideoRate;
    properties->avg_bitrate = stream->codecpar->bit_rate;
    if (av_stream_add_side_data(stream, AV_PKT_DATA_CPB_PROPERTIES,
                                reinterpret_cast<uint8_t*>(properties), size) < 0) {
        av_free(properties);
        return false;
    }
    return true;
}

// The video pieces read as one stream: each piece's time stamps moved so
// that its first frame follows the last frame of the piece before it.
class JoinedVideo {
public:
    // `release`: each piece gives its room back as it is read, and goes once
    // read to its end.
    JoinedVideo(const QStringList& pieces, bool release) : m_pieces(pieces), m_release(release) {}

    bool openFirst() { return openPiece(0); }
    const AVStream* firstStream() const { return m_reader.stream; }
    AVRational timeBase() const { return m_timeBase; }
    QString failedPiece() const { return m_failed; }
    int64_t frames() const { return m_frames; }

    // The next packet on the joined timeline; false at the end or when a
    // piece fails (failedPiece() then names it).
    bool next(AVPacket* packet)
    {
        for (;;) {
            if (m_reader.stream && m_reader.next(packet)) {
                place(packet);
                return true;
            }
            m_offset += m_pieceEnd;
            if (m_release && m_reader.stream) {
                m_reader = PieceReader();
                QFile::remove(m_pieces[m_index]);
            }
            if (m_index + 1 >= m_pieces.size() || !openPiece(m_index + 1)) {
                return false;
            }
        }
    }

private:
    bool openPiece(qsizetype index)
    {
        m_index = index;
        m_pieceZero = AV_NOPTS_VALUE;
        m_pieceEnd = 0;
        m_reader = PieceReader();
        const bool opened = m_reader.open(m_pieces[index], AVMEDIA_TYPE_VIDEO, m_release);
        const bool same =
            opened && (index == 0 || av_cmp_q(m_reader.stream->time_base, m_timeBase) == 0);
        if (!same) {
            m_failed = m_pieces[index];
            m_reader = PieceReader();
            return false;
        }
        m_timeBase = m_reader.stream->time_base;
        const AVRational rate = m_reader.stream->avg_frame_rate.num > 0
                                    ? m_reader.stream->avg_frame_rate
                                    : m_reader.stream->r_frame_rate;
        m_frameDuration = rate.num > 0 ? av_rescale_q(1, av_inv_q(rate), m_timeBase) : 1;
        return true;
    }

    void place(AVPacket* packet)
    {
        // A piece starts with a closed group whose first unit is the first
        // frame shown: its time is the piece's zero.
        const bool first = m_pieceZero == AV_NOPTS_VALUE;
        if (first) {
            m_pieceZero = packet->pts != AV_NOPTS_VALUE ? packet->pts : 0;
        }
        // The piece file may leave out the decoding time of its first unit,
        // which comes the reordering delay before its presentation.
        if (packet->dts == AV_NOPTS_VALUE) {
            packet->dts =
                first ? m_pieceZero - m_reader.stream->codecpar->video_delay * m_frameDuration
                      : m_lastDts + m_frameDuration;
        }
        m_lastDts = packet->dts;
        if (packet->duration <= 0) {
            packet->duration = m_frameDuration;
        }
        const int64_t shift = m_offset - m_pieceZero;
        for (int64_t* ts : {&packet->pts, &packet->dts}) {
            if (*ts != AV_NOPTS_VALUE) {
                *ts += shift;
            }
        }
        if (packet->pts != AV_NOPTS_VALUE) {
            m_pieceEnd = std::max(m_pieceEnd, packet->pts - shift - m_pieceZero + packet->duration);
        }
        ++m_frames;
    }

    QStringList m_pieces;
    bool m_release = false;
    qsizetype m_index = 0;
    PieceReader m_reader;
    AVRational m_timeBase{1, AV_TIME_BASE};
    int64_t m_frameDuration = 1;
    int64_t m_pieceZero = AV_NOPTS_VALUE;
    int64_t m_pieceEnd = 0;
    int64_t m_lastDts = 0;  // in the piece's own times
    int64_t m_offset = 0;
    int64_t m_frames = 0;
    QString m_failed;
};

bool writePacket(AVFormatContext& output, AVPacket* packet, AVRational timeBase, AVStream* stream,
                 QString* error)
{
    packet->stream_index = stream->index;
    av_packet_rescale_ts(packet, timeBase, stream->time_base);
    const int ret = av_interleaved_write_frame(&output, packet);
    if (ret < 0) {
        *error = QStringLiteral("a packet cannot be written: %1").arg(errorText(ret));
        return false;
    }
    return true;
}

// Writes the joined video and the audio in the order of their decoding
// times. An audio unit goes once the video reaches its end; the units that
// would end past the video's end are left out. Stops (false) once
// `cancelled` is set.
bool interleave(JoinedVideo& video, PieceReader& audio, AVFormatContext& output,
                AVStream* videoStream, AVStream* audioStream, const std::atomic<bool>& cancelled,
                QString* error)
{
    const AVRational audioBase = audio.stream->time_base;
    const AVRational samples{1, std::max(audio.stream->codecpar->sample_rate, 1)};
    // The writer's first audio unit starts the encoder's delay before the
    // video; the piece file may have moved it to zero.
    const int64_t padding =
        av_rescale_q(encoderPadding(audio.stream->codecpar), samples, audioBase);
    int64_t audioShift = AV_NOPTS_VALUE;
    PacketPtr videoPacket = makePacket();
    PacketPtr audioPacket = makePacket();
    const auto nextAudio = [&] {
        if (!audio.next(audioPacket.get())) {
            return false;
        }
        if (audioPacket->duration <= 0) {
            audioPacket->duration =
                av_rescale_q(std::max(audio.stream->codecpar->frame_size, 1), samples, audioBase);
        }
        if (audioShift == AV_NOPTS_VALUE) {
            audioShift = -padding - (audioPacket->pts != AV_NOPTS_VALUE ? audioPacket->pts : 0);
        }
        for (int64_t* ts : {&audioPacket->pts, &audioPacket->dts}) {
            if (*ts != AV_NOPTS_VALUE) {
                *ts += audioShift;
            }
        }
        return true;
    };
    bool haveVideo = video.next(videoPacket.get());
    bool haveAudio = nextAudio();
    int64_t videoEnd = INT64_MIN;
    for (;;) {
        if (cancelled) {
            *error = QStringLiteral("the join was cancelled");
            return false;
        }
        const bool audioFits = haveAudio && videoEnd != INT64_MIN &&
                               av_compare_ts(audioPacket->pts + audioPacket->duration, audioBase,
                                             videoEnd, video.timeBase()) <= 0;
        if (audioFits && (!haveVideo || av_compare_ts(audioPacket->dts, audioBase, videoPacket->dts,
                                                      video.timeBase()) <= 0)) {
            if (!writePacket(output, audioPacket.get(), audioBase, audioStream, error)) {
                return false;
            }
            haveAudio = nextAudio();
        } else if (haveVideo) {
            videoEnd = std::max(videoEnd, videoPacket->pts + videoPacket->duration);
            if (!writePacket(output, videoPacket.get(), video.timeBase(), videoStream, error)) {
                return false;
            }
            haveVideo = video.next(videoPacket.get());
        } else {
            return true;
        }
    }
}

}  // namespace

bool LMDVDStreamJoin::fail(const QString& text)
{
    m_error = text;
    return false;
}

bool LMDVDStreamJoin::join(const QStringList& videoPieces, const QString& audioPiece,
                           const QString& path)
{
    m_error.clear();
    m_videoFrames = 0;
    const PipeSignalHeld held;
    const bool pipe = isNamedPipe(path);
    if (write(videoPieces, audioPiece, path)) {
        return true;
    }
    if (!pipe) {
        QFile::remove(path);
    }
    return false;
}

bool LMDVDStreamJoin::write(const QStringList& videoPieces, const QString& audioPiece,
                            const QString& path)
{
    if (videoPieces.isEmpty()) {
        return fail(QStringLiteral("there is no video to join"));
    }
    if (m_cancelled) {
        return fail(QStringLiteral("the join was cancelled"));
    }
    JoinedVideo video(videoPieces, m_releasesInput);
    if (!video.openFirst()) {
        return fail(QStringLiteral("the video piece %1 cannot be read").arg(video.failedPiece()));
    }
    PieceReader audio;
    if (!audio.open(audioPiece, AVMEDIA_TYPE_AUDIO, m_releasesInput)) {
        return fail(QStringLiteral("the audio %1 cannot be read").arg(audioPiece));
    }

    AVFormatContext* context = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_alloc_output_context2(&context, av_guess_format("dvd", nullptr, nullptr), nullptr,
                                       name.constData()) < 0) {
        return fail(QStringLiteral("no DVD stream can be made"));
    }
    OutputPtr output(context);
    AVStream* videoStream = copyStream(context, video.firstStream());
    AVStream* audioStream = copyStream(context, audio.stream);
    if (!videoStream || !audioStream || !addBufferModel(videoStream)) {
        return fail(QStringLiteral("the streams cannot be set up"));
    }
    int ret = avio_open(&context->pb, name.constData(), AVIO_FLAG_WRITE);
    if (ret < 0) {
        return fail(QStringLiteral("%1 cannot be created: %2").arg(path, lumenta::errorText(ret)));
    }
    AVDictionary* options = nullptr;
    av_dict_set_int(&options, "muxrate", kDvdMuxRate, 0);
    av_dict_set_int(&options, "packetsize", 2048, 0);
    ret = avformat_write_header(context, &options);
    av_dict_free(&options);
    if (ret < 0) {
        return fail(QStringLiteral("%1 cannot be started: %2").arg(path, lumenta::errorText(ret)));
    }

    const bool written =
        interleave(video, audio, *context, videoStream, audioStream, m_cancelled, &m_error);
    // The trailer is written even after a failure, so that the file closes.
    ret = av_write_trailer(context);
    if (ret >= 0 && context->pb) {
        avio_flush(context->pb);
        ret = context->pb->error;
    }
    output.reset();
    if (!video.failedPiece().isEmpty()) {
        return fail(QStringLiteral("the video piece %1 cannot be read").arg(video.failedPiece()));
    }
    if (!written) {
        return m_error.isEmpty() ? fail(QStringLiteral("%1 could not be written").arg(path))
                                 : false;
    }
    if (ret < 0) {
        return fail(
            QStringLiteral("%1 could not be written: %2").arg(path, lumenta::errorText(ret)));
    }
    m_videoFrames = video.frames();
    return true;
}
