#include "media/ImageRenderVideo.h"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>
#include <cmath>

#include "corvane/DVDMenu.h"
#include "lumenta/IFrameProvider.h"
#include "media/AudioPlayer.h"
#include "media/ImageItemRenderCtrl.h"
#include "media/RenderItem.h"
#include "platform/Numeric.h"

namespace {

LMMediaTime toMediaTime(double seconds)
{
    return saturatingCast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base()));
}

}  // namespace

ImageRenderVideo::ImageRenderVideo() : ImageRenderVideo(nullptr) {}

ImageRenderVideo::ImageRenderVideo(std::shared_ptr<RenderItem> imageRender)
    : m_imageRender(std::move(imageRender)),
      m_player(std::make_shared<AutoTimePlayer>()),
      m_canvas(DVDMenu::menuSizeForAspectType(1)),
      m_stream(std::make_shared<LMMedia>(nullptr, QStringLiteral("slideshow")))
{
}

ImageRenderVideo::~ImageRenderVideo() = default;

std::shared_ptr<RenderItem> ImageRenderVideo::imageRender() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_imageRender;
}

void ImageRenderVideo::setImageRender(std::shared_ptr<RenderItem> item)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_imageRender = std::move(item);
}

AutoTimePlayer::Ptr ImageRenderVideo::player() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_player;
}

void ImageRenderVideo::setPlayer(AutoTimePlayer::Ptr player)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_player = player ? std::move(player) : std::make_shared<AutoTimePlayer>();
}

QList<VCMovie::Ptr> ImageRenderVideo::musicVcMovies() const
{
    const auto item = imageRender();
    return item ? VCMovie::moviesFromMusicPieces(item->audioVcMovies()) : QList<VCMovie::Ptr>();
}

AudioPlayer& ImageRenderVideo::linePlayer()
{
    return AudioPlayer::share();
}

void ImageRenderVideo::clearImageRenderCache()
{
    ImageItemRenderCtrl::share().clearRenderCache();
}

LMMediaTime ImageRenderVideo::duration() const
{
    const auto item = imageRender();
    return item ? toMediaTime(item->slideshowDuration()) : 0;
}

QList<LMMedia::Ptr> ImageRenderVideo::videos() const
{
    return {m_stream};
}

QSizeF ImageRenderVideo::outputVideoSize() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_canvas;
}

void ImageRenderVideo::setOutputVideoSize(const QSizeF& canvas)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_canvas = canvas;
}

QSizeF ImageRenderVideo::videoSize() const
{
    const QSizeF canvas = outputVideoSize();
    const double ratio = canvas.width() / std::max(canvas.height(), 1.0);
    return std::abs(ratio - 4.0 / 3.0) <= 0.1 ? QSizeF(960, 720) : QSizeF(960, 540);
}

bool ImageRenderVideo::drivesLinePlayer() const
{
    const auto* app = QCoreApplication::instance();
    return !m_exportMovie.load() && app && QThread::currentThread() == app->thread();
}

LMMediaTime ImageRenderVideo::currentTime() const
{
    return toMediaTime(player()->currentTime());
}

void ImageRenderVideo::setCurrentTime(LMMediaTime time)
{
    player()->setCurrentTime(lm_ff_time_to_double(time));
    if (drivesLinePlayer()) {
        linePlayer().seek(time);
        clearImageRenderCache();
    } else {
        renderCache()->clearRenderCache();
    }
}

bool ImageRenderVideo::isPlay() const
{
    return player()->isPlay();
}

void ImageRenderVideo::play()
{
    const auto clock = player();
    clock->play();
    if (!drivesLinePlayer()) {
        return;
    }
    AudioPlayer& music = linePlayer();
    music.pause();
    music.updatePlayMovies(musicVcMovies());
    music.seekPlayTime(clock->currentTime());
    music.play();
}

void ImageRenderVideo::pause()
{
    player()->pause();
    if (drivesLinePlayer()) {
        linePlayer().pause();
    }
}

std::shared_ptr<ImageItemRenderCtrl> ImageRenderVideo::renderCache()
{
    if (!m_exportMovie.load()) {
        // The shared cache lives for the process: not owned here.
        return std::shared_ptr<ImageItemRenderCtrl>(std::shared_ptr<void>(),
                                                    &ImageItemRenderCtrl::share());
    }
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_exportCache) {
        m_exportCache = std::make_shared<ImageItemRenderCtrl>();
    }
    return m_exportCache;
}

QImage ImageRenderVideo::frameAtTime(LMMediaTime time)
{
    return renderCache()->render(imageRender(), videoSize(), time);
}

QImage ImageRenderVideo::thumbnailAtTime(LMMediaTime time, const QSize& size)
{
    const QImage frame = frameAtTime(time);
    if (frame.isNull()) {
        return {};
    }
    const QSize target = size.isEmpty() ? videoSize().toSize() : size;
    QImage thumbnail(target, QImage::Format_ARGB32_Premultiplied);
    thumbnail.fill(Qt::transparent);
    QPainter painter(&thumbnail);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(target)), frame);
    painter.end();
    return thumbnail;
}

void ImageRenderVideo::decodeImageAtTime(LMMediaTime time, IFrameProvider* provider)
{
    decodeImageAtTime(time, provider, true);
}

void ImageRenderVideo::decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool)
{
    const QImage frame = frameAtTime(time);
    if (!provider) {
        return;
    }
    if (provider->wantsMediaImage()) {
        provider->mediaImage(this, frame);
    }
    provider->mediaEffectImage(this, frame);
}

LMMediaTime ImageRenderVideo::currentVideoMediaMaxTime() const
{
    return 36000 * lm_default_time_base();
}

void ImageRenderVideo::setExportMovie(bool exportMovie)
{
    m_exportMovie.store(exportMovie);
    if (!exportMovie) {
        // The decoded photos of the export are not needed any more.
        std::lock_guard<std::mutex> guard(m_lock);
        m_exportCache.reset();
    }
}
