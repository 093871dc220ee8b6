// The conversion loop of VCVideoConverter: runs on the job's thread between
// the opening and the closing of the output, one piece after another.

#include <QDebug>
#include <QElapsedTimer>
#include <QPainter>
#include <chrono>
#include <cstring>
#include <thread>

#include "lumenta/LMFunctions.h"
#include "media/VCVideoConverter.h"

namespace {

constexpr int MissLimit = 50;           // direct-road calls without a new frame
constexpr int AnswerTimeoutMs = 10000;  // a frame request never answered

void sleepMs(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

// The clocks and counters of the piece being converted.
struct VCVideoConverter::Piece {
    std::shared_ptr<LMFFMovieFileOutput> writer;
    IMovie::Ptr movie;
    LMFFMovie* file = nullptr;  // the movie as a file, for the direct road
    bool direct = false;
    LMMediaTime trimStart = 0;
    LMMediaTime trimDuration = 0;
    LMMediaTime timeOffset = 0;  // output time at which the piece starts
    int sampleRate = 10000;
    int frameRate = 1;
    int frameTime = 1;
    int64_t fadeInSamples = 0;
    int64_t fadeOutSamples = 0;
    int64_t pieceSamples = 0;
    int64_t audioDone = 0;
    int64_t audioCarry = 0;  // samples the previous piece wrote past its end
    int64_t videoUnits = 0;
    int outstanding = 0;
    int misses = 0;
    bool keySeen = false;
    LMMediaTime lastMaximum = 0;
    QElapsedTimer sinceAnswer;

    // The output's places are whole frames and a piece may start between two:
    // the time of its first place on its own timeline (less than half a frame
    // before its start at the earliest) is videoTime() + placeShift.
    LMMediaTime placeShift = 0;

    LMMediaTime videoTime() const { return videoUnits * lm_default_time_base() / frameRate; }
    // The source time the current place shows.
    LMMediaTime sourceTime() const
    {
        return trimStart + qMax<LMMediaTime>(0, videoTime() + placeShift);
    }
    // Whether the current place is the piece's: its middle lies before the
    // piece's end, so a piece ends on the place nearest its end.
    bool holdsPlace() const
    {
        const int64_t base = lm_default_time_base();
        return 2 * (videoTime() + placeShift) * frameRate + int64_t(frameTime) * base <=
               2 * trimDuration * frameRate;
    }
    LMMediaTime audioTime() const
    {
        return static_cast<LMMediaTime>(static_cast<double>(audioDone) /
                                        qMax(static_cast<double>(pieceSamples), 1.0) *
                                        static_cast<double>(trimDuration));
    }
};

// --- Audio blocks ---

double VCVideoConverter::fadeGain(int64_t read, int64_t total, int64_t fadeIn, int64_t fadeOut)
{
    double gain = 1.0;
    if (read + fadeOut > total) {
        gain = static_cast<double>(total - read) / qMax(static_cast<double>(fadeOut), 1.0);
    }
    if (fadeIn > read) {
        gain = static_cast<double>(read) / qMax(static_cast<double>(fadeIn), 1.0);
    }
    return qMax(gain, 0.0);
}

bool VCVideoConverter::readMovie(IMovie& movie, std::vector<float>& buffer, int frames,
                                 int64_t read, int64_t total, int64_t fadeIn, int64_t fadeOut)
{
    if (!movie.readSample(reinterpret_cast<uint8_t*>(buffer.data()), 0, frames)) {
        // Silence, never what the buffer held before.
        std::fill(buffer.begin(), buffer.end(), 0.0f);
        return false;
    }
    const double gain = fadeGain(read, total, fadeIn, fadeOut);
    if (gain < 0.99) {
        const auto factor = static_cast<float>(gain);
        for (float& sample : buffer) {
            sample *= factor;
        }
    }
    return true;
}

// --- Frame provider ---

void VCVideoConverter::mediaEffectImage(IMovie*, const QImage& image)
{
    fillImageBufferWithBlock([this, &image](LMDrawContext& context) { drawImage(image, context); });
}

bool VCVideoConverter::takesSurfaceFrames(IMovie* movie) const
{
    return drawingSurfaceSize(movie).isValid();
}

void VCVideoConverter::mediaEffectFrame(IMovie*, const std::shared_ptr<const AVFrame>& frame)
{
    fillImageBufferWithBlock([&frame](LMDrawContext& context) { context.setSurfaceFrame(frame); });
}

QSize VCVideoConverter::drawingSurfaceSize(IMovie*) const
{
    const auto writer = output();
    if (!writer || !writer->isVideoOpen()) {
        return {};
    }
    const LMFFMovieFileOutputFormat format = writer->movieFormat();
    return {format.width, format.height};
}

void VCVideoConverter::fillImageBufferWithBlock(const std::function<void(LMDrawContext&)>& block)
{
    int drop = m_answersToDrop.load();
    while (drop > 0 && !m_answersToDrop.compare_exchange_weak(drop, drop - 1)) {
    }
    if (drop > 0) {
        // Its request was given up on and written as black already.
        ++m_answered;
        m_frameArrived.notify_all();
        return;
    }
    while (!isCanceled()) {
        // Woken as soon as the loop gives a context back; the time limit only
        // lets a cancel be seen.
        VCImagePool::Context context =
            m_imagePool.waitForFreeImageContext(std::chrono::milliseconds(10));
        if (!context) {
            continue;
        }
        block(*context);
        m_imagePool.appendBufferedImageContext(context);
        break;
    }
    ++m_answered;
    {
        std::lock_guard lock(m_frameMutex);  // no wake-up lost between test and wait
    }
    m_frameArrived.notify_all();
}

void VCVideoConverter::drawImage(const QImage& image, LMDrawContext& context) const
{
    const auto writer = output();
    if (image.isNull() || image.width() < 1) {
        context.image().fill(Qt::black);
        return;
    }
    if (writer) {
        writer->drawImage(image, context);
    } else {
        QPainter painter(&context.image());
        painter.drawImage(QRect(QPoint(0, 0), context.image().size()), image);
    }
}

void VCVideoConverter::waitForFrame(int milliseconds)
{
    std::unique_lock lock(m_frameMutex);
    m_frameArrived.wait_for(lock, std::chrono::milliseconds(milliseconds),
                            [this] { return m_imagePool.bufferedCount() > 0 || isCanceled(); });
}

void VCVideoConverter::waitForAnswers()
{
    QElapsedTimer timer;
    timer.start();
    while (m_answered.load() < m_requested.load() && timer.elapsed() < AnswerTimeoutMs) {
        std::unique_lock lock(m_frameMutex);
        m_frameArrived.wait_for(lock, std::chrono::milliseconds(10));
    }
}

// --- The loop ---

void VCVideoConverter::startConverting()
{
    const auto writer = output();
    const LMFFAudioFormat audioFormat = writer ? writer->audioInputFormat() : LMFFAudioFormat{};
    const int channels = qMax(1, lm_get_channel_layout_nb_channels(audioFormat.channel_layout));
    m_audioBuffer.assign(static_cast<size_t>(BlockFrames) * channels, 0.0f);
    m_currentMovieIndex = 0;
    LMMediaTime timeOffset = 0;
    for (const IMediaItem::Ptr& item : validMovies()) {
        {
            std::lock_guard lock(m_lock);
            m_currentMovie = item;
        }
        ++m_currentMovieIndex;
        if (item->trimDuration() <= 0 || !item->movie()) {
            continue;
        }
        Piece piece;
        piece.writer = writer;
        piece.timeOffset = timeOffset;
        convertPiece(item, piece);
        timeOffset += item->trimDuration();
    }
    waitForAnswers();
    {
        std::lock_guard lock(m_lock);
        m_currentMovie = nullptr;
    }
    m_imagePool.clearPool();
}

void VCVideoConverter::convertPiece(const IMediaItem::Ptr& item, Piece& piece)
{
    const int64_t base = lm_default_time_base();
    piece.movie = item->movie();
    piece.file = dynamic_cast<LMFFMovie*>(piece.movie.get());
    piece.direct = m_copyImage && isCanCopyImageForMovie(*item);
    item->updateMovieWatermarkImageIfNeeded();
    const LMFFMovieFileOutputFormat format = movieOutputFormat();
    if (m_hasAudio && piece.writer) {
        piece.sampleRate = piece.writer->audioInputFormat().sample_rate;
        piece.movie->configOutputFormat(piece.writer->audioInputFormat());
    }
    if (m_hasVideo) {
        piece.frameRate = format.framerate;
        piece.frameTime = format.frameTime;
    }
    piece.trimStart = item->trimStart();
    piece.trimDuration = item->trimDuration();
    const auto samples = [&piece](LMMediaTime t) {
        return static_cast<int64_t>(lm_ff_time_to_double(t) * piece.sampleRate);
    };
    piece.fadeInSamples = samples(item->fadeIn());
    piece.fadeOutSamples = samples(item->fadeOut());
    piece.pieceSamples = samples(piece.trimDuration);
    // Both clocks start where the output already is, so that what one piece
    // wrote past its end is taken off the next and the tracks stay together.
    piece.audioCarry =
        qMax<int64_t>(0, m_convertFrames.load() - piece.timeOffset * piece.sampleRate / base);
    piece.audioDone = piece.audioCarry;
    if (m_hasVideo && piece.writer) {
        const LMMediaTime first = piece.writer->video_output_time() - piece.timeOffset;
        piece.videoUnits = qMax<int64_t>(0, first * piece.frameRate / base);
        piece.placeShift = first - piece.videoTime();
    }
    piece.movie->setDisableVideo(!m_hasVideo);
    piece.movie->setExportMovie(true);
    piece.movie->setCopy_audio_stream(m_skipDecodeAudio && m_hasAudio);
    piece.movie->setCopy_video_stream(m_skipDecodeImage && m_hasVideo);
    piece.movie->setCurrentTime(piece.trimStart);
    piece.movie->flushOperation();
    piece.keySeen = !(piece.file && piece.file->copy_video_stream());
    piece.sinceAnswer.start();

    while (!isCanceled() && runPass(piece)) {
    }
    if (piece.direct && piece.writer && !isCanceled() && !piece.file->copy_video_stream()) {
        // Places the source's frames left empty at the piece's end.
        piece.writer->holdImage(piece.timeOffset + piece.trimDuration);
    }
    resetPiece(item);
}

void VCVideoConverter::resetPiece(const IMediaItem::Ptr& item)
{
    const IMovie::Ptr movie = item->movie();
    movie->setDisableVideo(false);
    movie->setExportMovie(false);
    movie->setCopy_audio_stream(false);
    movie->setCopy_video_stream(false);
    movie->setCurrentTime(item->trimStart());
    movie->flushOperation();
}

bool VCVideoConverter::writeOneBufferedContext(Piece& piece)
{
    VCImagePool::Context context = m_imagePool.getBufferedImageContext();
    if (!context) {
        return false;
    }
    if (piece.writer) {
        piece.writer->writeCGContext(*context);
    }
    m_imagePool.appendFreeImageContext(context);
    piece.outstanding = qMax(0, piece.outstanding - 1);
    piece.sinceAnswer.restart();
    return true;
}

// One pass; false when the piece is over.
bool VCVideoConverter::runPass(Piece& piece)
{
    if (!isRunning()) {
        // Paused, or resumed but not started again: hold, waking for a change.
        for (int i = 0; i < 50 && !isRunning() && !isCanceled(); ++i) {
            sleepMs(20);
        }
        return true;
    }
    updateConverterStatus();
    const LMMediaTime videoTime = piece.videoTime();
    const LMMediaTime audioTime = piece.audioTime();
    bool wrote = writeOneBufferedContext(piece);
    if (!wrote && piece.outstanding > 0 && piece.sinceAnswer.elapsed() > AnswerTimeoutMs) {
        // A request the movie never answered: written as a black frame.
        qWarning("A frame request went unanswered; writing black instead");
        if (VCImagePool::Context context = m_imagePool.getFreeImageContext()) {
            context->image().fill(Qt::black);
            m_imagePool.appendBufferedImageContext(context);
            ++m_answersToDrop;
            ++m_answered;
        }
        piece.sinceAnswer.restart();
        return true;
    }
    const LMMediaTime maximum = piece.movie->currentVideoMediaMaxTime();
    if (maximum > piece.lastMaximum) {
        piece.lastMaximum = maximum;
        piece.misses = 0;
    }
    const bool audioOver = audioTime > piece.trimDuration;
    const bool videoOver = videoTime > piece.trimDuration || piece.misses > MissLimit;
    if (audioOver && videoOver) {
        if (piece.outstanding > 0) {
            if (!wrote) {
                waitForFrame(20);
            }
            return true;
        }
        return false;
    }
    bool videoDone = videoOver;
    if (!videoDone && piece.sourceTime() > maximum && videoTime > audioTime) {
        // The decoder has not caught up yet. While the request window has
        // room the audio goes on, so that frames are asked for ahead and
        // decoding, editing, drawing and encoding overlap; only a full window
        // waits for a frame.
        videoDone = true;
        if (piece.outstanding >= ContextCount) {
            if (!wrote) {
                waitForFrame(20);
            }
            return true;
        }
    }
    if (videoDone || videoTime > audioTime + lm_default_time_base()) {
        audioStep(piece);
    } else {
        videoStep(piece, wrote);
    }
    return true;
}

void VCVideoConverter::audioStep(Piece& piece)
{
    const int64_t base = lm_default_time_base();
    int64_t n = BlockFrames;
    if (m_hasAudio && piece.writer && piece.audioTime() < piece.trimDuration) {
        if (m_skipDecodeAudio && piece.file) {
            std::unique_ptr<LMFFItem> packet = piece.file->readNextAudioPacket();
            if (packet) {
                packet->set_movie_real_start_time(piece.trimStart - piece.timeOffset);
                piece.writer->writeAudioPacket(packet.get());
                n = (piece.file->currentTime() - piece.trimStart) * piece.sampleRate / base -
                    piece.audioDone;
                n = qMax<int64_t>(n, 1);
            }
        } else {
            readMovie(*piece.movie, m_audioBuffer, BlockFrames, piece.audioDone - piece.audioCarry,
                      piece.pieceSamples - piece.audioCarry, piece.fadeInSamples,
                      piece.fadeOutSamples);
            piece.writer->writeAudioData(reinterpret_cast<const uint8_t*>(m_audioBuffer.data()));
            m_writtenAudioFrames += BlockFrames;
        }
    }
    m_convertFrames += n;
    piece.audioDone += n;
}

void VCVideoConverter::videoStep(Piece& piece, bool wroteContext)
{
    const int64_t base = lm_default_time_base();
    int64_t advance = piece.frameTime;
    if (m_hasVideo && piece.holdsPlace()) {
        if (piece.outstanding < ContextCount && !piece.direct) {
            ++piece.outstanding;
            ++m_requested;
            piece.movie->decodeImageAtTime(piece.sourceTime(), this, false);
        } else if (piece.direct) {
            bool any = false;
            const LMMediaTime realStart = piece.trimStart - piece.timeOffset;
            const auto writer = piece.writer;
            piece.file->decodeImageAtTime(piece.sourceTime(), !piece.file->copy_video_stream(),
                                          [&](LMFFItem* item) {
                                              if (!item) {
                                                  return;
                                              }
                                              item->set_movie_real_start_time(realStart);
                                              piece.keySeen = piece.keySeen || item->isKeyPacket();
                                              if (piece.keySeen && writer) {
                                                  writer->writeImage(item);
                                              }
                                              any = true;
                                          });
            if (!any && writer && !piece.file->copy_video_stream()) {
                // The source's pictures end before the piece does (a variable
                // rate stream's last frame lasts): that frame fills the rest.
                writer->holdImage(piece.timeOffset + piece.trimDuration);
            }
            // The video clock follows what the writer placed on its timeline.
            const LMMediaTime written = writer ? writer->video_output_time() : 0;
            advance = (written - piece.timeOffset) * piece.frameRate / base - piece.videoUnits;
            piece.misses = any && advance > 0 ? 0 : piece.misses + 1;
            advance = qMax<int64_t>(advance, 0);
        } else {
            advance = 0;  // ten requests out: wait for the decoder
            if (!wroteContext) {
                waitForFrame(20);
            }
        }
    }
    piece.videoUnits += advance;
}
