#include "media/DVDMenuVideo.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "corvane/DVDMenuElement.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/LMDrawContext.h"
#include "media/MenuElementClock.h"

namespace {

// The music is kept where it is while it is at most this far off (seconds).
constexpr double MusicSyncTolerance = 0.2;

LMMediaTime halfSecond()
{
    return static_cast<LMMediaTime>(0.5 * static_cast<double>(lm_default_time_base()));
}

}  // namespace

DVDMenuVideo::Ptr DVDMenuVideo::create(const std::shared_ptr<DVDMenuPage>& menu)
{
    auto source = std::make_shared<DVDMenuVideo>();
    source->m_menu = menu;
    source->m_audioMovie = VCMovie::movieWithEmptyFFMovie();
    return source;
}

QList<DVDMenuVideo::Ptr> DVDMenuVideo::vcmovies(const std::shared_ptr<DVDMenuPage>& menu)
{
    return {create(menu)};
}

// --- Properties ---

VCMovie::Ptr DVDMenuVideo::audioMovie() const
{
    std::lock_guard lock(m_lock);
    return m_audioMovie;
}

void DVDMenuVideo::setAudioMovie(const VCMovie::Ptr& movie)
{
    // Without a sound of its own the menu keeps a silent clock.
    VCMovie::Ptr audio = movie ? movie : VCMovie::movieWithEmptyFFMovie();
    std::lock_guard lock(m_lock);
    m_audioMovie = std::move(audio);
}

IMovie::Ptr DVDMenuVideo::audio() const
{
    const VCMovie::Ptr item = audioMovie();
    return item ? item->movie() : nullptr;
}

VCMovie::Ptr DVDMenuVideo::menuMusicMovie() const
{
    // The page's "music", then that music's "vcmovie".
    static const QString musicKey = QStringLiteral("music");
    static const QString movieKey = QStringLiteral("vcmovie");
    if (!m_menu || !m_menu->propertyTable().contains(musicKey)) {
        return nullptr;
    }
    const ObjectPtr music = m_menu->valueForKey(musicKey).object();
    if (!music || !music->propertyTable().contains(movieKey)) {
        return nullptr;
    }
    return music->valueForKey(movieKey).objectAs<VCMovie>();
}

IMovie::Ptr DVDMenuVideo::menuMusic() const
{
    const VCMovie::Ptr music = menuMusicMovie();
    return music ? music->movie() : nullptr;
}

QList<VCMovie::Ptr> DVDMenuVideo::musicVcMovies() const
{
    QList<VCMovie::Ptr> copies;
    const VCMovie::Ptr music = menuMusicMovie();
    if (!music) {
        return copies;
    }
    const LMMediaTime length = trimDuration();
    const LMMediaTime musicLength = music->trimDuration();
    const LMMediaTime half = halfSecond();
    LMMediaTime covered = 0;
    while (length - covered > half && musicLength > half) {
        auto copy = VCMovie::create();
        copy->setMovie(music->movie());
        copy->setFadeIn(music->fadeIn());
        copy->setFadeOut(music->fadeOut());
        copy->setTrimStart(music->trimStart());
        copy->setTrimStop(music->trimStop());
        covered += musicLength;
        if (covered > length) {
            copy->setTrimStop(copy->trimStop() - (covered - length));
        }
        copies << copy;
    }
    return copies;
}

LMMediaTime DVDMenuVideo::menuLength() const
{
    double seconds = m_menu ? m_menu->duration() : 0.0;
    if (!std::isfinite(seconds) || seconds <= 0.0) {
        seconds = DefaultMenuSeconds;
    }
    seconds = std::max(seconds, MinimumMenuSeconds);
    return static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base()));
}

void DVDMenuVideo::forEachElementClock(const std::function<void(MenuElementClock&)>& action) const
{
    if (!m_menu) {
        return;
    }
    for (const auto& element : m_menu->items()) {
        if (auto* clock = dynamic_cast<MenuElementClock*>(element.get())) {
            action(*clock);
        }
    }
}

// --- IMediaItem ---

IMovie::Ptr DVDMenuVideo::movie() const
{
    return std::const_pointer_cast<DVDMenuVideo>(weak_from_this().lock());
}

QList<IMediaItem::Ptr> DVDMenuVideo::validVCMovies()
{
    if (auto self = weak_from_this().lock()) {
        return {self};
    }
    return {};
}

QSizeF DVDMenuVideo::videoOutputSize() const
{
    return m_menu ? m_menu->menuSize() : QSizeF();
}

// --- IMovie ---

LMMediaTime DVDMenuVideo::currentTime() const
{
    const IMovie::Ptr clock = audio();
    return clock ? clock->currentTime() : 0;
}

