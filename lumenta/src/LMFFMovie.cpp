#include "lumenta/LMFFMovie.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

#include "AudioSampleReader.h"
#include "EditPipeline.h"
#include "EditSettings.h"
#include "FFmpeg.h"
#include "LMFFItemData.h"
#include "MoviePlayback.h"
#include "SerialWorker.h"
#include "SubtitleAssCopy.h"
#include "VideoEditChain.h"
#include "VideoFrameReader.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/LMFunctions.h"
#include "platform/BoundedFile.h"

using namespace lumenta;

namespace {

// No subtitle file of a clip comes near this.
constexpr qint64 MaximumSubtitleBytes = 16 << 20;
// The most cue text shown at one time, one cue or several together. The
// renderer lays out every character of what it shows (some hundred bytes
// each, for each chain that draws the subtitle), so a screenful of text
// must stay far below what one file may hold; real cues are a few hundred
// bytes.
constexpr qint64 MaximumShownCueBytes = 32 << 10;

bool isBlank(const QByteArray& content)
{
    return std::all_of(content.begin(), content.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    });
}

// The most cue bytes that show at one time: the cues' intervals swept in
// time order, each cue counted while it lasts (a cue without a length for
// one tick). At one time, cues that end go before cues that begin.
qint64 mostShownCueBytes(QList<std::pair<qint64, qint64>> changes)
{
    std::sort(changes.begin(), changes.end());
    qint64 shown = 0;
    qint64 most = 0;
    for (const auto& change : changes) {
        shown += change.second;
        most = std::max(most, shown);
    }
    return most;
}

// Why a subtitle file cannot be shown, or empty when it can: its text must be
// UTF-8 (or UTF-16 with a byte order mark) unless an encoding was chosen, its
// format one FFmpeg reads, it must hold at least one cue, and no more than
// MaximumShownCueBytes of cue text may show at one time.
QString subtitleProblem(const QString& copy, const QByteArray& content, const QString& encoding)
{
    if (isBlank(content)) {
        return QStringLiteral("no cues");
    }
    const bool utf16 = content.startsWith("\xff\xfe") || content.startsWith("\xfe\xff");
    if (encoding.isEmpty() && !utf16 && !content.isValidUtf8()) {
        return QStringLiteral("not UTF-8: choose an encoding");
    }
    const FormatInputPtr input = openInput(copy);
    if (!input) {
        return QStringLiteral("this subtitle format is not supported");
    }
    int stream = -1;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (input->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) {
            stream = static_cast<int>(i);
            break;
        }
    }
    if (stream < 0) {
        return QStringLiteral("this subtitle format is not supported");
    }
    // (time, +bytes) where a cue begins and (time, -bytes) where it ends.
    QList<std::pair<qint64, qint64>> changes;
    PacketPtr packet = makePacket();
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == stream && packet->size > 0) {
            const qint64 start = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            const qint64 length = std::max<qint64>(packet->duration, 1);
            changes.append({start, packet->size});
            changes.append({start + length, -packet->size});
        }
        av_packet_unref(packet.get());
        if (!changes.isEmpty() && changes.constLast().second < -MaximumShownCueBytes) {
            return QStringLiteral("a cue is too long");
        }
    }
    if (changes.isEmpty()) {
        return QStringLiteral("no cues");
    }
    if (mostShownCueBytes(std::move(changes)) > MaximumShownCueBytes) {
        return QStringLiteral("too much text at one time");
    }
    return {};
}

}  // namespace

// The movies whose thumbnail reader is open, the one used last at the end.
// Each such reader holds a decoder and its pictures (some 35 MiB for a 1080p
// H.264 file), and a project keeps a movie for every clip (a film cut into
// chapters has dozens), so only the last few stay open: an older one is
// closed, and opens again at its next thumbnail. A reader in use is never
// closed (its movie's lock is only tried).
class LMFFMovie::OpenThumbnailReaders {
public:
    static constexpr int kept = 2;

    // Kept to the process's end: movies held by other statics may still go
    // after the statics of this file.
    static OpenThumbnailReaders& instance()
    {
        static auto* const readers = new OpenThumbnailReaders;
        return *readers;
    }

    // `movie`'s reader has just served a thumbnail; its lock is held.
    void used(Impl* movie);
    // `movie`'s reader is closed or the movie goes.
    void forget(Impl* movie)
    {
        std::lock_guard lock(m_mutex);
        m_order.removeOne(movie);
    }

private:
    std::mutex m_mutex;
    QList<Impl*> m_order;
};

struct LMFFMovie::Impl {
    explicit Impl(LMFFMovie* owner) : owner(owner) {}

    LMFFMovie* owner;  // back pointer, not owned

