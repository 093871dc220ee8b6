#pragma once
// A photo slideshow as a movie: one video stream drawn by the slideshow
// renderer, no sound of its own, its length the slideshow's. The play
// position runs on a clock (AutoTimePlayer); while previewed, the slideshow's
// music plays on the shared music player (AudioPlayer::share()).
//
// Frames are rendered synchronously on the calling thread through a cached
// render controller: the shared one (ImageItemRenderCtrl::share()) for the
// players and thumbnails; in export mode (setExportMovie(true), set by the
// converter) one of this movie's own, so the conversion thread shares no state
// with the main thread. The shared music player is only ever touched from the
// main thread and never in export mode: an encoded slideshow gets its music
// from a separately encoded stream (ImageAudioVideo).
//
// Its output size is the canvas of the disc the slideshow belongs to, given
// like every media item's (setOutputVideoSize; a new 16:9 disc's canvas until
// then), and the frames take its shape: 960 x 720 for a 4:3 canvas, 960 x 540
// otherwise. Other edits (watermark, volume, rotation) are not kept; reading
// an unknown key gives null.

#include <QList>
#include <atomic>
#include <memory>
#include <mutex>

#include "lumenta/IMovie.h"
#include "media/AutoTimePlayer.h"
#include "media/VCMovie.h"

class AudioPlayer;
class ImageItemRenderCtrl;
class RenderItem;

class ImageRenderVideo : public IMovie {
public:
    using Ptr = std::shared_ptr<ImageRenderVideo>;

    ImageRenderVideo();
    explicit ImageRenderVideo(std::shared_ptr<RenderItem> imageRender);
    ~ImageRenderVideo() override;

    std::shared_ptr<RenderItem> imageRender() const;
    void setImageRender(std::shared_ptr<RenderItem> item);
    AutoTimePlayer::Ptr player() const;
    void setPlayer(AutoTimePlayer::Ptr player);

    // The music pieces laid end to end over the slideshow.
    QList<VCMovie::Ptr> musicVcMovies() const;
    // The shared music player.
    static AudioPlayer& linePlayer();
    // Empties the shared frame cache.
    static void clearImageRenderCache();

    // --- IMovie ---
    LMMediaTime duration() const override;
    QList<LMMedia::Ptr> videos() const override;
    QList<LMMedia::Ptr> medias() const override { return videos(); }
    // The size frames are rendered at, of the shape of outputVideoSize().
    QSizeF videoSize() const override;
    // The canvas of the slideshow's disc, in points.
    QSizeF outputVideoSize() const override;
    void setOutputVideoSize(const QSizeF& canvas) override;

    LMMediaTime currentTime() const override;
    void setCurrentTime(LMMediaTime time) override;
    bool isPlay() const override;
    void play() override;
    void pause() override;

    QImage thumbnailAtTime(LMMediaTime time, const QSize& size) override;
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider) override;
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool waitUntilDone) override;
    LMMediaTime currentVideoMediaMaxTime() const override;

    void setExportMovie(bool exportMovie) override;
    bool exportMovie() const { return m_exportMovie.load(); }

    // The frame at `time` at videoSize(), through the cache in use.
    QImage frameAtTime(LMMediaTime time);

private:
    // True on the main thread outside export mode: the music player may be
    // used.
    bool drivesLinePlayer() const;
    // The cache in use; an export's own cache stays alive while a frame of it
    // is being rendered.
    std::shared_ptr<ImageItemRenderCtrl> renderCache();

    mutable std::mutex m_lock;  // the fields below
    std::shared_ptr<RenderItem> m_imageRender;
    AutoTimePlayer::Ptr m_player;
    std::shared_ptr<ImageItemRenderCtrl> m_exportCache;
    QSizeF m_canvas;
    std::atomic<bool> m_exportMovie{false};
    LMMedia::Ptr m_stream;
};
