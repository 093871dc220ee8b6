#include "media/MoviePlayer.h"

#include <QPointer>

#include "lumenta/LMFFMovie.h"
#include "media/MoviePlayerFrameSink.h"
#include "media/VCMovie.h"

namespace {

// A new frame is asked for on a tick only while fewer requests than this are
// open, so a slow decoder never gathers a queue behind it.
constexpr int kMaxOpenTickRequests = 2;

}  // namespace

MoviePlayer::MoviePlayer(QObject* parent)
    : QObject(parent),
      m_timer(new QTimer(this)),
      m_sink(std::make_shared<MoviePlayerFrameSink>(this))
{
    m_sink->setFrameArrived([this] { frameArrived(); });
    m_timer->setInterval(kTickMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &MoviePlayer::timerUpdateImageMethod);
    m_timer->start();
}

MoviePlayer::~MoviePlayer()
{
    m_timer->stop();
    if (isPlay()) {
        // Nobody would be left to stop the sound.
        movie()->pause();
    }
    watchMovie(nullptr);
    m_sink->detach();
}

void MoviePlayer::setVcMovie(const IMediaItem::Ptr& item)
{
    if (item == m_vcMovie) {
        return;
    }
    m_vcMovie = item;
    m_started = false;
    watchMovie(movie());
    if (!isPlay()) {
        updateImage();
    }
}

IMovie::Ptr MoviePlayer::movie() const
{
    return m_vcMovie ? m_vcMovie->movie() : nullptr;
}

std::shared_ptr<VCMovie> MoviePlayer::vcMovieItem() const
{
    return std::dynamic_pointer_cast<VCMovie>(m_vcMovie);
}

QByteArray MoviePlayer::imageData() const
{
    return m_sink->imageData();
}

QImage MoviePlayer::originImage() const
{
    return m_sink->originImage();
}

QImage MoviePlayer::effectImage() const
{
    return m_sink->effectImage();
}

// --- Playing ---

void MoviePlayer::play()
{
    const IMovie::Ptr m = movie();
    if (!m) {
        return;
    }
    m_vcMovie->setPlayer(this);
    m_started = true;
    watchMovie(m);
    m->play();
}

bool MoviePlayer::isPlay() const
{
    const IMovie::Ptr m = movie();
    if (!m || m_vcMovie->player() != this) {
        return false;
    }
    return m->isPlay() || ranOutAtEnd();
}

void MoviePlayer::pause()
{
    m_started = false;
    if (const IMovie::Ptr m = movie()) {
        m->pause();
    }
    updateImage();
}

void MoviePlayer::stop()
{
    m_started = false;
    if (const IMovie::Ptr m = movie()) {
        m->stop();
    }
    updateImage();
}

LMMediaTime MoviePlayer::duration() const
{
    const IMovie::Ptr m = movie();
    return m ? m->duration() : 0;
}

LMMediaTime MoviePlayer::currentTime() const
{
    return moviePosition();
}

void MoviePlayer::seek(LMMediaTime time)
{
    if (const IMovie::Ptr m = movie()) {
        m->setCurrentTime(time);
    }
    updateImage();
}

bool MoviePlayer::ranOutAtEnd() const
{
    const IMovie::Ptr m = movie();
    if (!m_started || !m || m_vcMovie->player() != this || m->isPlay()) {
        return false;
    }
    const LMMediaTime end = m->duration();
    return end > 0 && m->currentTime() >= end;
}

LMMediaTime MoviePlayer::moviePosition() const
{
    const IMovie::Ptr m = movie();
    if (!m) {
        return 0;
    }
    const LMMediaTime t = m->currentTime();  // may stop a movie that reached its end
    return ranOutAtEnd() ? t + 1 : t;
}

void MoviePlayer::resumeAfterRunOut()
{
    const IMovie::Ptr m = movie();
    if (m_started && m && m_vcMovie->player() == this && !m->isPlay() &&
        m->currentTime() < m->duration()) {
        m->play();
    }
}

// --- Pictures ---

bool MoviePlayer::showThumbnail() const
{
    if (m_isPreview) {
        return false;
    }
    return !(m_vcMovie && m_vcMovie->hasVideo());
}

QRectF MoviePlayer::originVideoRect() const
{
    if (const auto item = vcMovieItem()) {
        return QRectF(QPointF(0, 0), item->rotatedVideoSize());
    }
    const IMovie::Ptr m = movie();
    return m ? QRectF(QPointF(0, 0), m->videoSize()) : QRectF();
}

QRectF MoviePlayer::effectVideoRect() const
{
    if (showThumbnail()) {
        const auto item = vcMovieItem();
        return item ? QRectF(QPointF(0, 0), QSizeF(item->thumbnail().size())) : QRectF();
    }
    return m_vcMovie ? QRectF(QPointF(0, 0), m_vcMovie->videoOutputSize()) : QRectF();
}

