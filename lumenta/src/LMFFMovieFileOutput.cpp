#include "lumenta/LMFFMovieFileOutput.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "FFmpeg.h"
#include "FieldRateConverter.h"
#include "LMFFItemData.h"
#include "lumenta/LMFunctions.h"

using namespace lumenta;

namespace {

constexpr int kDvdMuxRate = 10080000;
constexpr int kDvdMaxVideoRate = 9000000;
constexpr int kDvdBufferSize = 1835008;
constexpr int kDvdAudioRate = 48000;
constexpr int kDvdAudioBitrate = 448000;
constexpr size_t kQueueLimit = 8;       // frames waiting for the encoder
constexpr size_t kConversionLimit = 4;  // frames waiting for their conversion

// Only the DVD-Video frames will do: PAL 720x576 at 25, NTSC 720x480 at
// 30000/1001 (chosen by the frame rate asked for).
void useDvdFrames(LMFFMovieFileOutputFormat& f)
{
    const bool ntsc = static_cast<double>(f.framerate) / f.frameTime > 26.0;
    const int height = ntsc ? 480 : 576;
    const bool legal =
        f.width == 720 && f.height == height &&
        (ntsc ? f.framerate == 30000 && f.frameTime == 1001 : f.framerate == 25 * f.frameTime);
    if (!legal) {
        qWarning() << "Lumenta: a DVD stream is 720 x" << height
                   << (ntsc ? "at 30000/1001" : "at 25") << "frames per second, not" << f.width
                   << "x" << f.height << "at" << f.framerate << "/" << f.frameTime;
    }
    f.width = 720;
    f.height = height;
    f.framerate = ntsc ? 30000 : 25;
    f.frameTime = ntsc ? 1001 : 1;
}

// A scaler kept for one input shape and rebuilt only when it changes, with
// the given libswscale flags. It runs on the writer's conversion thread, a
// stage of its own between the decoder and the encoder. Bringing a 1080p
// frame to the disc's size costs about as much as decoding it with all the
// decoder's threads, so a whole frame is scaled in slices on the export's
// share of the cores; on one thread this stage alone set the pace of the
// road. (Fields go through the one-slice call, on one thread.)
class FrameScaler {
public:
    explicit FrameScaler(int flags) : m_flags(flags) {}

    // Scales `source` into `target` (both allocated); false on failure.
    bool scale(const AVFrame* source, AVFrame* target)
    {
        if (!fit(source->width, source->height, source->format, target->width, target->height,
                 target->format)) {
            return false;
        }
        return sws_scale_frame(m_sws.get(), target, source) >= 0;
    }

    // Scales the two fields of an interlaced `source` each on its own into
    // the rows of the same field of `target`, so that no line of one field
    // is mixed into the other; false on failure or an odd height.
    bool scaleFields(const AVFrame* source, AVFrame* target)
    {
        if (source->height % 4 != 0 || target->height % 4 != 0 ||
            !fit(source->width, source->height / 2, source->format, target->width,
                 target->height / 2, target->format)) {
            return false;
        }
        for (int parity = 0; parity < 2; ++parity) {
            const uint8_t* sourcePlanes[AV_NUM_DATA_POINTERS] = {};
            int sourceStrides[AV_NUM_DATA_POINTERS] = {};
            uint8_t* targetPlanes[AV_NUM_DATA_POINTERS] = {};
            int targetStrides[AV_NUM_DATA_POINTERS] = {};
            for (int p = 0; p < AV_NUM_DATA_POINTERS; ++p) {
                if (source->data[p]) {
                    sourcePlanes[p] = source->data[p] + parity * source->linesize[p];
                    sourceStrides[p] = 2 * source->linesize[p];
                }
                if (target->data[p]) {
                    targetPlanes[p] = target->data[p] + parity * target->linesize[p];
                    targetStrides[p] = 2 * target->linesize[p];
                }
            }
            if (sws_scale(m_sws.get(), sourcePlanes, sourceStrides, 0, source->height / 2,
                          targetPlanes, targetStrides) <= 0) {
                return false;
            }
        }
        return true;
    }

private:
    // The scaler for this shape, rebuilt when it changes.
    bool fit(int width, int height, int format, int targetWidth, int targetHeight, int targetFormat)
    {
        if (m_sws && m_width == width && m_height == height && m_format == format &&
            m_targetWidth == targetWidth && m_targetHeight == targetHeight &&
            m_targetFormat == targetFormat) {
            return true;
        }
        m_sws.reset(sws_alloc_context());
        if (!m_sws) {
            return false;
        }
        SwsContext* sws = m_sws.get();
        av_opt_set_int(sws, "srcw", width, 0);
        av_opt_set_int(sws, "srch", height, 0);
        av_opt_set_int(sws, "src_format", format, 0);
        av_opt_set_int(sws, "dstw", targetWidth, 0);
        av_opt_set_int(sws, "dsth", targetHeight, 0);
        av_opt_set_int(sws, "dst_format", targetFormat, 0);
        av_opt_set_int(sws, "sws_flags", m_flags, 0);
        av_opt_set_int(sws, "threads", lm_get_export_threads(), 0);
        if (sws_init_context(sws, nullptr, nullptr) < 0) {
            m_sws.reset();
            return false;
        }
        m_width = width;
        m_height = height;
        m_format = format;
        m_targetWidth = targetWidth;
        m_targetHeight = targetHeight;
        m_targetFormat = targetFormat;
        return true;
    }

    int m_flags;
    SwsPtr m_sws;
    int m_width = 0;
    int m_height = 0;
    int m_format = -1;
    int m_targetWidth = 0;
    int m_targetHeight = 0;
    int m_targetFormat = -1;
};

// True when every pixel of a 32-bit picture with an alpha channel is opaque.
bool isOpaque(const QImage& image)
{
    if (!image.hasAlphaChannel()) {
        return true;
    }
    if (image.format() != QImage::Format_ARGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied) {
        return false;
    }
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (!std::all_of(line, line + width, [](QRgb pixel) { return qAlpha(pixel) == 255; })) {
            return false;
        }
    }
    return true;
}

struct BufferPoolDeleter {
    void operator()(AVBufferPool* pool) const { av_buffer_pool_uninit(&pool); }
};

}  // namespace

struct LMFFMovieFileOutput::Impl {
    QString path;
    LMFFMovieFileOutputFormat format;
    AVFormatContext* output = nullptr;
    bool dvd = false;           // the DVD's encoding rules
    bool dvdContainer = false;  // and its program stream (not a ".dvdpart")
    bool started = false;
    std::atomic<bool> finished{false};
    std::atomic<bool> failed{false};
    mutable std::mutex failureMutex;
    QString failure;  // what failed first
    std::mutex mux;

