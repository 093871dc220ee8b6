#include "media/VCVideoConverter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QThread>
#include <cmath>
#include <new>
#include <system_error>
#include <thread>

#include "lumenta/LMFunctions.h"
#include "media/VCMovie.h"
#include "platform/ThreadBudget.h"

namespace {

// The size of the picture as it is shown: a stream of non-square pixels (a
// camcorder's 1440 x 1080 or a DV tape's 720 x 480) is as wide as its sample
// aspect makes it.
QSizeF shownVideoSize(const IMovie& movie)
{
    QSizeF size = movie.videoSize();
    const QList<LMMedia::Ptr> medias = movie.videos();
    if (!medias.isEmpty() && medias.last() && !medias.last()->videos().isEmpty()) {
        const double aspect = medias.last()->videos().first().sampleAspect;
        if (aspect > 0.0) {
            size.setWidth(size.width() * aspect);
        }
    }
    return size;
}

// Removes the part-files that an earlier job for `destination`, ended before
// it could finish (killed, crashed), left beside it: ".<name>-XXXXXX.<suffix>".
void removeStalePartFiles(const QFileInfo& destination)
{
    const QRegularExpression partFile(
        QStringLiteral("^\\.%1-[A-Za-z0-9]{6}\\.%2$")
            .arg(QRegularExpression::escape(destination.completeBaseName()),
                 QRegularExpression::escape(destination.suffix())));
    QDir folder = destination.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (partFile.match(name).hasMatch() && folder.remove(name)) {
            qInfo().noquote() << "Removed the unfinished output" << folder.filePath(name);
        }
    }
}

QString lowerExtension(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

LMMedia::Ptr lastOf(const QList<LMMedia::Ptr>& medias)
{
    return medias.isEmpty() ? nullptr : medias.last();
}

}  // namespace

VCVideoConverter::VCVideoConverter() : m_maximumPieces(ThreadBudget::cores()) {}

VCVideoConverter::~VCVideoConverter()
{
    m_imagePool.clearPool();
}

// --- Setup ---

void VCVideoConverter::setMovies(const QList<IMediaItem::Ptr>& movies)
{
    std::lock_guard lock(m_lock);
    m_movies = movies;
}

QList<IMediaItem::Ptr> VCVideoConverter::movies() const
{
    std::lock_guard lock(m_lock);
    return m_movies;
}

void VCVideoConverter::setPath(const QString& path)
{
    std::lock_guard lock(m_lock);
    m_path = path;
}

QString VCVideoConverter::path() const
{
    std::lock_guard lock(m_lock);
    return m_path;
}

void VCVideoConverter::setMovieOutputFormat(const LMFFMovieFileOutputFormat& format)
{
    std::lock_guard lock(m_lock);
    m_format = format;
}

LMFFMovieFileOutputFormat VCVideoConverter::movieOutputFormat() const
{
    std::lock_guard lock(m_lock);
    return m_format;
}

void VCVideoConverter::setKeyFrameTimes(const QList<LMMediaTime>& times)
{
    std::lock_guard lock(m_lock);
    m_keyFrameTimes = times;
}

QList<LMMediaTime> VCVideoConverter::keyFrameTimes() const
{
    std::lock_guard lock(m_lock);
    return m_keyFrameTimes;
}

IMediaItem::Ptr VCVideoConverter::currentMovie() const
{
    std::lock_guard lock(m_lock);
    return m_currentMovie;
}

std::shared_ptr<LMFFMovieFileOutput> VCVideoConverter::output() const
{
    std::lock_guard lock(m_lock);
    return m_output;
}

LMMediaTime VCVideoConverter::writtenVideoTime() const
{
    const auto writer = output();
    return writer && m_hasVideo ? writer->video_output_time() : 0;
}

bool VCVideoConverter::succeeded() const
{
    std::lock_guard lock(m_lock);
    return m_succeeded;
}

QString VCVideoConverter::errorText() const
{
    std::lock_guard lock(m_lock);
    return m_error;
}

void VCVideoConverter::fail(const QString& text)
{
    qWarning().noquote() << "Conversion to" << path() << "failed:" << text;
    std::lock_guard lock(m_lock);
    if (m_error.isEmpty()) {
        m_error = text;
    }
    m_succeeded = false;
}

void VCVideoConverter::failForLackOfMemory()
{
    // Nothing here may allocate: no message, and a text of static storage.
    std::lock_guard lock(m_lock);
    if (m_error.isEmpty()) {
        m_error = QStringLiteral("there was not enough memory for it");
    }
    m_succeeded = false;
}

// --- Analysis ---