void MoviePlayer::updateImage()
{
    const IMovie::Ptr m = movie();
    if (m && m_vcMovie->hasVideo()) {
        if (!m_inTick || m_sink->pendingRequests() < kMaxOpenTickRequests) {
            m_sink->requestStarted(effectVideoRect().size().toSize());
            m->decodeImageAtTime(m->currentTime(), m_sink.get());
        }
    } else {
        QImage picture;
        if (const auto item = vcMovieItem()) {
            picture = item->thumbnail();
        }
        if (!showThumbnail()) {
            const QSize size = effectVideoRect().size().toSize();
            picture = QImage();
            if (!size.isEmpty()) {
                picture = QImage(size, QImage::Format_ARGB32);
                picture.fill(Qt::black);
            }
        }
        m_sink->setImages(picture, picture);
    }
    imageDidFlushInPlayer(this);
}

void MoviePlayer::frameArrived()
{
    // While playing, the next tick tells the delegate.
    if (!isPlay()) {
        imageDidFlushInPlayer(this);
    }
}

void MoviePlayer::imageDidFlushInPlayer(MoviePlayer* player)
{
    if (m_delegate) {
        m_delegate->imageDidFlushInPlayer(player);
    }
}

void MoviePlayer::timerUpdateImageMethod()
{
    if (!isPlay()) {
        return;
    }
    QPointer<MoviePlayer> self(this);
    m_inTick = true;
    updatePlayerPlaySegment();
    resumeAfterRunOut();
    updatePlayerVolume();
    updateImage();  // the delegate may drop the player here
    if (self) {
        m_inTick = false;
    }
}

void MoviePlayer::clearPlayer()
{
    setVcMovie(nullptr);
}

// --- Range and volume ---

void MoviePlayer::updatePlayerPlaySegment()
{
    const IMovie::Ptr m = movie();
    if (!m) {
        return;
    }
    const LMMediaTime t = moviePosition();
    if (m_isPreview) {
        const double tolerance = 0.1 * static_cast<double>(lm_default_time_base());
        if (t > m_vcMovie->trimStop()) {
            playerIsAfterPreviewTime();
        } else if (static_cast<double>(t) <
                   static_cast<double>(m_vcMovie->trimStart()) - tolerance) {
            playerIsBeforePreviewTime();
        }
    } else if (t > m->duration()) {
        playerTimeIsToEnd();
    }
}

float MoviePlayer::fadeVolume(LMMediaTime t, LMMediaTime trimStart, LMMediaTime trimStop,
                              LMMediaTime fadeIn, LMMediaTime fadeOut)
{
    double v = 1.0;
    const LMMediaTime r = trimStop - t;
    if (r >= 0 && r < fadeOut) {
        v = static_cast<double>(r) / static_cast<double>(qMax<LMMediaTime>(fadeOut, 1));
    }
    const LMMediaTime s = t - trimStart;
    if (s >= 0 && s < fadeIn) {
        v = static_cast<double>(s) / static_cast<double>(qMax<LMMediaTime>(fadeIn, 1));
    }
    return static_cast<float>(qBound(0.0, v, 1.0));
}

void MoviePlayer::updatePlayerVolume()
{
    const IMovie::Ptr m = movie();
    if (!m) {
        return;
    }
    float v = 1.0f;
    if (m_isPreview) {
        v = fadeVolume(moviePosition(), m_vcMovie->trimStart(), m_vcMovie->trimStop(),
                       m_vcMovie->fadeIn(), m_vcMovie->fadeOut());
    }
    m->setPlayVolume(static_cast<double>(v));
}

void MoviePlayer::playerTimeIsToEnd()
{
    seek(0);
}

void MoviePlayer::playerIsAfterPreviewTime()
{
    if (m_vcMovie) {
        seek(m_vcMovie->trimStart());
    }
}

void MoviePlayer::playerIsBeforePreviewTime()
{
    if (m_vcMovie) {
        seek(m_vcMovie->trimStart());
    }
}

// --- Watermark ---

void MoviePlayer::watchMovie(const IMovie::Ptr& movie)
{
    const IMovie::Ptr watched = m_watchedMovie.lock();
    if (watched == movie && (movie || m_watchToken == 0)) {
        return;
    }
    if (auto old = std::dynamic_pointer_cast<LMFFMovie>(watched); old && m_watchToken != 0) {
        old->removeWatermarkObserver(m_watchToken);
    }
    m_watchToken = 0;
    m_watchedMovie = movie;
    auto file = std::dynamic_pointer_cast<LMFFMovie>(movie);
    if (!file) {
        return;
    }
    std::weak_ptr<MoviePlayerFrameSink> sink = m_sink;
    m_watchToken = file->addWatermarkObserver([sink, this] {
        if (auto s = sink.lock()) {
            // A new watermark shows at once on a picture that stands still.
            s->postToOwner([this] {
                if (!isPlay()) {
                    updateImage();
                }
            });
        }
    });
}