    // Video
    CodecContextPtr videoEncoder;  // freed (with its threads) once the file is closed
    bool videoEncoded = false;
    AVStream* videoStream = nullptr;
    bool videoCopy = false;
    AVRational videoCopyTimeBase{1, AV_TIME_BASE};
    std::atomic<LMMediaTime> videoCopyEnd{0};
    // A drawing context has the frame's size: only its colour is brought to
    // 4:2:0, each chroma sample the mean of the two by two it stands for (so
    // a picture whose chroma was spread over two by two comes back exactly).
    FrameScaler contextScaler{SWS_AREA};
    FrameScaler itemScaler{SWS_BICUBIC};
    FrameScaler fieldScaler{SWS_BICUBIC};
    // The stream codes fields: decoded interlaced frames keep theirs.
    bool fields = false;
    // Memory of the frames handed to the encoder, reused once it lets go,
    // and of the copies of drawing contexts.
    std::unique_ptr<AVBufferPool, BufferPoolDeleter> framePool;
    std::unique_ptr<AVBufferPool, BufferPoolDeleter> contextPool;
    // Frames taken on the output's timeline (their conversion may still be
    // under way).
    std::atomic<int64_t> framesSubmitted{0};
    // Frames (by their place on the output's timeline) asked to open a group
    // of their own, and every frame that is made a key frame for them: set
    // when the encoder opens, read by the conversion thread.
    QList<int64_t> chapterFrames;
    QSet<int64_t> keyFrames;

    // Frames on their way to the encoder: taken by the write calls in output
    // order and brought to the encoder's shape on a thread of their own, so
    // that a caller only hands them over. A job without a source repeats the
    // last decoded frame.
    struct Conversion {
        FramePtr source;
        bool context = false;
        int64_t pts = 0;
    };
    std::mutex conversionMutex;
    std::condition_variable conversionChanged;
    std::deque<Conversion> conversions;
    bool conversionsClosed = false;
    std::thread conversionThread;
    bool itemTaken = false;      // a decoded frame was taken (the callers' side)
    LMMediaTime takenStart = 0;  // the piece (movie_real_start_time) it came from
    // The last decoded frame dropped behind the timeline, with its place on
    // it (in frames) and its piece: the callers' side.
    FramePtr droppedFrame;
    double droppedPlace = 0.0;
    LMMediaTime droppedStart = 0;
    FramePtr lastItemFrame;     // the last one converted (the conversion thread's)
    bool lastItemHeld = false;  // and made the picture of its last field
    // Interlaced frames of another frame rate than the output's, brought to
    // its field rate, and the piece (movie_real_start_time) they come from:
    // the callers' side.
    std::unique_ptr<FieldRateConverter> fieldRate;
    LMMediaTime fieldRateStart = 0;
    bool fieldRateRefused = false;
    // The place its frames taken so far reach (0 while none is running),
    // for video_output_time() on any thread.
    std::atomic<int64_t> fieldRateEnd{0};

    std::mutex queueMutex;
    std::condition_variable queueChanged;
    std::deque<FramePtr> queue;
    bool queueClosed = false;
    std::thread encoderThread;

    // Audio
    CodecContextPtr audioEncoder;
    AVStream* audioStream = nullptr;
    bool audioCopy = false;
    AVRational audioCopyTimeBase{1, AV_TIME_BASE};
    std::mutex audioMutex;
    LMFFAudioFormat audioInput;
    SwrPtr resampler;
    AudioFifoPtr fifo;
    int64_t audioSamplesSent = 0;

    ~Impl() { closeOutput(); }

    void closeOutput()
    {
        if (output) {
            if (output->pb && !(output->oformat->flags & AVFMT_NOFILE)) {
                avio_closep(&output->pb);
            }
            avformat_free_context(output);
            output = nullptr;
        }
    }

    // Runs on the writer's threads, often because memory ran out: if the
    // message or the text cannot be had either, the failure still counts,
    // with a text that needs no memory.
    void fail(const QString& what, int code)
    {
        if (failed.exchange(true)) {
            return;
        }
        std::lock_guard lock(failureMutex);
        try {
            failure = code ? QStringLiteral("%1 (%2)").arg(what, errorText(code)) : what;
        } catch (const std::bad_alloc&) {
            failure = QStringLiteral("there was not enough memory");
            return;
        }
        try {
            qWarning().noquote() << "Lumenta: writing" << path << "failed:" << failure;
        } catch (const std::bad_alloc&) {
            // The failure and its text stand without the message.
        }
    }

    bool ensureOutput();
    bool startThreads();
    void stopThreads();
    bool hasVideo() const { return videoEncoded || videoCopy; }
    bool hasAudio() const { return audioEncoder != nullptr || audioCopy; }
    void writePacket(AVPacket* packet, AVStream* stream, AVRational codecTimeBase);
    void drainEncoder(AVCodecContext* encoder, AVStream* stream, bool flush);
    void takeVideo(FramePtr source, bool context);
    // Whether a decoded frame keeps fields of another rate than the output's.
    bool isOfOtherFieldRate(const LMFFItem::Data& data) const;
    // Writes such a frame through the field rate conversion; false when its
    // fields cannot be converted (it is then to be written as it is).
    bool writeAtFieldRate(const LMFFItem::Data& data);
    // Ends a field rate conversion: the frames up to its last field.
    void finishFieldRate();
    void takeConverted(std::vector<FramePtr>& frames, LMMediaTime realStart);
    // A repeated frame of fields shows its field shown last in both, so that
    // a still after moving fields never steps back.
    void holdLastField();
    void runConversions();
    void submitVideo(FramePtr frame);
    FramePtr videoFrame();
    // True when `frame` is of the encoder's size and pixel format.
    bool isEncoderShape(const AVFrame* frame) const;
    FramePtr contextCopy(const QImage& image);
    void runEncoder();
    int64_t allowedAudioEnd() const;
    void encodeAudio(bool final);
    void planKeyFrames(int gopSize);
    // A key frame asked for opens a group whose first picture shown is the
    // key frame itself: the picture before it is made a reference of the
    // group before, so that no B-picture shown ahead of the key frame is coded
    // after it (MPEG-2's closed groups would also turn scene detection off).
    AVPictureType pictureTypeAt(int64_t index) const
    {
        if (keyFrames.contains(index)) {
            return AV_PICTURE_TYPE_I;
        }
        return chapterFrames.contains(index + 1) ? AV_PICTURE_TYPE_P : AV_PICTURE_TYPE_NONE;
    }
    AVRational frameRate() const
    {
        return AVRational{qMax(format.framerate, 1), qMax(format.frameTime, 1)};
    }
};