QList<IMediaItem::Ptr> VCVideoConverter::validMovies() const
{
    return VCMovie::moviesFromTrimMovies(movies());
}

const QStringList& VCVideoConverter::copyCodecKeys()
{
    static const QStringList keys = {
        "mp4:video:mpeg4",   "mp4:video:h264",        "#mp4:video:mpeg2video",
        "mp4:audio:ac3",     "mp4:audio:aac",         "#mp4:audio:mp3",
        "#mp4:audio:vorbis", "m4v:video:mpeg4",       "m4v:video:h264",
        "m4v:audio:aac",     "m4v:audio:alac",        "mov:video:mpeg4",
        "mov:video:h264",    "#mov:video:mpeg2video", "#mov:video:flv",
        "#mov:video:qtrle",  "#mov:video:aic",        "#mov:video:wmv3",
        "mov:audio:aac",     "mov:audio:alac",        "mov:audio:mp3",
        "mov:audio:mp2",     "#mov:audio:ac3",        "mkv:video:h264",
        "mkv:video:mpeg4",   "mkv:audio:vorbis",      "mkv:audio:aac",
        "mkv:audio:mp3",     "avi:video:h264",        "avi:video:mpeg4",
        "avi:audio:aac",     "avi:audio:ac3",         "avi:audio:mp3",
        "flv:video:h264",    "flv:video:flv",         "flv:audio:aac",
        "flv:audio:mp3",     "wmv:video:wmv3",        "wmv:video:msmpeg4v2",
        "wmv:video:h264",    "wmv:audio:wmapro",      "wmv:audio:wmav2",
        "asf:video:wmv3",    "asf:video:msmpeg4v2",   "asf:video:h264",
        "asf:audio:wmapro",  "asf:audio:wmav2",       "mpg:video:mpeg2video",
        "#mpg:audio:mp2",    "#mpg:audio:ac3"};
    return keys;
}

bool VCVideoConverter::acceptCodecCopy(const QString& key) const
{
    const bool accepted = copyCodecKeys().contains(key);
    qInfo("codec %d %s", accepted ? 1 : 0, qPrintable(key));
    return accepted;
}

bool VCVideoConverter::can_copy_codec_id(int32_t codecId, bool isVideo) const
{
    // Extensions compare without regard to case: "MP4" copies like "mp4".
    const QString key = QStringLiteral("%1:%2:%3")
                            .arg(lowerExtension(path()),
                                 isVideo ? QStringLiteral("video") : QStringLiteral("audio"),
                                 QString::fromLatin1(lm_get_codec_name_by_id(codecId)));
    return acceptCodecCopy(key);
}

void VCVideoConverter::updateConverterSpeedFast(bool video, bool audio)
{
    m_skipDecodeImage = video;
    m_skipDecodeAudio = audio;
}

void VCVideoConverter::updateConverterContent()
{
    const QList<IMediaItem::Ptr> pieces = validMovies();
    const IMovie::Ptr first = pieces.isEmpty() ? nullptr : pieces.first()->movie();
    LMMediaTime sum = 0;
    for (const auto& piece : pieces) {
        sum += piece->trimDuration();
        if (piece->hasAudio()) {
            m_hasAudio = true;
        }
        if (piece->hasVideo()) {
            m_hasVideo = true;
        }
        const IMovie::Ptr movie = piece->movie();
        if (movie != first) {
            m_skipDecodeAudio = false;
            m_skipDecodeImage = false;
        }
        if (!movie) {
            m_skipDecodeAudio = false;
            m_skipDecodeImage = false;
            continue;
        }
        if (m_skipDecodeAudio && !can_copy_codec_id(movie->audioCodec(), false)) {
            m_skipDecodeAudio = false;
        }
        if (m_skipDecodeImage && !can_copy_codec_id(movie->videoCodec(), true)) {
            m_skipDecodeImage = false;
        }
        const LMMedia::Ptr lastAudio = lastOf(movie->audios());
        if (m_skipDecodeAudio && lastAudio && lastAudio->value("audios.@count").toInt() > 1) {
            m_skipDecodeAudio = false;
        }
    }
    bool anyAudio = false;
    bool anyVideo = false;
    for (const auto& piece : pieces) {
        anyAudio = anyAudio || piece->hasAudio();
        anyVideo = anyVideo || piece->hasVideo();
    }
    const QString extension = lowerExtension(path());
    if (!anyAudio && extension == QLatin1String("dvd")) {
        m_hasAudio = true;  // a DVD stream always gets an audio track
        m_skipDecodeAudio = false;
    }
    if (!anyVideo && extension == QLatin1String("dv")) {
        m_hasVideo = true;
        m_skipDecodeImage = false;
        m_copyImage = false;
    }
    if (m_skipDecodeAudio &&
        lm_get_channel_layout_nb_channels(movieOutputFormat().channel_layout) > 2) {
        m_skipDecodeAudio = false;
    }
    m_duration = sum;
}

