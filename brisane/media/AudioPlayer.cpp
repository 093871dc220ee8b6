#include "media/AudioPlayer.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>

#include "lumenta/LMMediaTime.h"

AudioPlayer& AudioPlayer::share()
{
    static AudioPlayer* shared = [] {
        auto* player = new AudioPlayer();  // lives for the process
        if (const auto* app = QCoreApplication::instance()) {
            player->moveToThread(app->thread());  // its loop runs on the main thread
        }
        return player;
    }();
    return *shared;
}

AudioPlayer::AudioPlayer() : m_loopTimer(this)
{
    m_loopTimer.setSingleShot(true);
    m_loopTimer.setInterval(LoopIntervalMs);
    connect(&m_loopTimer, &QTimer::timeout, this, &AudioPlayer::updatePlayerPlayLoop);
}

AudioPlayer::~AudioPlayer()
{
    m_loopTimer.stop();
    clearPlayer();
}

void AudioPlayer::updatePlayMovies(const QList<VCMovie::Ptr>& movies)
{
    clearPlayer();
    QList<VCMovie::Ptr> list = movies;
    list.removeAll(nullptr);
    if (list.isEmpty()) {
        list.append(VCMovie::movieWithEmptyFFMovie());
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_playMovies = list;
}

void AudioPlayer::clearPlayer()
{
    pause();
    std::lock_guard<std::mutex> guard(m_lock);
    m_curMovie.reset();
    m_playMovies.clear();
}

IMovie::Ptr AudioPlayer::currentMovie() const
{
    const auto item = cur_movie();
    return item ? item->movie() : nullptr;
}

bool AudioPlayer::isPlay() const
{
    const auto movie = currentMovie();
    return movie && movie->isPlay();
}

void AudioPlayer::play()
{
    updatePlayerPlayLoop();
    if (const auto movie = currentMovie()) {
        movie->play();
    }
    updatePlayerPlayLoop();
}

void AudioPlayer::pause()
{
    if (const auto movie = currentMovie()) {
        movie->pause();
    }
}

LMMediaTime AudioPlayer::currentTime() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_curMovie || !m_curMovie->movie()) {
        return m_curMovieOffsetTime;
    }
    return m_curMovie->movie()->currentTime() - m_curMovie->trimStart() + m_curMovieOffsetTime;
}

double AudioPlayer::playTime() const
{
    return lm_ff_time_to_double(currentTime());
}

void AudioPlayer::seekPlayTime(double seconds)
{
    seek(static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base())));
}

void AudioPlayer::seek(LMMediaTime time)
{
    const QList<VCMovie::Ptr> movies = play_movies();
    LMMediaTime start = 0;
    VCMovie::Ptr chosen;
    for (const auto& item : movies) {
        if (start + item->trimDuration() > time) {
            chosen = item;
            break;
        }
        start += item->trimDuration();
    }
    if (chosen && chosen->movie()) {
        chosen->movie()->setCurrentTime(chosen->trimStart() + (time - start));
    }
    const bool playing = isPlay();
    if (playing) {
        pause();
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_curMovie = chosen;
        m_curMovieOffsetTime = start;
    }
    if (playing && chosen) {
        play();
    }
}

void AudioPlayer::updatePlayerPlayLoop()
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this] { updatePlayerPlayLoop(); }, Qt::QueuedConnection);
        return;
    }
    updatePlayerPlaySegment();
    updatePlayMovieVolume();
    if (isPlay()) {
        m_loopTimer.start();
    } else {
        m_loopTimer.stop();
    }
}

void AudioPlayer::updatePlayerPlaySegment()
{
    const auto item = cur_movie();
    const auto movie = item ? item->movie() : nullptr;
    // A movie ending exactly at the range's end stops there: moving on at the
    // end itself keeps the list going.
    if (movie && movie->currentTime() >= item->trimStop()) {
        seek(currentTime());
    }
}

double AudioPlayer::fadeVolume(const IMediaItem& item, LMMediaTime time)
{
    double volume = 1.0;
    const double remaining = static_cast<double>(item.trimStop() - time);
    if (remaining < static_cast<double>(item.fadeOut())) {
        volume = remaining / static_cast<double>(std::max<LMMediaTime>(item.fadeOut(), 1));
    }
    const double elapsed = static_cast<double>(time - item.trimStart());
    if (elapsed < static_cast<double>(item.fadeIn())) {
        volume = elapsed / static_cast<double>(std::max<LMMediaTime>(item.fadeIn(), 1));
    }
    return std::clamp(volume, 0.0, 1.0);
}

void AudioPlayer::updatePlayMovieVolume()
{
    const auto item = cur_movie();
    const auto movie = item ? item->movie() : nullptr;
    if (movie) {
        movie->setPlayVolume(fadeVolume(*item, movie->currentTime()));
    }
}

QList<VCMovie::Ptr> AudioPlayer::play_movies() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_playMovies;
}

VCMovie::Ptr AudioPlayer::cur_movie() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_curMovie;
}

LMMediaTime AudioPlayer::cur_movie_offset_time() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_curMovieOffsetTime;
}
