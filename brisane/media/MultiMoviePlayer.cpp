#include "media/MultiMoviePlayer.h"

#include "media/VCMovie.h"

MultiMoviePlayer::MultiMoviePlayer(QObject* parent) : MoviePlayer(parent) {}

void MultiMoviePlayer::playMovies(const QList<IMediaItem::Ptr>& items)
{
    m_movies = VCMovie::moviesFromTrimMovies(items);
}

void MultiMoviePlayer::clearPlayer()
{
    m_movies.clear();
    MoviePlayer::clearPlayer();
}

LMMediaTime MultiMoviePlayer::duration() const
{
    LMMediaTime total = 0;
    for (const auto& piece : m_movies) {
        total += piece->trimDuration();
    }
    return total;
}

LMMediaTime MultiMoviePlayer::currentTime() const
{
    const IMediaItem::Ptr piece = vcMovie();
    if (!piece) {
        return m_movieTimeOffset;
    }
    return m_movieTimeOffset + moviePosition() - piece->trimStart();
}

void MultiMoviePlayer::seek(LMMediaTime time)
{
    LMMediaTime start = 0;
    IMediaItem::Ptr chosen;
    for (const auto& piece : m_movies) {
        if (time <= start + piece->trimDuration()) {
            chosen = piece;
            break;
        }
        start += piece->trimDuration();
    }
    if (!chosen) {
        seeK_at_none_movie(time);
        return;
    }
    m_movieTimeOffset = start;
    const LMMediaTime local = chosen->trimStart() + (time - start);
    if (chosen == vcMovie()) {
        MoviePlayer::seek(local);
        return;
    }
    const bool playing = isPlay();
    pause();
    setVcMovie(chosen);
    MoviePlayer::seek(local);
    if (playing) {
        play();
    }
}

void MultiMoviePlayer::seek_movie_time(LMMediaTime time)
{
    MoviePlayer::seek(time);
}

bool MultiMoviePlayer::showThumbnail() const
{
    if (m_movies.size() > 1) {
        return false;
    }
    const IMediaItem::Ptr piece = vcMovie();
    return piece && !piece->hasVideo();
}

void MultiMoviePlayer::updatePlayerPlaySegment()
{
    const IMediaItem::Ptr piece = vcMovie();
    if (isPreview() || !piece) {
        MoviePlayer::updatePlayerPlaySegment();
        return;
    }
    if (moviePosition() > piece->trimStop()) {
        playerTimeIsToEnd();
    }
}

void MultiMoviePlayer::playerIsAfterPreviewTime()
{
    seek(currentTime());
}

void MultiMoviePlayer::playerIsBeforePreviewTime() {}

void MultiMoviePlayer::timeIsAfterAllMovieTime()
{
    if (!m_movies.isEmpty()) {
        seek(0);
    }
}

void MultiMoviePlayer::seeK_at_none_movie(LMMediaTime)
{
    timeIsAfterAllMovieTime();
}