    // Structure and edits, guarded by `state`.
    mutable std::mutex state;
    QList<LMMedia::Ptr> medias;
    LMMedia::Ptr videoMedia;
    LMMedia::Ptr audioMedia;
    LMStreamInfo videoStream;
    QList<LMStreamInfo> audioStreams;
    int selectedAudio = 0;
    std::optional<IndexSet> subtitleSelection;
    LMMediaTime duration = 0;
    EditSettings edits;
    float volume = 1.0f;
    std::function<void()> watermarkObserver;
    QMap<quint64, std::function<void()>> watermarkObservers;
    quint64 lastWatermarkToken = 0;
    QByteArray subtitleContent;  // the file as read; text on demand
    QString subtitleError;       // why the last subtitle was refused
    std::unique_ptr<QTemporaryDir> subtitleDir;
    int subtitleCount = 0;
    bool disableVideo = false;
    bool exportMovie = false;
    bool copyAudio = false;
    bool copyVideo = false;
    std::atomic<LMMediaTime> position{0};
    std::atomic<LMMediaTime> maxVideoTime{0};

    // Decode requests: touched only on the worker.
    VideoFrameReader decodeReader;
    VideoEditChain decodeChain{qMin(lm_get_export_threads(), 4)};
    bool decodeOpened = false;
    // Edits the frames of an export side by side; made on the first request
    // of an export, dropped with the decoder.
    std::unique_ptr<EditPipeline> editPipeline;
    bool editPipelineRefused = false;  // its threads could not be had

    std::mutex thumbMutex;
    VideoFrameReader thumbReader;
    VideoEditChain thumbChain;
    bool thumbOpened = false;

    std::mutex directMutex;
    VideoFrameReader directReader;
    bool directOpened = false;
    bool directPositioned = false;
    LMMediaTime directLast = 0;
    std::unique_ptr<LMFFItem> pending;

    std::mutex audioMutex;
    AudioSampleReader audioReader;
    bool audioOpened = false;
    bool audioFormatDirty = false;
    LMFFAudioFormat audioFormat;

    std::mutex packetMutex;
    VideoFrameReader packetReader;
    bool packetOpened = false;
    bool packetNeedsSeek = true;

    MoviePlayback playback;

    // Last member: destroyed first, answering what is still queued.
    std::unique_ptr<SerialWorker> worker;

    EditSettings snapshot() const
    {
        std::lock_guard lock(state);
        return edits;
    }

    template <typename T>
    void setChainValue(T EditSettings::*field, const T& value)
    {
        std::lock_guard lock(state);
        if (!(edits.*field == value)) {
            edits.*field = value;
            ++edits.chainVersion;
        }
    }

    bool hasVideoStream() const { return videoMedia != nullptr; }

    int audioStreamIndex() const
    {
        if (!audioMedia || audioStreams.isEmpty()) {
            return -1;
        }
        return audioStreams.value(qBound(0, selectedAudio, int(audioStreams.size()) - 1)).index;
    }

    // `mayPipeline`: the caller does not wait for the answer, so an export may
    // edit the frame on the pipeline and answer later (still in order).
    void serveDecode(LMMediaTime time, IFrameProvider* provider, bool mayPipeline);
    void ensureWorker();
    // Frees the preview decoders after a pause in requests: a project keeps
    // a movie per clip, and an open decoder holds many frames.
    void releasePreviewReaders();
    // The preview decoder; only on the worker thread.
    void releaseDecodeReader();
    void releaseThumbReader();
    void releaseAudioReader();
    // Frees the export readers at the end of an export.
    void releaseExportReaders();
    // Drops every reader, so that the next use opens the current medias.
    void resetReaders();
    std::unique_ptr<LMFFItem> readDirectItem(bool decode);
};

// --- Opening ---

LMFFMovie::LMFFMovie() : d(std::make_unique<Impl>(this)) {}

LMFFMovie::~LMFFMovie()
{
    OpenThumbnailReaders::instance().forget(d.get());
    d->worker.reset();
    d->editPipeline.reset();
}

void LMFFMovie::OpenThumbnailReaders::used(Impl* movie)
{
    std::lock_guard lock(m_mutex);
    m_order.removeOne(movie);
    m_order.append(movie);
    for (qsizetype i = 0; m_order.size() > kept && i < m_order.size() - 1;) {
        Impl* older = m_order[i];
        std::unique_lock other(older->thumbMutex, std::try_to_lock);
        if (!other.owns_lock()) {
            ++i;
            continue;
        }
        older->thumbReader = VideoFrameReader();
        older->thumbChain = VideoEditChain();
        older->thumbOpened = false;
        m_order.removeAt(i);
    }
}

