#include "media/ImageAudioVideo.h"

ImageAudioVideo::ImageAudioVideo(IMovie::Ptr videoMovie, IMovie::Ptr audioMovie)
    : m_videoMovie(std::move(videoMovie)), m_audioMovie(std::move(audioMovie))
{
}

IMovie::Ptr ImageAudioVideo::videoMovie() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_videoMovie;
}

void ImageAudioVideo::setVideoMovie(IMovie::Ptr movie)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_videoMovie = std::move(movie);
}

IMovie::Ptr ImageAudioVideo::audioMovie() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_audioMovie;
}

void ImageAudioVideo::setAudioMovie(IMovie::Ptr movie)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_audioMovie = std::move(movie);
}

std::pair<IMovie::Ptr, IMovie::Ptr> ImageAudioVideo::movies() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return {m_videoMovie, m_audioMovie};
}

LMMediaTime ImageAudioVideo::duration() const
{
    const auto video = videoMovie();
    return video ? video->duration() : 0;
}

QList<LMMedia::Ptr> ImageAudioVideo::videos() const
{
    const auto video = videoMovie();
    return video ? video->videos().mid(0, 1) : QList<LMMedia::Ptr>();
}

QList<LMMedia::Ptr> ImageAudioVideo::audios() const
{
    const auto audio = audioMovie();
    return audio ? audio->audios().mid(0, 1) : QList<LMMedia::Ptr>();
}

QSizeF ImageAudioVideo::videoSize() const
{
    const auto video = videoMovie();
    return video ? video->videoSize() : QSizeF();
}

QSizeF ImageAudioVideo::outputVideoSize() const
{
    const auto video = videoMovie();
    return video ? video->outputVideoSize() : QSizeF();
}

LMMediaTime ImageAudioVideo::currentTime() const
{
    const auto audio = audioMovie();
    return audio ? audio->currentTime() : 0;
}

void ImageAudioVideo::setCurrentTime(LMMediaTime time)
{
    forBoth([time](IMovie& movie) { movie.setCurrentTime(time); });
}

void ImageAudioVideo::configOutputFormat(const LMFFAudioFormat& format)
{
    // The samples come from the audio movie: it must deliver them in the
    // format asked for.
    IMovie::configOutputFormat(format);
    if (const auto audio = audioMovie()) {
        audio->configOutputFormat(format);
    }
}

bool ImageAudioVideo::readSample(uint8_t* buffer, int, int frames)
{
    const auto audio = audioMovie();
    if (!audio) {
        return IMovie::readSample(buffer, 0, frames);
    }
    return audio->readSample(buffer, 0, frames);
}

void ImageAudioVideo::setDisableVideo(bool v)
{
    forBoth([v](IMovie& movie) { movie.setDisableVideo(v); });
}

void ImageAudioVideo::setExportMovie(bool v)
{
    forBoth([v](IMovie& movie) { movie.setExportMovie(v); });
}

void ImageAudioVideo::setCopy_audio_stream(bool v)
{
    forBoth([v](IMovie& movie) { movie.setCopy_audio_stream(v); });
}

void ImageAudioVideo::setCopy_video_stream(bool v)
{
    forBoth([v](IMovie& movie) { movie.setCopy_video_stream(v); });
}

void ImageAudioVideo::flushOperation()
{
    forBoth([](IMovie& movie) { movie.flushOperation(); });
}

QImage ImageAudioVideo::thumbnailAtTime(LMMediaTime time, const QSize& size)
{
    const auto video = videoMovie();
    return video ? video->thumbnailAtTime(time, size) : QImage();
}

void ImageAudioVideo::decodeImageAtTime(LMMediaTime time, IFrameProvider* provider)
{
    if (const auto video = videoMovie()) {
        video->decodeImageAtTime(time, provider);
    } else {
        IMovie::decodeImageAtTime(time, provider);
    }
}

void ImageAudioVideo::decodeImageAtTime(LMMediaTime time, IFrameProvider* provider,
                                        bool waitUntilDone)
{
    if (const auto video = videoMovie()) {
        video->decodeImageAtTime(time, provider, waitUntilDone);
    } else {
        IMovie::decodeImageAtTime(time, provider, waitUntilDone);
    }
}

LMMediaTime ImageAudioVideo::currentVideoMediaMaxTime() const
{
    return 36000 * lm_default_time_base();
}