bool LMFFMovieFileOutput::Impl::ensureOutput()
{
    if (output) {
        return true;
    }
    if (path.isEmpty()) {
        qWarning() << "Lumenta: the writer has no path";
        return false;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    dvdContainer = suffix == QLatin1String("dvd");
    dvd = dvdContainer || suffix == QLatin1String("dvdpart");
    const AVOutputFormat* container =
        dvdContainer ? av_guess_format("dvd", nullptr, nullptr)
        : dvd        ? av_guess_format("nut", nullptr, nullptr)
                     : av_guess_format(nullptr, QFile::encodeName(path).constData(), nullptr);
    if (!container) {
        qWarning().noquote() << "Lumenta: no container for" << path;
        return false;
    }
    if (avformat_alloc_output_context2(&output, container, nullptr,
                                       QFile::encodeName(path).constData()) < 0) {
        output = nullptr;
        return false;
    }
    return true;
}

LMFFMovieFileOutput::LMFFMovieFileOutput() : d(std::make_unique<Impl>()) {}

int LMFFMovieFileOutput::dvdGroupFrames(int framerate, int frameTime)
{
    // The B-frame pattern makes a group one frame longer than its size when
    // that is odd, so PAL asks for 14 to stay within the 15 frames allowed.
    const bool ntsc = static_cast<double>(framerate) / std::max(frameTime, 1) > 26.0;
    return ntsc ? 18 : 14;
}

LMFFMovieFileOutput::~LMFFMovieFileOutput()
{
    if (d->started && !d->finished) {
        stopOutput();
    }
}

void LMFFMovieFileOutput::setPath(const QString& path)
{
    d->path = path;
}

QString LMFFMovieFileOutput::path() const
{
    return d->path;
}

void LMFFMovieFileOutput::setMovieFormat(const LMFFMovieFileOutputFormat& format)
{
    d->format = format;
}

LMFFMovieFileOutputFormat LMFFMovieFileOutput::movieFormat() const
{
    return d->format;
}

void LMFFMovieFileOutput::setInterlaced(bool interlaced)
{
    d->fields = interlaced;
}

bool LMFFMovieFileOutput::isInterlaced() const
{
    return d->fields;
}

void LMFFMovieFileOutput::setKeyFrameTimes(const QList<LMMediaTime>& times)
{
    d->chapterFrames.clear();
    const AVRational rate = d->frameRate();
    for (const LMMediaTime time : times) {
        if (time > 0) {
            d->chapterFrames << av_rescale(time, rate.num, int64_t(rate.den) * AV_TIME_BASE);
        }
    }
    std::sort(d->chapterFrames.begin(), d->chapterFrames.end());
}

// The key frames of the stretches that lead up to the frames asked for. The
// DVD multiplexer starts a video unit (where a cell can begin) only at a key
// frame at least 0.4 s after the unit before it, and the encoder puts a key
// frame of its own gopSize frames after the last one. So each stretch gets
// key frames of its own, at most gopSize - 2 frames apart (the encoder then
// never adds one), the last of them at least 0.4 s before the frame asked:
// where a full group would come closer, the rest is split in two halves.
void LMFFMovieFileOutput::Impl::planKeyFrames(int gopSize)
{
    keyFrames.clear();
    const AVRational rate = frameRate();
    const int64_t step = qMax(1, gopSize - 2);
    const int64_t minimum =
        dvd ? av_rescale_rnd(4, rate.num, int64_t(rate.den) * 10, AV_ROUND_UP) : 0;
    int64_t from = 0;
    for (const int64_t target : std::as_const(chapterFrames)) {
        if (target <= from) {
            continue;
        }
        while (target - from > step) {
            if (target - from - step >= minimum) {
                from += step;
            } else {
                from += (target - from) / 2;
                keyFrames.insert(from);
                break;
            }
            keyFrames.insert(from);
        }
        keyFrames.insert(target);
        from = target;
    }
}

void LMFFMovieFileOutput::openVideo()
{
    if (d->hasVideo() || d->started || !d->ensureOutput()) {
        return;
    }
    LMFFMovieFileOutputFormat& f = d->format;
    if (f.framerate < 1 || f.frameTime < 1) {
        qWarning() << "Lumenta: no frame rate, no video";
        return;
    }
    AVCodecID id = static_cast<AVCodecID>(f.video_codec);
    if (d->dvd) {
        id = AV_CODEC_ID_MPEG2VIDEO;
        useDvdFrames(f);
    }
    if (id == AV_CODEC_ID_NONE) {
        id = d->output->oformat->video_codec;
    }
    const AVCodec* codec = avcodec_find_encoder(id);
    if (!codec || f.width < 2 || f.height < 2) {
        qWarning() << "Lumenta: no video encoder for" << avcodec_get_name(id) << f.width
                   << f.height;
        return;
    }
    CodecContextPtr enc(avcodec_alloc_context3(codec));
    enc->width = f.width;
    enc->height = f.height;
    enc->time_base = AVRational{f.frameTime, f.framerate};
    enc->framerate = AVRational{f.framerate, f.frameTime};
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    if (codec->pix_fmts) {
        bool found = false;
        for (const AVPixelFormat* p = codec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p) {
            found = found || *p == AV_PIX_FMT_YUV420P;
        }
        if (!found) {
            enc->pix_fmt = codec->pix_fmts[0];
        }
    }
    if (f.aspect > 0.01f) {
        enc->sample_aspect_ratio = av_d2q(static_cast<double>(f.aspect) * f.height / f.width, 255);
    } else {
        enc->sample_aspect_ratio = AVRational{1, 1};
    }
    enc->bit_rate = f.video_bitrate > 0 ? f.video_bitrate : 6000000;
    // Slices on the export's share of the cores (one when no more threads
    // can be had: FFmpeg then encodes on the caller's thread).
    enc->thread_count = lm_get_export_threads();
    if (d->dvd) {
        enc->bit_rate = qMin<int64_t>(enc->bit_rate, kDvdMaxVideoRate);
        enc->rc_max_rate = kDvdMaxVideoRate;
        enc->rc_min_rate = 0;
        enc->rc_buffer_size = kDvdBufferSize;
        // One B-frame between references: it scores best on grainy pictures.
        enc->gop_size = dvdGroupFrames(f.framerate, f.frameTime);
        enc->max_b_frames = 1;
        enc->thread_type = FF_THREAD_SLICE;
        // The disc's space is budgeted by the bitrate asked, so spend it: let
        // the quantiser go down to its finest step (the encoder stops at the
        // second by default) and keep the B-frame close to its neighbours
        // (1.25 by default starves it). Content that needs the bits then lands
        // near the rate asked; the buffer model still bounds the peak.
        enc->qmin = 1;
        enc->b_quant_factor = 1.1f;
        if (d->fields) {
            // Field pictures of interlaced sources are coded as fields, and
            // each frame carries its own field order.
            enc->flags |= AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME;
        }
    } else {
        enc->gop_size = 12;
    }
    d->planKeyFrames(enc->gop_size);
    if (d->output->oformat->flags & AVFMT_GLOBALHEADER) {
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    AVDictionary* options = nullptr;
    if (d->dvd) {
        av_dict_set_int(&options, "lmin", FF_QP2LAMBDA, 0);  // quantiser 1
        if (d->fields) {
            av_dict_set_int(&options, "alternate_scan", 1, 0);
        }
    }
    const int ret = avcodec_open2(enc.get(), codec, &options);
    av_dict_free(&options);
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: cannot open the video encoder:" << errorText(ret);
        return;
    }
    AVStream* stream = avformat_new_stream(d->output, nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, enc.get()) < 0) {
        return;
    }
    stream->time_base = enc->time_base;
    stream->sample_aspect_ratio = enc->sample_aspect_ratio;
    stream->avg_frame_rate = enc->framerate;
    // The buffer model (CPB) tells the muxer the DVD buffer size.
    for (int i = 0; i < enc->nb_coded_side_data; ++i) {
        const AVPacketSideData& side = enc->coded_side_data[i];
        if (uint8_t* data = av_stream_new_side_data(stream, side.type, side.size)) {
            std::memcpy(data, side.data, side.size);
        }
    }
    d->videoStream = stream;
    d->videoEncoder = std::move(enc);
    d->videoEncoded = true;
}