void LMFFMovie::Impl::ensureWorker()
{
    if (worker) {
        return;
    }
    worker = std::make_unique<SerialWorker>();
    worker->setIdleTask(std::chrono::seconds(5), [this] { releasePreviewReaders(); });
}

void LMFFMovie::Impl::releasePreviewReaders()
{
    releaseDecodeReader();
    releaseThumbReader();
}

void LMFFMovie::Impl::releaseDecodeReader()
{
    editPipeline.reset();
    editPipelineRefused = false;
    decodeReader = VideoFrameReader();
    decodeChain = VideoEditChain(qMin(lm_get_export_threads(), 4));
    decodeOpened = false;
}

void LMFFMovie::Impl::releaseThumbReader()
{
    std::lock_guard lock(thumbMutex);
    thumbReader = VideoFrameReader();
    thumbChain = VideoEditChain();
    thumbOpened = false;
    OpenThumbnailReaders::instance().forget(this);
}

void LMFFMovie::Impl::releaseAudioReader()
{
    std::lock_guard lock(audioMutex);
    audioReader = AudioSampleReader();
    audioOpened = false;
}

void LMFFMovie::Impl::releaseExportReaders()
{
    {
        std::lock_guard lock(directMutex);
        directReader = VideoFrameReader();
        directOpened = false;
        directPositioned = false;
        pending.reset();
    }
    releaseAudioReader();
    std::lock_guard lock(packetMutex);
    packetReader = VideoFrameReader();
    packetOpened = false;
    packetNeedsSeek = true;
}

void LMFFMovie::Impl::resetReaders()
{
    if (worker) {
        worker->postAndWait([this] { releaseDecodeReader(); });
    }
    releaseThumbReader();
    releaseExportReaders();
    maxVideoTime = 0;
}

bool LMFFMovie::openMedias(const QList<LMMedia::Ptr>& medias)
{
    d->resetReaders();
    std::lock_guard lock(d->state);
    d->medias.clear();
    d->videoMedia.reset();
    d->audioMedia.reset();
    d->audioStreams.clear();
    d->duration = 0;
    for (const LMMedia::Ptr& media : medias) {
        if (!media) {
            continue;
        }
        d->medias << media;
        if (!d->videoMedia && !media->videos().isEmpty()) {
            d->videoMedia = media;
            d->videoStream = media->videos().first();
        }
        if (!d->audioMedia && !media->audios().isEmpty()) {
            d->audioMedia = media;
            d->audioStreams = media->audios();
        }
        d->duration = qMax(d->duration, media->duration());
    }
    if (d->videoMedia) {
        const QSizeF size(d->videoStream.width, d->videoStream.height);
        d->edits.displayRotation = d->videoStream.rotation;
        d->edits.videoSize = size;
        d->edits.cropRect = QRectF(QPointF(0, 0), size);
        d->edits.outputVideoSize = QSizeF(
            qRound(d->videoStream.width * d->videoStream.sampleAspect), d->videoStream.height);
        ++d->edits.chainVersion;
    }
    d->ensureWorker();
    return medias.isEmpty() || !d->medias.isEmpty();
}

bool LMFFMovie::open(const QString& path)
{
    return openSource(LMMediaSource::mediaWithPath(path));
}

bool LMFFMovie::openSource(const LMMediaSource::Ptr& source)
{
    const bool opened = source && openMedias(source->createMedias());
    setDisableVideo(true);
    return opened && !medias().isEmpty();
}

// --- Structure ---

LMMediaTime LMFFMovie::duration() const
{
    std::lock_guard lock(d->state);
    return d->duration;
}

QList<LMMedia::Ptr> LMFFMovie::videos() const
{
    std::lock_guard lock(d->state);
    QList<LMMedia::Ptr> result;
    for (const auto& m : d->medias) {
        if (!m->videos().isEmpty()) {
            result << m;
        }
    }
    return result;
}

QList<LMMedia::Ptr> LMFFMovie::audios() const
{
    std::lock_guard lock(d->state);
    QList<LMMedia::Ptr> result;
    for (const auto& m : d->medias) {
        if (!m->audios().isEmpty()) {
            result << m;
        }
    }
    return result;
}

QList<LMMedia::Ptr> LMFFMovie::medias() const
{
    std::lock_guard lock(d->state);
    return d->medias;
}

QList<LMStreamInfo> LMFFMovie::audioStreams() const
{
    std::lock_guard lock(d->state);
    return d->audioStreams;
}

int32_t LMFFMovie::audioCodec() const
{
    std::lock_guard lock(d->state);
    if (d->audioStreams.isEmpty()) {
        return 0;
    }
    return d->audioStreams.value(qBound(0, d->selectedAudio, int(d->audioStreams.size()) - 1))
        .codecId;
}