bool VCVideoConverter::isNoneEditWithMovie(const IMovie& movie)
{
    if (!movie.watermark().isNull() || movie.hasSubtitle()) {
        return false;
    }
    const auto subtitles = movie.selectSubtitleStreams();
    if (subtitles && !subtitles->isEmpty()) {
        return false;
    }
    const QSizeF crop = movie.cropRect().size();
    const QSizeF video = movie.videoSize();
    if (std::abs(crop.width() - video.width()) > 1.0 ||
        std::abs(crop.height() - video.height()) > 1.0) {
        return false;
    }
    const int zoom = movie.zoomType();
    if (zoom != 1 && (movie.aspectType() != 0 || zoom == 6)) {
        return false;
    }
    if (zoom >= 2 && zoom <= 5) {
        auto ratio = [](const QSizeF& s) { return s.height() / qMax(s.width(), 1.0); };
        const QSizeF reference = zoom == 3   ? QSizeF(1280, 720)
                                 : zoom == 4 ? QSizeF(960, 720)
                                             : shownVideoSize(movie);
        if (std::abs(ratio(movie.outputVideoSize()) - ratio(reference)) > 0.02) {
            return false;
        }
    }
    const auto differs = [](float value, double neutral) {
        return std::abs(static_cast<double>(value) - neutral) > 0.01;
    };
    if (differs(movie.brightness(), 0.5) || differs(movie.saturation(), 0.5) ||
        differs(movie.contrast(), 0.25) || differs(movie.hue(), 0.5)) {
        return false;
    }
    if (std::abs(movie.rotate()) > 0.01f) {
        return false;
    }
    return !movie.hflip() && !movie.vflip();
}

bool VCVideoConverter::isCanCopyImageForMovie(const IMediaItem& piece) const
{
    const auto movie = std::dynamic_pointer_cast<LMFFMovie>(piece.movie());
    // A piece without pictures is composed, so that it still fills its time.
    // A stream turned by its display matrix is turned in the edit chain only.
    if (!movie || !movie->hasVideo() || !isNoneEditWithMovie(*movie) ||
        movie->displayRotation() != 0) {
        return false;
    }
    const LMMedia::Ptr lastVideo = lastOf(movie->videos());
    if (lastVideo && lastVideo->source() && lastVideo->source()->isDVD()) {
        const auto subtitles = movie->selectSubtitleStreams();
        return subtitles && subtitles->isEmpty();
    }
    return true;
}

bool VCVideoConverter::hasInterlacedDirectPiece() const
{
    if (!m_copyImage) {
        return false;
    }
    for (const auto& piece : validMovies()) {
        const auto movie = std::dynamic_pointer_cast<LMFFMovie>(piece->movie());
        const LMMedia::Ptr video = movie ? lastOf(movie->videos()) : nullptr;
        if (video && !video->videos().isEmpty() &&
            video->videos().first().fieldOrder != LMStreamInfo::FieldOrder::Progressive &&
            isCanCopyImageForMovie(*piece)) {
            return true;
        }
    }
    return false;
}

void VCVideoConverter::updateConverterSpeedMode()
{
    bool direct = m_copyImage;
    for (const auto& piece : validMovies()) {
        if (!direct) {
            break;
        }
        direct = isCanCopyImageForMovie(*piece);
    }
    if (!direct) {
        m_skipDecodeImage = false;
        m_skipDecodeAudio = false;
    }
    if (!m_skipDecodeImage) {
        m_skipDecodeAudio = false;
    }
    qInfo("copy %d %d %d", direct ? 1 : 0, m_skipDecodeImage ? 1 : 0, m_skipDecodeAudio ? 1 : 0);
}

// --- Control ---

bool VCVideoConverter::setStatusIf(const std::function<bool(int64_t)>& test,
                                   const std::function<int64_t(int64_t)>& change)
{
    int64_t current = m_status.load();
    while (test(current)) {
        if (m_status.compare_exchange_weak(current, change(current))) {
            return true;
        }
    }
    return false;
}

void VCVideoConverter::startConvert()
{
    if (isExecuting()) {
        m_status = StatusRunning;  // a job held by pause carries on
        updateConverterViewStatus();
        return;
    }
    if (isFinished() || isCanceled()) {
        return;  // a job runs once
    }
    updateConverterContent();
    m_status = StatusRunning;
    updateConverterViewStatus();
    Ptr self = shared_from_this();
    try {
        std::thread([self] { self->startConvertHelper(); }).detach();
    } catch (const std::system_error& error) {
        fail(QStringLiteral("no thread could be started for it (%1)")
                 .arg(QString::fromLocal8Bit(error.what())));
        finishOnMainThread();
    }
}

