#include "media/VideoEditPlayer.h"

#include "media/VCMovie.h"

VideoEditPlayer::VideoEditPlayer(QObject* parent) : MoviePlayer(parent) {}

LMMediaTime VideoEditPlayer::currentTime() const
{
    return moviePosition() - m_oldMovieTrimStart;
}

LMMediaTime VideoEditPlayer::duration() const
{
    return m_oldMovieTrimStop - m_oldMovieTrimStart;
}

void VideoEditPlayer::seek(LMMediaTime time)
{
    if (const IMovie::Ptr m = movie()) {
        m->setCurrentTime(m_oldMovieTrimStart + time);
    }
    updateImage();
}

QRectF VideoEditPlayer::originVideoRect() const
{
    const IMovie::Ptr m = movie();
    return m ? QRectF(QPointF(0, 0), m->videoSize()) : QRectF();
}

QList<std::shared_ptr<MovieTrimItem>> VideoEditPlayer::previewTrimArray() const
{
    const auto item = vcMovieItem();
    if (item && !item->trimArray().isEmpty()) {
        return item->validTrimArray();
    }
    // The whole range as one segment, counted like the segments from the
    // start of the clip's range.
    const IMediaItem::Ptr any = vcMovie();
    if (!any) {
        return {};
    }
    const double start = lm_ff_time_to_double(any->trimStart() - m_oldMovieTrimStart);
    const double length = qMax(lm_ff_time_to_double(any->trimDuration()), 0.0);
    return {std::make_shared<MovieTrimItem>(start, length, lm_ff_time_to_double(any->fadeIn()),
                                            lm_ff_time_to_double(any->fadeOut()))};
}

void VideoEditPlayer::updatePlayerPlaySegment()
{
    if (!movie()) {
        return;
    }
    const LMMediaTime t = moviePosition();
    const QList<std::shared_ptr<MovieTrimItem>> segments = previewTrimArray();
    m_currentTrim = segments.isEmpty() ? nullptr : segments.last();
    for (const auto& segment : segments) {
        if (segment->stopTime() + m_oldMovieTrimStart >= t) {
            m_currentTrim = segment;
            break;
        }
    }
    if (isPreview()) {
        if (!m_currentTrim) {
            return;
        }
        const double tolerance = 0.01 * static_cast<double>(lm_default_time_base());
        const LMMediaTime start = m_currentTrim->startTime() + m_oldMovieTrimStart;
        if (t > m_currentTrim->stopTime() + m_oldMovieTrimStart) {
            playerIsAfterPreviewTime();
        } else if (static_cast<double>(t) < static_cast<double>(start) - tolerance) {
            playerIsBeforePreviewTime();
        }
    } else if (t > m_oldMovieTrimStop) {
        playerTimeIsToEnd();
    }
}

void VideoEditPlayer::playerTimeIsToEnd()
{
    seek(0);
}

void VideoEditPlayer::playerIsAfterPreviewTime()
{
    const QList<std::shared_ptr<MovieTrimItem>> segments = previewTrimArray();
    if (!segments.isEmpty()) {
        seek(segments.first()->startTime());
    }
}

void VideoEditPlayer::playerIsBeforePreviewTime()
{
    if (m_currentTrim) {
        seek(m_currentTrim->startTime());
    }
}