int32_t LMFFMovie::videoCodec() const
{
    std::lock_guard lock(d->state);
    return d->videoMedia ? d->videoStream.codecId : 0;
}

void LMFFMovie::setSelectAudioStreams(const IndexSet& streams)
{
    {
        std::lock_guard lock(d->state);
        const int selected = streams.isEmpty() ? 0 : streams.first();
        if (selected == d->selectedAudio) {
            return;
        }
        d->selectedAudio = selected;
    }
    // Readers of the old stream are dropped and reopened on the new one.
    d->releaseAudioReader();
    {
        std::lock_guard lock(d->packetMutex);
        d->packetReader = VideoFrameReader();
        d->packetOpened = false;
    }
}

LMFFMovie::IndexSet LMFFMovie::selectAudioStreams() const
{
    std::lock_guard lock(d->state);
    return {d->selectedAudio};
}

void LMFFMovie::setSelectSubtitleStreams(const std::optional<IndexSet>& streams)
{
    std::lock_guard lock(d->state);
    d->subtitleSelection = streams;
}

std::optional<LMFFMovie::IndexSet> LMFFMovie::selectSubtitleStreams() const
{
    std::lock_guard lock(d->state);
    return d->subtitleSelection;
}

// --- Edits ---

#define LM_CHAIN_PROPERTY(Type, getter, setter, field) \
    Type LMFFMovie::getter() const                     \
    {                                                  \
        std::lock_guard lock(d->state);                \
        return d->edits.field;                         \
    }                                                  \
    void LMFFMovie::setter(Type v)                     \
    {                                                  \
        d->setChainValue(&EditSettings::field, v);     \
    }

#define LM_CHAIN_PROPERTY_REF(Type, getter, setter, field) \
    Type LMFFMovie::getter() const                         \
    {                                                      \
        std::lock_guard lock(d->state);                    \
        return d->edits.field;                             \
    }                                                      \
    void LMFFMovie::setter(const Type& v)                  \
    {                                                      \
        d->setChainValue(&EditSettings::field, v);         \
    }

LM_CHAIN_PROPERTY(bool, hflip, setHflip, hflip)
LM_CHAIN_PROPERTY(bool, vflip, setVflip, vflip)
LM_CHAIN_PROPERTY(float, rotate, setRotate, rotate)
LM_CHAIN_PROPERTY(float, brightness, setBrightness, brightness)
LM_CHAIN_PROPERTY(float, saturation, setSaturation, saturation)
LM_CHAIN_PROPERTY(float, contrast, setContrast, contrast)
LM_CHAIN_PROPERTY(float, hue, setHue, hue)
LM_CHAIN_PROPERTY(int, zoomType, setZoomType, zoomType)
LM_CHAIN_PROPERTY(int, aspectType, setAspectType, aspectType)
LM_CHAIN_PROPERTY(int, subtitlePosition, setSubtitlePosition, subtitlePosition)
LM_CHAIN_PROPERTY_REF(QString, effectName, setEffectName, effectName)
LM_CHAIN_PROPERTY_REF(QRectF, cropRect, setCropRect, cropRect)
LM_CHAIN_PROPERTY_REF(QSizeF, videoSize, setVideoSize, videoSize)

int LMFFMovie::displayRotation() const
{
    std::lock_guard lock(d->state);
    return d->edits.displayRotation;
}
QList<std::optional<LMMediaTime>> LMFFMovie::keyFrameTimesAtOrBefore(
    const QList<LMMediaTime>& times) const
{
    LMMedia::Ptr media;
    LMStreamInfo stream;
    {
        std::lock_guard lock(d->state);
        media = d->videoMedia;
        stream = d->videoStream;
    }
    QList<std::optional<LMMediaTime>> keys(times.size());
    lumenta::VideoFrameReader reader;
    if (!media ||
        !reader.open(media->url(), stream.index, media->startTime(), media->duration(), 1)) {
        return keys;
    }
    for (qsizetype i = 0; i < times.size(); ++i) {
        const LMMediaTime key = reader.keyFrameAtOrBefore(times[i]);
        if (key != AV_NOPTS_VALUE) {
            keys[i] = key;
        }
    }
    return keys;
}

LM_CHAIN_PROPERTY_REF(QSizeF, outputVideoSize, setOutputVideoSize, outputVideoSize)
LM_CHAIN_PROPERTY_REF(QColor, subtitleColor, setSubtitleColor, subtitleColor)

QFont LMFFMovie::subtitleFont() const
{
    std::lock_guard lock(d->state);
    return d->edits.subtitleFont.value_or(QFont());
}

void LMFFMovie::setSubtitleFont(const QFont& v)
{
    d->setChainValue(&EditSettings::subtitleFont, std::optional<QFont>(v));
}

float LMFFMovie::volume() const
{
    std::lock_guard lock(d->state);
    return d->volume;
}

