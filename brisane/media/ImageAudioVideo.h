#pragma once
// A movie whose pictures come from one movie and whose sound from another:
// an encoded slideshow (pictures from its ImageRenderVideo, sound from its
// separately encoded music stream), so the converter needs no special case.
//
// Length, sizes and frames are the video movie's; position and samples the
// audio movie's (its first audio stream, whatever stream is asked for). Seeks
// and the export flags reach both, the audio movie first. Volume and
// watermark are not kept.

#include <memory>
#include <mutex>

#include "lumenta/IMovie.h"

class ImageAudioVideo : public IMovie {
public:
    using Ptr = std::shared_ptr<ImageAudioVideo>;

    ImageAudioVideo() = default;
    ImageAudioVideo(IMovie::Ptr videoMovie, IMovie::Ptr audioMovie);

    IMovie::Ptr videoMovie() const;
    void setVideoMovie(IMovie::Ptr movie);
    IMovie::Ptr audioMovie() const;
    void setAudioMovie(IMovie::Ptr movie);

    // --- IMovie ---
    LMMediaTime duration() const override;
    QList<LMMedia::Ptr> videos() const override;
    QList<LMMedia::Ptr> audios() const override;
    QList<LMMedia::Ptr> medias() const override { return videos() + audios(); }
    QSizeF videoSize() const override;
    QSizeF outputVideoSize() const override;

    LMMediaTime currentTime() const override;
    void setCurrentTime(LMMediaTime time) override;

    void configOutputFormat(const LMFFAudioFormat& format) override;
    bool readSample(uint8_t* buffer, int nbStream, int frames) override;
    void setDisableVideo(bool v) override;
    void setExportMovie(bool v) override;
    void setCopy_audio_stream(bool v) override;
    void setCopy_video_stream(bool v) override;
    void flushOperation() override;

    QImage thumbnailAtTime(LMMediaTime time, const QSize& size) override;
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider) override;
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool waitUntilDone) override;
    LMMediaTime currentVideoMediaMaxTime() const override;

private:
    // The audio movie, then the video movie, each when present.
    template <typename F>
    void forBoth(F action) const
    {
        const auto [video, audio] = movies();
        if (audio) {
            action(*audio);
        }
        if (video) {
            action(*video);
        }
    }
    std::pair<IMovie::Ptr, IMovie::Ptr> movies() const;

    mutable std::mutex m_lock;  // the two movies
    IMovie::Ptr m_videoMovie;
    IMovie::Ptr m_audioMovie;
};