void VCVideoConverter::pause()
{
    setStatusIf([](int64_t s) { return (s & StatusReady) != 0 || s == StatusRunning; },
                [](int64_t s) { return s | StatusPaused; });
    for (const Ptr& job : pieceJobs()) {
        job->pause();
    }
    if (m_delegate) {
        m_delegate->converterDidPaused(this);
    }
}

void VCVideoConverter::resume()
{
    setStatusIf([](int64_t s) { return (s & StatusPaused) != 0; },
                [](int64_t s) { return (s | StatusReady) & ~int64_t(StatusPaused); });
    for (const Ptr& job : pieceJobs()) {
        job->resume();
    }
    if (m_delegate) {
        m_delegate->converterDidResume(this);
    }
}

void VCVideoConverter::cancel()
{
    setStatusIf([](int64_t s) { return s != StatusFinished && s != StatusCanceled; },
                [](int64_t) { return int64_t(StatusCanceled); });
    m_frameArrived.notify_all();
    for (const Ptr& job : pieceJobs()) {
        job->cancel();
    }
}

double VCVideoConverter::progress() const
{
    const QList<Ptr> pieces = pieceJobs();
    if (!pieces.isEmpty()) {
        // The pictures' pieces by their lengths; the sound is a light job.
        double done = 0.0;
        double total = 0.0;
        for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
            const double length = lm_ff_time_to_double(pieces[i]->duration());
            done += length * pieces[i]->progress();
            total += length;
        }
        return qMin(done / qMax(total, 1e-6), 0.99);
    }
    const auto writer = output();
    const int writerRate = writer ? writer->audioInputFormat().sample_rate : 0;
    const double rate = qMax(writerRate, 10000);
    const auto total = static_cast<int64_t>(rate * lm_ff_time_to_double(m_duration.load()));
    const double done =
        static_cast<double>(m_convertFrames.load()) / qMax(static_cast<double>(total), 1.0);
    return qMin(done, 0.99);
}

void VCVideoConverter::updateConverterStatus()
{
    const double now = QDateTime::currentMSecsSinceEpoch() / 1000.0;
    const double previous = m_lastCalculateTime.load();
    if (now - previous <= 2.0) {
        return;
    }
    m_lastCalculateTime = now;
    const double current = progress();
    const double gained = current - m_lastPercentCalculated.load();
    m_lastPercentCalculated = current;
    // The first estimate has no previous time to measure from.
    if (previous > 0.0) {
        m_timeNeedUse = ((now - previous) / qMax(gained, 0.0001)) * (1.0 - current);
    }
    updateProgressDisplay();
}

// --- The job's thread ---

void VCVideoConverter::startConvertHelper()
{
    if (planPieces() > 1) {
        convertInPieces();
    } else {
        convertHere();
    }
    finishOnMainThread();
}

void VCVideoConverter::convertHere()
{
    // Out of memory, the job fails and the program goes on; the frames still
    // asked for are answered before the output closes.
    try {
        if (!startMovieOutput()) {
            // Nothing can be written: the clocks still run through the pieces.
            m_hasAudio = false;
            m_hasVideo = false;
        }
        startConverting();
    } catch (const std::bad_alloc&) {
        failForLackOfMemory();
        waitForAnswers();
    }
    try {
        stopMovieOutput();
    } catch (const std::bad_alloc&) {
        failForLackOfMemory();
    }
}

void VCVideoConverter::finishOnMainThread()
{
    Ptr self = shared_from_this();
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        stopConvertHelper();
        return;
    }
    QMetaObject::invokeMethod(
        app, [self] { self->stopConvertHelper(); }, Qt::QueuedConnection);
}

void VCVideoConverter::stopConvert()
{
    setStatusIf([](int64_t s) { return s == StatusRunning; },
                [](int64_t) { return int64_t(StatusFinished); });
    updateConverterViewStatus();
}

void VCVideoConverter::stopConvertHelper()
{
    stopConvert();
    if (m_delegate) {
        m_delegate->converterDidFinished(this);
    }
    updateConverterStatus();
}