void LMFFMovie::setVolume(float v)
{
    std::lock_guard lock(d->state);
    d->volume = qBound(0.0f, v, 3.0f);
    d->playback.setGain(d->volume);
}

LMPicture LMFFMovie::watermark() const
{
    std::lock_guard lock(d->state);
    return d->edits.watermark;
}

void LMFFMovie::setWatermark(const LMPicture& v)
{
    std::function<void()> observer;
    QList<std::function<void()>> others;
    {
        std::lock_guard lock(d->state);
        d->edits.watermark = v;
        observer = d->watermarkObserver;
        others = d->watermarkObservers.values();
    }
    if (observer) {
        observer();
    }
    for (const auto& other : others) {
        other();
    }
}

void LMFFMovie::setWatermarkObserver(std::function<void()> observer)
{
    std::lock_guard lock(d->state);
    d->watermarkObserver = std::move(observer);
}

quint64 LMFFMovie::addWatermarkObserver(std::function<void()> observer)
{
    std::lock_guard lock(d->state);
    const quint64 token = ++d->lastWatermarkToken;
    d->watermarkObservers.insert(token, std::move(observer));
    return token;
}

void LMFFMovie::removeWatermarkObserver(quint64 token)
{
    std::lock_guard lock(d->state);
    d->watermarkObservers.remove(token);
}

// --- Subtitles ---

bool LMFFMovie::openSubtitle(const QString& path)
{
    if (path.isEmpty()) {
        std::lock_guard lock(d->state);
        d->subtitleContent.clear();
        d->subtitleError.clear();
        if (!d->edits.subtitleFile.isEmpty()) {
            QFile::remove(d->edits.subtitleFile);
            d->edits.subtitleFile.clear();
            ++d->edits.chainVersion;
        }
        return true;
    }
    QString error;
    const std::optional<QByteArray> content = BoundedFile::read(path, MaximumSubtitleBytes, &error);
    QString encoding;
    QString copy;
    {
        std::lock_guard lock(d->state);
        encoding = d->edits.subtitleEncoding;
        if (!d->subtitleDir) {
            d->subtitleDir = std::make_unique<QTemporaryDir>(
                QDir::tempPath() + QStringLiteral("/lumenta-subtitle-XXXXXX"));
        }
        copy = d->subtitleDir->filePath(QStringLiteral("subtitle-%1.%2")
                                            .arg(++d->subtitleCount)
                                            .arg(QFileInfo(path).suffix().toLower()));
    }
    if (content) {
        QFile out(copy);
        if (!d->subtitleDir->isValid() || !out.open(QIODevice::WriteOnly) ||
            out.write(*content) != content->size()) {
            error = QStringLiteral("a copy of the subtitle cannot be kept");
        }
    }
    if (content && error.isEmpty()) {
        error = subtitleProblem(copy, *content, encoding);
    }
    if (!error.isEmpty()) {
        QFile::remove(copy);
        qWarning().noquote() << "Lumenta: the subtitle file" << path << "is refused:" << error;
        std::lock_guard lock(d->state);
        d->subtitleError = error;
        return false;
    }
    // A file in the chosen encoding goes to the renderer as it is, with that
    // encoding.
    const QString drawn = encoding.isEmpty() ? SubtitleAssCopy::forRenderer(copy) : copy;
    if (drawn != copy) {
        QFile::remove(copy);
    }
    std::lock_guard lock(d->state);
    if (!d->edits.subtitleFile.isEmpty()) {
        QFile::remove(d->edits.subtitleFile);
    }
    d->edits.subtitleFile = drawn;
    d->subtitleContent = *content;
    d->subtitleError.clear();
    ++d->edits.chainVersion;
    return true;
}

QString LMFFMovie::subtitleError() const
{
    std::lock_guard lock(d->state);
    return d->subtitleError;
}

bool LMFFMovie::hasSubtitle() const
{
    std::lock_guard lock(d->state);
    return !d->edits.subtitleFile.isEmpty();
}

Value LMFFMovie::subtitle() const
{
    std::lock_guard lock(d->state);
    return d->edits.subtitleFile.isEmpty() ? Value() : Value(QString::fromUtf8(d->subtitleContent));
}

void LMFFMovie::setSubtitleEncoding(const QString& encoding)
{
    d->setChainValue(&EditSettings::subtitleEncoding, encoding);
}

// --- Decoding ---