static AVStream* copyStream(AVFormatContext* output, const LMMedia::Ptr& media, bool video,
                            AVRational* timeBase)
{
    if (!media) {
        return nullptr;
    }
    const QList<LMStreamInfo> streams = video ? media->videos() : media->audios();
    if (streams.isEmpty()) {
        return nullptr;
    }
    FormatInputPtr input = openInput(media->url());
    if (!input) {
        return nullptr;
    }
    const AVStream* source = input->streams[streams.first().index];
    AVStream* stream = avformat_new_stream(output, nullptr);
    if (!stream || avcodec_parameters_copy(stream->codecpar, source->codecpar) < 0) {
        return nullptr;
    }
    stream->codecpar->codec_tag = 0;
    stream->time_base = source->time_base;
    stream->sample_aspect_ratio = source->sample_aspect_ratio;
    *timeBase = source->time_base;
    return stream;
}

bool LMFFMovieFileOutput::copyVideoMedia(const LMMedia::Ptr& media)
{
    if (d->hasVideo() || d->started || !d->ensureOutput()) {
        return false;
    }
    d->videoStream = copyStream(d->output, media, true, &d->videoCopyTimeBase);
    d->videoCopy = d->videoStream != nullptr;
    return d->videoCopy;
}

bool LMFFMovieFileOutput::isVideoOpen() const
{
    return d->hasVideo();
}

void LMFFMovieFileOutput::openAudio()
{
    if (d->hasAudio() || d->started || !d->ensureOutput()) {
        return;
    }
    LMFFMovieFileOutputFormat& f = d->format;
    AVCodecID id = static_cast<AVCodecID>(f.audio_codec);
    if (d->dvd) {
        id = AV_CODEC_ID_AC3;
        f.sample_rate = kDvdAudioRate;
        f.audio_bitrate =
            f.audio_bitrate > 0 ? qMin(f.audio_bitrate, kDvdAudioBitrate) : kDvdAudioBitrate;
        f.channel_layout = static_cast<int64_t>(AV_CH_LAYOUT_STEREO);
    }
    if (id == AV_CODEC_ID_NONE) {
        id = d->output->oformat->audio_codec;
    }
    const AVCodec* codec = avcodec_find_encoder(id);
    if (!codec || f.sample_rate <= 0) {
        qWarning() << "Lumenta: no audio encoder for" << avcodec_get_name(id);
        return;
    }
    CodecContextPtr enc(avcodec_alloc_context3(codec));
    enc->sample_rate = f.sample_rate;
    const uint64_t mask =
        f.channel_layout ? static_cast<uint64_t>(f.channel_layout) : AV_CH_LAYOUT_STEREO;
    av_channel_layout_from_mask(&enc->ch_layout, mask);
    enc->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    if (codec->sample_fmts) {
        for (const AVSampleFormat* s = codec->sample_fmts; *s != AV_SAMPLE_FMT_NONE; ++s) {
            if (*s == AV_SAMPLE_FMT_FLTP) {
                enc->sample_fmt = *s;
            }
        }
    }
    enc->bit_rate = f.audio_bitrate > 0 ? f.audio_bitrate : 128000;
    enc->time_base = AVRational{1, f.sample_rate};
    if (d->output->oformat->flags & AVFMT_GLOBALHEADER) {
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    const int ret = avcodec_open2(enc.get(), codec, nullptr);
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: cannot open the audio encoder:" << errorText(ret);
        return;
    }
    AVStream* stream = avformat_new_stream(d->output, nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, enc.get()) < 0) {
        return;
    }
    stream->time_base = enc->time_base;
    d->audioStream = stream;
    d->audioEncoder = std::move(enc);
    d->audioInput.sample_fmt = AV_SAMPLE_FMT_FLT;
    d->audioInput.channel_layout = static_cast<int64_t>(mask);
    d->audioInput.sample_rate = f.sample_rate;
    const int frameSize = d->audioEncoder->frame_size > 0 ? d->audioEncoder->frame_size : 1024;
    d->fifo.reset(av_audio_fifo_alloc(d->audioEncoder->sample_fmt,
                                      d->audioEncoder->ch_layout.nb_channels, frameSize * 4));
}

bool LMFFMovieFileOutput::copyAudioMedia(const LMMedia::Ptr& media)
{
    if (d->hasAudio() || d->started || !d->ensureOutput()) {
        return false;
    }
    d->audioStream = copyStream(d->output, media, false, &d->audioCopyTimeBase);
    d->audioCopy = d->audioStream != nullptr;
    if (d->audioCopy) {
        const AVCodecParameters* par = d->audioStream->codecpar;
        d->audioInput.sample_fmt = AV_SAMPLE_FMT_FLT;
        d->audioInput.sample_rate = par->sample_rate;
        d->audioInput.channel_layout = par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE
                                           ? static_cast<int64_t>(par->ch_layout.u.mask)
                                           : static_cast<int64_t>(AV_CH_LAYOUT_STEREO);
    }
    return d->audioCopy;
}

bool LMFFMovieFileOutput::isAudioOpen() const
{
    return d->hasAudio();
}