void DVDMenuVideo::setCurrentTime(LMMediaTime time)
{
    if (const IMovie::Ptr clock = audio()) {
        clock->setCurrentTime(time);
    }
    forEachElementClock([time](MenuElementClock& element) { element.setCurrentTime(time); });
}

void DVDMenuVideo::setExportMovie(bool on)
{
    if (const IMovie::Ptr clock = audio()) {
        clock->setExportMovie(on);
    }
    forEachElementClock([on](MenuElementClock& element) { element.setExportMovie(on); });
}

void DVDMenuVideo::flushOperation()
{
    if (const IMovie::Ptr clock = audio()) {
        clock->flushOperation();
    }
    forEachElementClock([](MenuElementClock& element) { element.flushOperation(); });
}

void DVDMenuVideo::setDisableVideo(bool)
{
    if (const IMovie::Ptr clock = audio()) {
        clock->setDisableVideo(true);
    }
}

void DVDMenuVideo::configOutputFormat(const LMFFAudioFormat& format)
{
    IMovie::configOutputFormat(format);
    if (const IMovie::Ptr clock = audio()) {
        clock->configOutputFormat(format);
    }
}

bool DVDMenuVideo::readSample(uint8_t* buffer, int, int frames)
{
    if (const IMovie::Ptr clock = audio()) {
        return clock->readSample(buffer, 0, frames);
    }
    return IMovie::readSample(buffer, 0, frames);
}

void DVDMenuVideo::decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool)
{
    if (!provider) {
        return;
    }
    const std::shared_ptr<DVDMenuPage> menu = m_menu;
    provider->fillImageBufferWithBlock([menu, time](LMDrawContext& context) {
        const QImage page = menu ? menu->imageAtTime(time) : QImage();
        QImage& target = context.image();
        // Pool contexts come back with an older frame in them.
        target.fill(Qt::black);
        if (page.isNull()) {
            return;
        }
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(QRectF(0, 0, context.width(), context.height()), page);
    });
}

void DVDMenuVideo::decodeImageAtTime(LMMediaTime time, IFrameProvider* provider)
{
    if (!provider) {
        return;
    }
    const QImage page = m_menu ? m_menu->imageAtTime(time) : QImage();
    if (provider->wantsMediaImage()) {
        provider->mediaImage(this, page);
    }
    provider->mediaEffectImage(this, page);
}

// --- Preview ---

bool DVDMenuVideo::isPlay() const
{
    const IMovie::Ptr clock = audio();
    return clock && clock->isPlay();
}

void DVDMenuVideo::play()
{
    if (const IMovie::Ptr clock = audio()) {
        clock->play();
    }
    if (updatePlayerPlaySegment(true)) {
        if (const IMovie::Ptr music = menuMusic()) {
            music->play();
        }
    }
}

void DVDMenuVideo::pause()
{
    if (const IMovie::Ptr clock = audio()) {
        clock->pause();
    }
    if (const IMovie::Ptr music = menuMusic()) {
        music->pause();
    }
}

void DVDMenuVideo::stop()
{
    if (const IMovie::Ptr clock = audio()) {
        clock->stop();
    }
    if (const IMovie::Ptr music = menuMusic()) {
        music->stop();
    }
}

bool DVDMenuVideo::updatePlayerPlaySegment(bool force)
{
    const VCMovie::Ptr music = menuMusicMovie();
    const IMovie::Ptr player = music ? music->movie() : nullptr;
    if (!player) {
        return false;
    }
    const LMMediaTime musicLength = music->trimDuration();
    if (static_cast<double>(musicLength) <= 0.5 * static_cast<double>(lm_default_time_base())) {
        return false;
    }
    const LMMediaTime menu = menuLength();
    const LMMediaTime time = currentTime();
    const LMMediaTime position = ((time % musicLength) + musicLength) % musicLength;

    // Fade out before the earlier of the music's end and the menu's end (in
    // any round of the music), fade in at each start.
    const LMMediaTime menuTime = ((time % menu) + menu) % menu;
    const double end = std::min(static_cast<double>(menu), static_cast<double>(musicLength));
    const auto remaining =
        std::min(static_cast<LMMediaTime>(end - static_cast<double>(position)), menu - menuTime);
    double volume = 1.0;
    if (remaining < music->fadeOut()) {
        volume = static_cast<double>(remaining) /
                 static_cast<double>(std::max<LMMediaTime>(music->fadeOut(), 1));
    } else if (position < music->fadeIn()) {
        volume = static_cast<double>(position) /
                 static_cast<double>(std::max<LMMediaTime>(music->fadeIn(), 1));
    }
    player->setPlayVolume(std::clamp(volume, 0.0, 1.0));

    const LMMediaTime target = position + music->trimStart();
    const double offset = std::fabs(lm_ff_time_to_double(player->currentTime() - target));
    if (force || offset > MusicSyncTolerance) {
        player->setCurrentTime(target);
    }
    return true;
}