void LMFFMovie::Impl::serveDecode(LMMediaTime time, IFrameProvider* provider, bool mayPipeline)
{
    if (!provider) {
        return;
    }
    const EditSettings settings = snapshot();
    const AVFrame* frame = nullptr;
    bool video = false;
    bool exporting = false;
    LMMedia::Ptr media;
    LMStreamInfo stream;
    {
        std::lock_guard lock(state);
        video = hasVideoStream() && !disableVideo;
        exporting = exportMovie;
        media = videoMedia;
        stream = videoStream;
    }
    if (video) {
        if (!decodeOpened) {
            decodeOpened = true;
            decodeReader.open(media->url(), stream.index, media->startTime(), media->duration(),
                              lm_get_export_decoder_threads());
        }
        frame = decodeReader.frameAt(time);
        if (frame) {
            LMMediaTime seen = maxVideoTime.load();
            while (frame->pts > seen && !maxVideoTime.compare_exchange_weak(seen, frame->pts)) {
            }
        }
    }
    if (frame) {
        const bool wantsRaw = provider->wantsMediaImage();
        const bool quarter = settings.displayRotation == 90 || settings.displayRotation == 270;
        const int width = quarter ? frame->height : frame->width;
        const int height = quarter ? frame->width : frame->height;
        const int bytes = width * height * 4;
        uint8_t* buffer = provider->movieFormatSize(owner, {width, height, AV_PIX_FMT_BGRA}, bytes);
        if (wantsRaw || buffer) {
            const QImage raw = VideoEditChain::turnedForDisplay(VideoEditChain::plainImage(frame),
                                                                settings.displayRotation);
            if (buffer && !raw.isNull()) {
                for (int y = 0; y < raw.height(); ++y) {
                    std::memcpy(buffer + static_cast<ptrdiff_t>(y) * raw.width() * 4,
                                raw.constScanLine(y), static_cast<size_t>(raw.width()) * 4);
                }
            }
            if (wantsRaw) {
                provider->mediaImage(owner, raw);
            }
        }
    }
    if (mayPipeline && exporting && !provider->wantsMediaImage() && !editPipelineRefused) {
        if (!editPipeline) {
            editPipeline = std::make_unique<EditPipeline>(lm_get_export_threads());
        }
        if (!editPipeline->isRunning()) {
            // No thread of its own could be had: the frames are edited here.
            qWarning("Lumenta: no thread for editing an export's frames; editing them in turn");
            editPipeline.reset();
            editPipelineRefused = true;
        }
    }
    if (editPipeline && mayPipeline && exporting && !provider->wantsMediaImage()) {
        FramePtr reference(frame ? av_frame_clone(frame) : nullptr);
        editPipeline->submit(std::move(reference), decodeReader.sampleAspect(), settings,
                             provider->drawingSurfaceSize(owner),
                             provider->takesSurfaceFrames(owner),
                             [this, provider](const QImage& picture,
                                              const std::shared_ptr<const AVFrame>& surfaceFrame) {
                                 if (surfaceFrame) {
                                     provider->mediaEffectFrame(owner, surfaceFrame);
                                 } else {
                                     provider->mediaEffectImage(owner, picture);
                                 }
                             });
        return;
    }
    if (editPipeline) {
        editPipeline->drain();  // the answers before this one go first
    }
    QImage edited;
    std::shared_ptr<const AVFrame> surfaceFrame;
    if (frame) {
        edited = decodeChain.apply(frame, decodeReader.sampleAspect(), settings,
                                   provider->drawingSurfaceSize(owner),
                                   provider->takesSurfaceFrames(owner) ? &surfaceFrame : nullptr);
    }
    if (surfaceFrame) {
        provider->mediaEffectFrame(owner, surfaceFrame);
    } else {
        provider->mediaEffectImage(owner, edited);
    }
}

void LMFFMovie::decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool waitUntilDone)
{
    if (!provider) {
        return;
    }
    d->ensureWorker();
    if (waitUntilDone) {
        d->worker->postAndWait([this, time, provider] { d->serveDecode(time, provider, false); });
    } else {
        d->worker->post([this, time, provider] { d->serveDecode(time, provider, true); });
    }
}