bool LMFFMovieFileOutput::startOutput()
{
    if (d->started || !d->output || (!d->hasVideo() && !d->hasAudio())) {
        return false;
    }
    const QByteArray name = QFile::encodeName(d->path);
    int ret = 0;
    if (!(d->output->oformat->flags & AVFMT_NOFILE)) {
        ret = avio_open(&d->output->pb, name.constData(), AVIO_FLAG_WRITE);
        if (ret < 0) {
            qWarning().noquote() << "Lumenta: cannot create" << d->path << ":" << errorText(ret);
            return false;
        }
    }
    AVDictionary* options = nullptr;
    if (d->dvdContainer) {
        av_dict_set_int(&options, "muxrate", kDvdMuxRate, 0);
        av_dict_set_int(&options, "packetsize", 2048, 0);
    }
    ret = avformat_write_header(d->output, &options);
    av_dict_free(&options);
    if (ret < 0) {
        qWarning().noquote() << "Lumenta: cannot start" << d->path << ":" << errorText(ret);
        d->closeOutput();
        QFile::remove(d->path);
        return false;
    }
    if (d->videoEncoder && !d->startThreads()) {
        d->closeOutput();
        QFile::remove(d->path);
        return false;
    }
    d->started = true;
    return true;
}

// The encoder's thread and the conversions' thread; false (none left
// running) when they cannot be had.
bool LMFFMovieFileOutput::Impl::startThreads()
{
    try {
        encoderThread = std::thread([this] { runEncoder(); });
        conversionThread = std::thread([this] { runConversions(); });
    } catch (const std::system_error& error) {
        fail(QStringLiteral("no thread for the video could be started: %1")
                 .arg(QString::fromLocal8Bit(error.what())),
             0);
        qWarning().noquote() << "Lumenta: cannot start" << path << ":" << failure;
        stopThreads();
        return false;
    }
    return true;
}

// Lets the conversions still waiting go to the encoder, which then closes.
void LMFFMovieFileOutput::Impl::stopThreads()
{
    {
        std::lock_guard lock(conversionMutex);
        conversionsClosed = true;
    }
    conversionChanged.notify_all();
    if (conversionThread.joinable()) {
        conversionThread.join();
    } else {
        std::lock_guard lock(queueMutex);  // the conversions' thread never ran
        queueClosed = true;
    }
    queueChanged.notify_all();
    if (encoderThread.joinable()) {
        encoderThread.join();
    }
}

LMFFAudioFormat LMFFMovieFileOutput::outputAudioFormat() const
{
    LMFFAudioFormat format;
    if (d->audioEncoder) {
        format.sample_fmt = d->audioEncoder->sample_fmt;
        format.sample_rate = d->audioEncoder->sample_rate;
        format.channel_layout = static_cast<int64_t>(d->audioEncoder->ch_layout.u.mask);
    } else if (d->audioCopy) {
        format = d->audioInput;
    }
    return format;
}

LMFFAudioFormat LMFFMovieFileOutput::audioInputFormat() const
{
    return d->audioInput;
}

void LMFFMovieFileOutput::setAudioInputFormat(const LMFFAudioFormat& format)
{
    std::lock_guard lock(d->audioMutex);
    d->audioInput = format;
    d->resampler.reset();
}

std::shared_ptr<LMDrawContext> LMFFMovieFileOutput::createCGContext() const
{
    return std::make_shared<LMDrawContext>(d->format.width, d->format.height);
}