QString VCVideoConverter::makeTemporaryOutput()
{
    const QString destination = path();
    const QFileInfo info(destination);
    if (destination.isEmpty() || !QDir().mkpath(info.absolutePath())) {
        fail(QStringLiteral("the folder of the destination cannot be made"));
        return {};
    }
    removeStalePartFiles(info);
    // Beside the destination, so that the final rename stays on one file system.
    QTemporaryFile temp(info.absoluteDir().filePath(
        QStringLiteral(".%1-XXXXXX.%2").arg(info.completeBaseName(), info.suffix())));
    temp.setAutoRemove(false);
    if (!temp.open()) {
        fail(QStringLiteral("the destination folder is not writable"));
        return {};
    }
    // The finished file gets the permissions of any new file, not the
    // temporary file's private ones.
    temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    const QString tempPath = temp.fileName();
    temp.close();
    return tempPath;
}

void VCVideoConverter::placeOutput(const QString& tempPath)
{
    const QString destination = path();
    if (!QDir().mkpath(QFileInfo(destination).absolutePath()) ||
        !QFile::rename(tempPath, destination)) {
        fail(QFileInfo::exists(destination)
                 ? QStringLiteral("a file is already at the destination")
                 : QStringLiteral("the output cannot be moved to the destination"));
        return;
    }
    std::lock_guard lock(m_lock);
    m_succeeded = true;
}

bool VCVideoConverter::startMovieOutput()
{
    updateConverterSpeedMode();
    const QString tempPath = makeTemporaryOutput();
    if (tempPath.isEmpty()) {
        return false;
    }

    const LMFFMovieFileOutputFormat format = movieOutputFormat();
    auto writer = std::make_shared<LMFFMovieFileOutput>();
    writer->setPath(tempPath);
    writer->setMovieFormat(format);
    writer->setKeyFrameTimes(keyFrameTimes());
    const QList<IMediaItem::Ptr> pieces = validMovies();
    const IMovie::Ptr lastMovie = pieces.isEmpty() ? nullptr : pieces.last()->movie();
    if (format.framerate >= 1 && format.frameTime >= 1 && m_hasVideo) {
        if (m_skipDecodeImage && lastMovie) {
            writer->copyVideoMedia(lastOf(lastMovie->videos()));
        } else {
            writer->setInterlaced(hasInterlacedDirectPiece());
            writer->openVideo();
        }
        m_hasVideo = writer->isVideoOpen();
    } else {
        m_hasVideo = false;
    }
    if (format.sample_rate > 0 && m_hasAudio) {
        if (m_skipDecodeAudio && lastMovie) {
            writer->copyAudioMedia(lastOf(lastMovie->audios()));
        } else {
            writer->openAudio();
        }
        m_hasAudio = writer->isAudioOpen();
    } else {
        m_hasAudio = false;
    }
    const bool started = (m_hasAudio || m_hasVideo) && writer->startOutput();
    if (!started) {
        m_hasAudio = false;
        m_hasVideo = false;
        QFile::remove(tempPath);
        const QString reason = writer->failureReason();
        fail(reason.isEmpty() ? QStringLiteral("the output file cannot be opened")
                              : QStringLiteral("the output file cannot be opened: %1").arg(reason));
        return false;
    }
    {
        std::lock_guard lock(m_lock);
        m_output = writer;
        m_tempPath = tempPath;
    }
    if (m_hasVideo && !createImageContextPool()) {
        {
            std::lock_guard lock(m_lock);
            m_output.reset();
            m_tempPath.clear();
        }
        writer->stopOutput();
        QFile::remove(tempPath);
        fail(QStringLiteral("there is no memory for its frames"));
        return false;
    }
    return true;
}

bool VCVideoConverter::createImageContextPool()
{
    const auto writer = output();
    for (int i = 0; i < ContextCount; ++i) {
        const std::shared_ptr<LMDrawContext> context = writer->createCGContext();
        if (!context || context->image().isNull()) {
            m_imagePool.clearPool();
            return false;
        }
        m_imagePool.appendFreeImageContext(context);
    }
    return true;
}

void VCVideoConverter::stopMovieOutput()
{
    std::shared_ptr<LMFFMovieFileOutput> writer;
    QString tempPath;
    {
        std::lock_guard lock(m_lock);
        writer = m_output;
        tempPath = m_tempPath;
    }
    if (!writer) {
        return;
    }
    const bool written = writer->stopOutput();
    if (isCanceled()) {
        fail(QStringLiteral("canceled"));
    } else if (!written) {
        const QString reason = writer->failureReason();
        fail(reason.isEmpty()
                 ? QStringLiteral("the output could not be written completely")
                 : QStringLiteral("the output could not be written completely: %1").arg(reason));
    } else {
        placeOutput(tempPath);
    }
    if (QFileInfo::exists(tempPath)) {
        QFile::remove(tempPath);
    }
}