QImage LMFFMovie::thumbnailAtTime(LMMediaTime time, const QSize& size)
{
    LMMedia::Ptr media;
    LMStreamInfo stream;
    {
        std::lock_guard lock(d->state);
        media = d->videoMedia;
        stream = d->videoStream;
    }
    if (!media) {
        return {};
    }
    std::lock_guard lock(d->thumbMutex);
    if (!d->thumbOpened) {
        // One decoding thread: many clips of a project may make thumbnails.
        d->thumbOpened = true;
        d->thumbReader.open(media->url(), stream.index, media->startTime(), media->duration(), 1);
    }
    OpenThumbnailReaders::instance().used(d.get());
    const AVFrame* frame =
        d->thumbReader.frameAt(qMin(time, qMax<LMMediaTime>(0, media->duration() - 1)));
    if (!frame) {
        return {};
    }
    QImage image = d->thumbChain.apply(frame, d->thumbReader.sampleAspect(), d->snapshot());
    if (!image.isNull() && size.width() > 0 && size.height() > 0 && size != image.size()) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

LMMediaTime LMFFMovie::currentVideoMediaMaxTime() const
{
    return d->maxVideoTime.load();
}

// --- Direct path ---

std::unique_ptr<LMFFItem> LMFFMovie::Impl::readDirectItem(bool decode)
{
    auto data = std::make_unique<LMFFItem::Data>();
    data->video = true;
    if (decode) {
        data->frame = directReader.nextFrame();
        if (!data->frame) {
            return nullptr;
        }
        data->time = data->frame->pts;
        data->frameDuration = directReader.frameDuration();
    } else {
        data->packet = directReader.nextPacket();
        if (!data->packet) {
            return nullptr;
        }
        data->timeBase = directReader.timeBase();
        data->containerStart = directReader.containerStart();
        const int64_t pts =
            data->packet->pts != AV_NOPTS_VALUE ? data->packet->pts : data->packet->dts;
        data->time = pts == AV_NOPTS_VALUE
                         ? directLast
                         : av_rescale_q(pts, data->timeBase, AVRational{1, AV_TIME_BASE}) -
                               data->containerStart;
    }
    return std::make_unique<LMFFItem>(std::move(data));
}

void LMFFMovie::decodeImageAtTime(LMMediaTime time, bool decode,
                                  const std::function<void(LMFFItem*)>& action)
{
    LMMedia::Ptr media;
    LMStreamInfo stream;
    {
        std::lock_guard lock(d->state);
        media = d->videoMedia;
        stream = d->videoStream;
    }
    std::lock_guard lock(d->directMutex);
    if (!media) {
        action(nullptr);
        return;
    }
    if (!d->directOpened) {
        d->directOpened = true;
        d->directReader.open(media->url(), stream.index, media->startTime(), media->duration(),
                             lm_get_export_decoder_threads());
    }
    const LMMediaTime frame = d->directReader.frameDuration();
    if (!d->directPositioned || time + frame < d->directLast ||
        time > d->directLast + 5 * AV_TIME_BASE) {
        d->directReader.seek(time);
        d->pending.reset();
        d->directPositioned = true;
        d->directLast = time;
    }
    const LMMediaTime limit = time + frame / 2;
    int delivered = 0;
    for (;;) {
        std::unique_ptr<LMFFItem> item =
            d->pending ? std::move(d->pending) : d->readDirectItem(decode);
        if (!item) {
            if (delivered == 0) {
                action(nullptr);
            }
            return;
        }
        if (item->time() > limit && delivered > 0) {
            d->pending = std::move(item);
            return;
        }
        d->directLast = qMax(d->directLast, item->time());
        LMMediaTime seen = d->maxVideoTime.load();
        while (item->time() > seen && !d->maxVideoTime.compare_exchange_weak(seen, item->time())) {
        }
        action(item.get());
        ++delivered;
        if (item->time() > limit) {
            return;
        }
    }
}

bool LMFFMovie::copy_video_stream() const
{
    std::lock_guard lock(d->state);
    return d->copyVideo;
}

bool LMFFMovie::copy_audio_stream() const
{
    std::lock_guard lock(d->state);
    return d->copyAudio;
}

std::unique_ptr<LMFFItem> LMFFMovie::readNextAudioPacket()
{
    LMMedia::Ptr media;
    int index = -1;
    {
        std::lock_guard lock(d->state);
        media = d->audioMedia;
        index = d->audioStreamIndex();
    }
    if (!media || index < 0) {
        return nullptr;
    }
    std::lock_guard lock(d->packetMutex);
    if (!d->packetOpened) {
        d->packetOpened = true;
        d->packetReader.open(media->url(), index, media->startTime(), media->duration(), 1);
        d->packetNeedsSeek = true;
    }
    if (d->packetNeedsSeek) {
        d->packetNeedsSeek = false;
        d->packetReader.seek(d->position.load());
    }
    auto data = std::make_unique<LMFFItem::Data>();
    data->video = false;
    data->packet = d->packetReader.nextPacket();
    if (!data->packet) {
        return nullptr;
    }
    data->timeBase = d->packetReader.timeBase();
    data->containerStart = d->packetReader.containerStart();
    const int64_t pts = data->packet->pts != AV_NOPTS_VALUE ? data->packet->pts : data->packet->dts;
    if (pts != AV_NOPTS_VALUE) {
        data->time =
            av_rescale_q(pts, data->timeBase, AVRational{1, AV_TIME_BASE}) - data->containerStart;
        d->position = data->time + av_rescale_q(data->packet->duration, data->timeBase,
                                                AVRational{1, AV_TIME_BASE});
    }
    return std::make_unique<LMFFItem>(std::move(data));
}

// --- Playing ---

void LMFFMovie::play()
{
    LMMedia::Ptr media;
    int index = -1;
    LMMediaTime end = 0;
    {
        std::lock_guard lock(d->state);
        media = d->audioMedia;
        index = d->audioStreamIndex();
        end = d->duration;
    }
    d->playback.play(media, index, end);
}

void LMFFMovie::pause()
{
    d->playback.pause();
    d->position = d->playback.position();
}

void LMFFMovie::stop()
{
    d->playback.pause();
    d->playback.setPosition(0);
    d->position = 0;
}

bool LMFFMovie::isPlay() const
{
    return d->playback.isPlaying();
}

LMMediaTime LMFFMovie::currentTime() const
{
    // While playing, the clock runs on past the end (silence): the players
    // see the time pass the duration and decide to loop or stop.
    if (d->playback.isPlaying()) {
        return d->playback.position();
    }
    return d->position.load();
}

void LMFFMovie::setCurrentTime(LMMediaTime time)
{
    time = qMax<LMMediaTime>(time, 0);
    d->position = time;
    d->playback.setPosition(time);
    {
        std::lock_guard lock(d->audioMutex);
        if (d->audioOpened) {
            d->audioReader.seek(time);
        }
    }
    std::lock_guard lock(d->packetMutex);
    d->packetNeedsSeek = true;
}

void LMFFMovie::setPlayVolume(double volume)
{
    d->playback.setPlayVolume(volume);
}

// --- Export ---

void LMFFMovie::configOutputFormat(const LMFFAudioFormat& format)
{
    std::lock_guard lock(d->audioMutex);
    d->audioFormat = format;
    d->audioFormatDirty = true;
}

LMFFAudioFormat LMFFMovie::outputAudioFormat() const
{
    std::lock_guard lock(d->audioMutex);
    return d->audioFormat;
}

bool LMFFMovie::readSample(uint8_t* buffer, int nbStream, int frames)
{
    std::lock_guard lock(d->audioMutex);
    const int bytes = sampleBytes(d->audioFormat, frames);
    LMMedia::Ptr media;
    int index = -1;
    float gain = 1.0f;
    {
        std::lock_guard stateLock(d->state);
        media = d->audioMedia;
        index = d->audioStreamIndex();
        gain = d->volume;
    }
    int got = 0;
    if (buffer && bytes > 0 && media && index >= 0) {
        if (!d->audioOpened) {
            d->audioOpened = true;
            if (d->audioReader.open(media->url(), index, media->startTime())) {
                d->audioFormatDirty = true;
            }
        }
        if (d->audioFormatDirty && d->audioReader.isOpen()) {
            d->audioFormatDirty = false;
            d->audioReader.setOutputFormat(d->audioFormat);
            d->audioReader.seek(d->position.load());
        }
        got = d->audioReader.read(buffer, frames, gain);
        if (d->audioReader.isOpen()) {
            d->position = d->audioReader.position();
        }
    }
    if (buffer && bytes > 0) {
        const int filled = sampleBytes(d->audioFormat, got);
        std::memset(buffer + filled, 0, static_cast<size_t>(bytes - filled));
    }
    return got > 0;
}

void LMFFMovie::setDisableVideo(bool v)
{
    std::lock_guard lock(d->state);
    d->disableVideo = v;
}

bool LMFFMovie::disableVideo() const
{
    std::lock_guard lock(d->state);
    return d->disableVideo;
}

void LMFFMovie::setExportMovie(bool v)
{
    bool ended = false;
    {
        std::lock_guard lock(d->state);
        ended = d->exportMovie && !v;
        d->exportMovie = v;
    }
    if (ended) {
        d->releaseExportReaders();
        // The export's decoder and editing threads go too, not after a pause.
        if (d->worker) {
            d->worker->post([this] { d->releaseDecodeReader(); });
        }
    }
}

void LMFFMovie::setCopy_audio_stream(bool v)
{
    std::lock_guard lock(d->state);
    d->copyAudio = v;
}

void LMFFMovie::setCopy_video_stream(bool v)
{
    std::lock_guard lock(d->state);
    d->copyVideo = v;
}

void LMFFMovie::flushOperation()
{
    const LMMediaTime time = d->position.load();
    {
        std::lock_guard lock(d->audioMutex);
        if (d->audioOpened) {
            d->audioReader.seek(time);
        }
    }
    {
        std::lock_guard lock(d->packetMutex);
        d->packetNeedsSeek = true;
    }
    std::lock_guard lock(d->directMutex);
    d->directPositioned = false;
    d->pending.reset();
    d->maxVideoTime = 0;
}