void LMFFMovieFileOutput::drawImage(const QImage& image, LMDrawContext& context) const
{
    QImage& target = context.image();
    if (target.isNull()) {
        return;  // a context without memory; its writer refuses it
    }
    const bool sameLayout = image.format() == QImage::Format_RGB32 ||
                            image.format() == QImage::Format_ARGB32 ||
                            image.format() == QImage::Format_ARGB32_Premultiplied;
    if (sameLayout && image.size() == target.size() && target.format() == QImage::Format_RGB32 &&
        isOpaque(image)) {
        // Stretched over the context at its own size and covering it: the
        // same pixels, copied line by line.
        const auto bytes = static_cast<size_t>(image.width()) * 4;
        for (int y = 0; y < image.height(); ++y) {
            std::memcpy(target.scanLine(y), image.constScanLine(y), bytes);
        }
        return;
    }
    QPainter painter(&context.image());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(context.image().rect(), Qt::black);
    if (image.isNull()) {
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // An opaque picture is drawn as one without alpha (the same pixels, read
    // in place): Qt then skips the blending.
    const QImage opaque = isOpaque(image) && image.hasAlphaChannel()
                              ? QImage(image.constBits(), image.width(), image.height(),
                                       image.bytesPerLine(), QImage::Format_RGB32)
                              : image;
    painter.drawImage(QRectF(context.image().rect()), opaque);
}

// --- Video ---

void LMFFMovieFileOutput::Impl::writePacket(AVPacket* packet, AVStream* stream,
                                            AVRational codecTimeBase)
{
    packet->stream_index = stream->index;
    av_packet_rescale_ts(packet, codecTimeBase, stream->time_base);
    std::lock_guard lock(mux);
    const int ret = av_interleaved_write_frame(output, packet);
    if (ret < 0) {
        fail(QStringLiteral("packet"), ret);
    }
}

void LMFFMovieFileOutput::Impl::drainEncoder(AVCodecContext* encoder, AVStream* stream, bool flush)
{
    if (flush) {
        avcodec_send_frame(encoder, nullptr);
    }
    PacketPtr packet = makePacket();
    for (;;) {
        const int ret = avcodec_receive_packet(encoder, packet.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) {
            return;
        }
        if (ret < 0) {
            fail(QStringLiteral("encoding"), ret);
            return;
        }
        writePacket(packet.get(), stream, encoder->time_base);
        av_packet_unref(packet.get());
    }
}

void LMFFMovieFileOutput::Impl::runEncoder()
{
    for (;;) {
        FramePtr frame;
        {
            std::unique_lock lock(queueMutex);
            queueChanged.wait(lock, [this] { return queueClosed || !queue.empty(); });
            if (queue.empty()) {
                break;
            }
            frame = std::move(queue.front());
            queue.pop_front();
        }
        queueChanged.notify_all();
        const int ret = avcodec_send_frame(videoEncoder.get(), frame.get());
        if (ret < 0) {
            fail(QStringLiteral("video frame"), ret);
            continue;
        }
        drainEncoder(videoEncoder.get(), videoStream, false);
    }
    drainEncoder(videoEncoder.get(), videoStream, true);
}

// Takes a frame (null: the last decoded frame again) as the next on the
// output's timeline and hands it to the conversion thread.
void LMFFMovieFileOutput::Impl::takeVideo(FramePtr source, bool context)
{
    {
        std::unique_lock lock(conversionMutex);
        conversionChanged.wait(
            lock, [this] { return conversions.size() < kConversionLimit || conversionsClosed; });
        if (conversionsClosed) {
            return;
        }
        conversions.push_back(Conversion{std::move(source), context, framesSubmitted.load()});
        ++framesSubmitted;
    }
    conversionChanged.notify_all();
    // Audio held back for the video's end may go now.
    if (audioEncoder && dvd) {
        std::lock_guard lock(audioMutex);
        encodeAudio(false);
    }
}

void LMFFMovieFileOutput::Impl::runConversions()
{
    for (;;) {
        Conversion job;
        {
            std::unique_lock lock(conversionMutex);
            conversionChanged.wait(lock,
                                   [this] { return conversionsClosed || !conversions.empty(); });
            if (conversions.empty()) {
                break;
            }
            job = std::move(conversions.front());
            conversions.pop_front();
        }
        conversionChanged.notify_all();
        FramePtr frame;
        if (!job.source) {
            holdLastField();
            frame.reset(lastItemFrame ? av_frame_clone(lastItemFrame.get()) : nullptr);
            if (lastItemFrame && !frame) {
                fail(QStringLiteral("no memory for a repeated frame"), 0);
            }
        } else if (job.context && isEncoderShape(job.source.get())) {
            // A picture already in the encoder's shape needs no conversion.
            frame = std::move(job.source);
            frame->interlaced_frame = 0;
            frame->top_field_first = 1;
            frame->sample_aspect_ratio = videoEncoder->sample_aspect_ratio;
        } else if ((frame = videoFrame())) {
            const AVFrame* source = job.source.get();
            // A frame of fields keeps them apart (a height that does not
            // split into two 4:2:0 fields is scaled whole).
            const bool keepFields = fields && !job.context && source->interlaced_frame &&
                                    fieldScaler.scaleFields(source, frame.get());
            frame->interlaced_frame = keepFields ? 1 : 0;
            frame->top_field_first = keepFields ? source->top_field_first : 1;
            FrameScaler& scaler = job.context ? contextScaler : itemScaler;
            const bool scaled = keepFields || scaler.scale(source, frame.get());
            if (!scaled) {
                fail(job.context ? QStringLiteral("colour conversion") : QStringLiteral("scaling"),
                     0);
                continue;
            }
            if (!job.context) {
                lastItemFrame.reset(av_frame_clone(frame.get()));
                lastItemHeld = false;
            }
        } else {
            fail(QStringLiteral("no memory for a frame"), 0);
        }
        if (!frame) {
            continue;
        }
        frame->pts = job.pts;
        frame->pict_type = pictureTypeAt(job.pts);
        submitVideo(std::move(frame));
    }
    std::lock_guard lock(queueMutex);
    queueClosed = true;
    queueChanged.notify_all();
}

void LMFFMovieFileOutput::Impl::holdLastField()
{
    if (!lastItemFrame || !lastItemFrame->interlaced_frame || lastItemHeld) {
        return;
    }
    const bool topFirst = lastItemFrame->top_field_first != 0;
    FramePtr held = fieldPicture(lastItemFrame.get(), topFirst ? 1 : 0);
    if (!held) {
        return;  // repeated as it is
    }
    held->interlaced_frame = 1;
    held->top_field_first = topFirst ? 1 : 0;
    lastItemFrame = std::move(held);
    lastItemHeld = true;
}

// Hands a frame of the encoder's shape to the encoder thread, in order.
void LMFFMovieFileOutput::Impl::submitVideo(FramePtr frame)
{
    {
        std::unique_lock lock(queueMutex);
        queueChanged.wait(lock, [this] { return queue.size() < kQueueLimit || queueClosed; });
        if (queueClosed) {
            return;
        }
        queue.push_back(std::move(frame));
    }
    queueChanged.notify_all();
}

bool LMFFMovieFileOutput::Impl::isEncoderShape(const AVFrame* frame) const
{
    const AVCodecContext* encoder = videoEncoder.get();
    return frame->format == encoder->pix_fmt && frame->width == encoder->width &&
           frame->height == encoder->height && frame->color_range != AVCOL_RANGE_JPEG;
}

// A frame of the encoder's shape whose memory comes from the pool.
FramePtr LMFFMovieFileOutput::Impl::videoFrame()
{
    const AVCodecContext* encoder = videoEncoder.get();
    const auto format = encoder->pix_fmt;
    const int size = av_image_get_buffer_size(format, encoder->width, encoder->height, 64);
    if (size <= 0) {
        return nullptr;
    }
    if (!framePool) {
        framePool.reset(av_buffer_pool_init(static_cast<size_t>(size), nullptr));
    }
    FramePtr frame = makeFrame();
    if (!frame || !framePool) {
        return nullptr;
    }
    frame->format = format;
    frame->width = encoder->width;
    frame->height = encoder->height;
    frame->sample_aspect_ratio = encoder->sample_aspect_ratio;
    frame->buf[0] = av_buffer_pool_get(framePool.get());
    if (!frame->buf[0] || av_image_fill_arrays(frame->data, frame->linesize, frame->buf[0]->data,
                                               format, frame->width, frame->height, 64) < 0) {
        return nullptr;
    }
    return frame;
}

// A copy of a drawing context's pixels in memory of the pool, so that the
// context may be drawn into again while its copy is converted.
FramePtr LMFFMovieFileOutput::Impl::contextCopy(const QImage& image)
{
    if (image.isNull() || image.depth() != 32) {
        return nullptr;
    }
    const int lineBytes = image.width() * 4;
    const int stride = FFALIGN(lineBytes, 64);
    const size_t size = static_cast<size_t>(stride) * image.height();
    FramePtr frame = makeFrame();
    if (!frame) {
        return nullptr;
    }
    if (!contextPool) {
        contextPool.reset(av_buffer_pool_init(size, nullptr));
    }
    frame->buf[0] = contextPool ? av_buffer_pool_get(contextPool.get()) : nullptr;
    if (!frame->buf[0] || frame->buf[0]->size < size) {
        return nullptr;
    }
    frame->format = AV_PIX_FMT_RGB32;
    frame->width = image.width();
    frame->height = image.height();
    frame->data[0] = frame->buf[0]->data;
    frame->linesize[0] = stride;
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(frame->data[0] + static_cast<ptrdiff_t>(y) * stride, image.constScanLine(y),
                    static_cast<size_t>(lineBytes));
    }
    return frame;
}

void LMFFMovieFileOutput::writeCGContext(const LMDrawContext& context)
{
    if (!d->started || !d->videoEncoder || d->finished) {
        return;
    }
    if (const std::shared_ptr<const AVFrame>& surface = context.surfaceFrame()) {
        // The edits' own 4:2:0 frame of the output's size: encoded as it is.
        FramePtr reference(av_frame_clone(surface.get()));
        if (!reference) {
            d->fail(QStringLiteral("no memory for a frame"), 0);
            return;
        }
        d->takeVideo(std::move(reference), true);
        return;
    }
    FramePtr copy = d->contextCopy(context.image());
    if (!copy) {
        d->fail(QStringLiteral("no memory for a frame"), 0);
        return;
    }
    d->takeVideo(std::move(copy), true);
}

void LMFFMovieFileOutput::writeImage(LMFFItem* item)
{
    if (!d->started || !item || !item->isVideo() || d->finished) {
        return;
    }
    LMFFItem::Data& data = item->data();
    if (data.packet) {
        if (!d->videoCopy) {
            return;
        }
        PacketPtr packet(av_packet_clone(data.packet.get()));
        const AVRational us{1, AV_TIME_BASE};
        const LMMediaTime shift = data.containerStart + data.realStart;
        for (int64_t* ts : {&packet->pts, &packet->dts}) {
            if (*ts != AV_NOPTS_VALUE) {
                *ts = av_rescale_q(av_rescale_q(*ts, data.timeBase, us) - shift, us, data.timeBase);
            }
        }
        const LMMediaTime end =
            data.time - data.realStart + av_rescale_q(packet->duration, data.timeBase, us);
        LMMediaTime seen = d->videoCopyEnd.load();
        while (end > seen && !d->videoCopyEnd.compare_exchange_weak(seen, end)) {
        }
        d->writePacket(packet.get(), d->videoStream, data.timeBase);
        return;
    }
    if (!d->videoEncoder || !data.frame) {
        return;
    }
    if (d->isOfOtherFieldRate(data) && d->writeAtFieldRate(data)) {
        return;
    }
    d->finishFieldRate();
    const double place =
        static_cast<double>(data.time - data.realStart) / AV_TIME_BASE * av_q2d(d->frameRate());
    const int64_t index = llround(place);
    if (index < d->framesSubmitted.load()) {
        // Behind the timeline: dropped, but kept as the nearest picture of
        // a piece's first frames until a later one comes.
        d->droppedFrame.reset(av_frame_clone(data.frame.get()));
        d->droppedPlace = place;
        d->droppedStart = data.realStart;
        return;
    }
    // The decoded frame itself (a new reference, no copy) goes to be scaled.
    FramePtr source(av_frame_clone(data.frame.get()));
    if (!source) {
        d->fail(QStringLiteral("no memory for a frame"), 0);
        return;
    }
    const int64_t gapLimit = d->framesSubmitted.load() + 10 * llround(av_q2d(d->frameRate()));
    if (d->itemTaken && d->takenStart != data.realStart) {
        // A new piece (a cut) opens on its own frame nearest each of its first
        // places, never on the frame the piece before ended with.
        const bool dropped = d->droppedFrame && d->droppedStart == data.realStart;
        while (d->framesSubmitted.load() < qMin(index, gapLimit)) {
            const auto at = static_cast<double>(d->framesSubmitted.load());
            if (dropped && at - d->droppedPlace < place - at) {
                d->takeVideo(FramePtr(av_frame_clone(d->droppedFrame.get())), false);
            } else {
                d->takeVideo(FramePtr(av_frame_clone(source.get())), false);
            }
        }
    }
    // A gap in the source repeats the frame before it; at most ten seconds.
    while (d->itemTaken && d->framesSubmitted.load() < qMin(index, gapLimit)) {
        d->takeVideo(nullptr, false);
    }
    d->itemTaken = true;
    d->takenStart = data.realStart;
    d->droppedFrame.reset();
    d->takeVideo(std::move(source), false);
}

bool LMFFMovieFileOutput::Impl::isOfOtherFieldRate(const LMFFItem::Data& data) const
{
    if (!fields || fieldRateRefused || !data.frame->interlaced_frame || data.frameDuration <= 0) {
        return false;
    }
    // The source's frame in output frames: a rate within a hundredth of the
    // output's keeps its fields as they are.
    const double frames =
        static_cast<double>(data.frameDuration) / AV_TIME_BASE * av_q2d(frameRate());
    return std::abs(frames - 1.0) > 0.01;
}

bool LMFFMovieFileOutput::Impl::writeAtFieldRate(const LMFFItem::Data& data)
{
    if (!fieldRate) {
        fieldRate = std::make_unique<FieldRateConverter>(frameRate(), lm_get_export_threads());
    }
    if (!fieldRate->isRunning() || fieldRateStart != data.realStart) {
        // A piece of its own starts at the output's next place.
        finishFieldRate();
        fieldRate->start(framesSubmitted.load());
        fieldRateStart = data.realStart;
    }
    const double rate = av_q2d(frameRate());
    const double place = static_cast<double>(data.time - data.realStart) / AV_TIME_BASE * rate;
    const double length = static_cast<double>(data.frameDuration) / AV_TIME_BASE * rate;
    std::vector<FramePtr> done;
    if (!fieldRate->push(data.frame.get(), place, length, done)) {
        // Kept as they are, rather than lost.
        fieldRateRefused = true;
        fieldRateEnd = 0;
        qWarning() << "Lumenta: the fields are written at their own rate";
        return false;
    }
    takeConverted(done, data.realStart);
    fieldRateEnd = fieldRate->end();
    return true;
}

void LMFFMovieFileOutput::Impl::finishFieldRate()
{
    if (!fieldRate || !fieldRate->isRunning()) {
        return;
    }
    std::vector<FramePtr> done;
    fieldRate->finish(done);
    takeConverted(done, fieldRateStart);
    fieldRateEnd = 0;
}

void LMFFMovieFileOutput::Impl::takeConverted(std::vector<FramePtr>& frames, LMMediaTime realStart)
{
    for (FramePtr& frame : frames) {
        takeVideo(std::move(frame), false);
        itemTaken = true;
        takenStart = realStart;
        droppedFrame.reset();
    }
}

void LMFFMovieFileOutput::holdImage(LMMediaTime outputTime)
{
    d->finishFieldRate();
    if (!d->started || d->finished || !d->videoEncoder || !d->itemTaken) {
        return;
    }
    const LMFFMovieFileOutputFormat& f = d->format;
    // The place nearest the time ends the held stretch.
    const int64_t frames =
        av_rescale_rnd(outputTime, qMax(f.framerate, 1),
                       int64_t(qMax(f.frameTime, 1)) * AV_TIME_BASE, AV_ROUND_NEAR_INF);
    while (d->framesSubmitted.load() < frames) {
        d->takeVideo(nullptr, false);
    }
}

QString LMFFMovieFileOutput::failureReason() const
{
    std::lock_guard lock(d->failureMutex);
    return d->failure;
}

LMMediaTime LMFFMovieFileOutput::video_output_time() const
{
    if (d->videoCopy) {
        return d->videoCopyEnd.load();
    }
    const LMFFMovieFileOutputFormat& f = d->format;
    if (f.framerate < 1) {
        return 0;
    }
    // Frames whose fields are still being brought to the output's rate
    // count as written: they are on their way.
    const int64_t frames = std::max(d->framesSubmitted.load(), d->fieldRateEnd.load());
    return frames * f.frameTime * AV_TIME_BASE / f.framerate;
}

// --- Audio ---

int64_t LMFFMovieFileOutput::Impl::allowedAudioEnd() const
{
    // The DVD stream's audio must not run past its video: the authoring tool
    // counts the last video unit as ending with its last sample.
    if (!dvd || !videoEncoder) {
        return INT64_MAX;
    }
    return av_rescale(framesSubmitted.load() * format.frameTime, audioEncoder->sample_rate,
                      format.framerate);
}

void LMFFMovieFileOutput::Impl::encodeAudio(bool final)
{
    if (!audioEncoder || !fifo) {
        return;
    }
    const int frameSize = audioEncoder->frame_size > 0 ? audioEncoder->frame_size : 1024;
    const int64_t padding = audioEncoder->initial_padding;
    const int64_t limit = allowedAudioEnd();
    for (;;) {
        const int available = av_audio_fifo_size(fifo.get());
        if (available <= 0 || (available < frameSize && !final)) {
            return;
        }
        if (audioSamplesSent + frameSize - padding > limit) {
            if (final) {
                av_audio_fifo_reset(fifo.get());
            }
            return;
        }
        FramePtr frame = makeFrame();
        if (!frame) {
            fail(QStringLiteral("no memory for audio"), 0);
            return;
        }
        frame->nb_samples = frameSize;
        frame->format = audioEncoder->sample_fmt;
        frame->sample_rate = audioEncoder->sample_rate;
        av_channel_layout_copy(&frame->ch_layout, &audioEncoder->ch_layout);
        if (av_frame_get_buffer(frame.get(), 0) < 0) {
            fail(QStringLiteral("no memory for audio"), 0);
            return;
        }
        const int got = av_audio_fifo_read(fifo.get(), reinterpret_cast<void**>(frame->data),
                                           qMin(available, frameSize));
        if (got < frameSize) {
            av_samples_set_silence(frame->data, got, frameSize - got, frame->ch_layout.nb_channels,
                                   static_cast<AVSampleFormat>(frame->format));
        }
        frame->pts = audioSamplesSent;
        audioSamplesSent += frameSize;
        const int ret = avcodec_send_frame(audioEncoder.get(), frame.get());
        if (ret < 0) {
            fail(QStringLiteral("audio frame"), ret);
            return;
        }
        drainEncoder(audioEncoder.get(), audioStream, false);
    }
}

void LMFFMovieFileOutput::writeAudioData(const uint8_t* buffer)
{
    writeAudioSamples(buffer, 1024);
}

void LMFFMovieFileOutput::writeAudioSamples(const uint8_t* buffer, int frames)
{
    if (!d->started || !d->audioEncoder || !buffer || frames <= 0 || d->finished) {
        return;
    }
    std::lock_guard lock(d->audioMutex);
    if (!d->resampler) {
        AVChannelLayout in{};
        AVChannelLayout& out = d->audioEncoder->ch_layout;
        av_channel_layout_from_mask(
            &in, static_cast<uint64_t>(d->audioInput.channel_layout ? d->audioInput.channel_layout
                                                                    : AV_CH_LAYOUT_STEREO));
        SwrContext* swr = nullptr;
        int ret = swr_alloc_set_opts2(&swr, &out, d->audioEncoder->sample_fmt,
                                      d->audioEncoder->sample_rate, &in,
                                      static_cast<AVSampleFormat>(d->audioInput.sample_fmt),
                                      d->audioInput.sample_rate, 0, nullptr);
        if (ret >= 0) {
            ret = swr_init(swr);
        }
        if (ret < 0) {
            swr_free(&swr);
            d->fail(QStringLiteral("audio conversion"), ret);
            return;
        }
        d->resampler.reset(swr);
    }
    const int capacity = swr_get_out_samples(d->resampler.get(), frames);
    uint8_t** data = nullptr;
    if (capacity <= 0 ||
        av_samples_alloc_array_and_samples(&data, nullptr, d->audioEncoder->ch_layout.nb_channels,
                                           capacity, d->audioEncoder->sample_fmt, 0) < 0) {
        d->fail(QStringLiteral("no memory for audio"), 0);
        return;
    }
    const uint8_t* in[1] = {buffer};
    const int count = swr_convert(d->resampler.get(), data, capacity, in, frames);
    if (count < 0) {
        d->fail(QStringLiteral("audio conversion"), count);
    } else if (count > 0 &&
               av_audio_fifo_write(d->fifo.get(), reinterpret_cast<void**>(data), count) < count) {
        d->fail(QStringLiteral("no memory for audio"), 0);
    }
    av_freep(&data[0]);
    av_freep(&data);
    d->encodeAudio(false);
}

void LMFFMovieFileOutput::writeAudioPacket(LMFFItem* item)
{
    if (!d->started || !d->audioCopy || !item || item->isVideo() || !item->data().packet ||
        d->finished) {
        return;
    }
    LMFFItem::Data& data = item->data();
    PacketPtr packet(av_packet_clone(data.packet.get()));
    const AVRational us{1, AV_TIME_BASE};
    const LMMediaTime shift = data.containerStart + data.realStart;
    for (int64_t* ts : {&packet->pts, &packet->dts}) {
        if (*ts != AV_NOPTS_VALUE) {
            *ts = av_rescale_q(av_rescale_q(*ts, data.timeBase, us) - shift, us, data.timeBase);
        }
    }
    d->writePacket(packet.get(), d->audioStream, data.timeBase);
}

bool LMFFMovieFileOutput::stopOutput()
{
    if (!d->started || d->finished) {
        return false;
    }
    d->finishFieldRate();
    d->stopThreads();
    if (d->audioEncoder) {
        std::lock_guard lock(d->audioMutex);
        d->encodeAudio(true);
        d->drainEncoder(d->audioEncoder.get(), d->audioStream, true);
    }
    d->finished = true;
    int ret = 0;
    {
        std::lock_guard lock(d->mux);
        ret = av_write_trailer(d->output);
    }
    if (ret < 0) {
        d->fail(QStringLiteral("trailer"), ret);
    }
    d->closeOutput();
    d->videoEncoder.reset();
    if (d->failed.load()) {
        // A broken file is not left behind as if it were a whole one.
        QFile::remove(d->path);
        return false;
    }
    return true;
}
