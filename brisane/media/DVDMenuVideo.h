#pragma once
// A menu page as a movie and as a media item, so that the converter and the
// preview player treat a menu like a clip: its frames are the page rendered
// at each media time, its length is the page's loop length, and its sound and
// clock come from a separate audio movie (silence at first; production puts
// the rendered menu music in its place).
//
// A page whose loop length is zero, negative or not a number plays for 15 s;
// no menu plays shorter than 1 s, so a menu stream always has frames.
//
// The page's music is the media item under the "vcmovie" key of the object
// under the page's "music" key (the media side's music). For preview,
// updatePlayerPlaySegment() keeps that music in step with the menu clock: it
// repeats every music length, fades in at each start and fades out before the
// menu's or the music's end. Elements of the page that adopt MenuElementClock
// follow the menu's clock moves.
//
// Threads: the export frame and the audio reads run on the converter's thread;
// the preview operations run on the main thread.

#include <QList>
#include <QSizeF>
#include <functional>
#include <memory>
#include <mutex>

#include "corvane/DVDMenuPage.h"
#include "lumenta/IMovie.h"
#include "media/IMediaItem.h"
#include "media/VCMovie.h"

class MenuElementClock;

class DVDMenuVideo : public IMovie,
                     public IMediaItem,
                     public std::enable_shared_from_this<DVDMenuVideo> {
public:
    using Ptr = std::shared_ptr<DVDMenuVideo>;

    // Loop length of a page that gives none, and the shortest menu (seconds).
    static constexpr double DefaultMenuSeconds = 15.0;
    static constexpr double MinimumMenuSeconds = 1.0;

    // A source over `menu` with a silent audio movie.
    static Ptr create(const std::shared_ptr<DVDMenuPage>& menu);
    // The page's movies: one new source over the page each call.
    static QList<Ptr> vcmovies(const std::shared_ptr<DVDMenuPage>& menu);

    DVDMenuVideo() = default;

    // --- Properties ---
    std::shared_ptr<DVDMenuPage> menu() const { return m_menu; }
    void setMenu(const std::shared_ptr<DVDMenuPage>& menu) { m_menu = menu; }
    // The sound and the clock of the menu; never null once made by create().
    VCMovie::Ptr audioMovie() const;
    void setAudioMovie(const VCMovie::Ptr& movie);
    // The audio movie's movie.
    IMovie::Ptr audio() const;
    // The page's music item, or null; and its movie.
    VCMovie::Ptr menuMusicMovie() const;
    IMovie::Ptr menuMusic() const;

    // The music cut and repeated to the menu length: copies sharing the
    // music's movie, the last cut to end at the menu length. Empty without
    // music, or for music of half a second or less.
    QList<VCMovie::Ptr> musicVcMovies() const;

    // --- IMediaItem ---
    IMovie::Ptr movie() const override;
    LMMediaTime trimStart() const override { return 0; }
    LMMediaTime trimStop() const override { return menuLength(); }
    QList<IMediaItem::Ptr> validVCMovies() override;
    QList<IMediaItem::Ptr> vcmovies() { return validVCMovies(); }
    // The page's canvas size.
    QSizeF videoOutputSize() const override;
    void setVideoOutputSize(const QSizeF&) override {}
    bool hasAudio() const { return true; }
    bool hasVideo() const { return true; }

    // --- IMovie ---
    LMMediaTime duration() const override { return menuLength(); }
    // A menu always has a picture and a sound.
    QList<LMMedia::Ptr> videos() const override { return {m_placeholder}; }
    QList<LMMedia::Ptr> audios() const override { return {m_placeholder}; }
    QList<LMMedia::Ptr> medias() const override { return {m_placeholder}; }
    QSizeF outputVideoSize() const override { return videoOutputSize(); }
    LMMediaTime currentTime() const override;
    void setCurrentTime(LMMediaTime time) override;
    void setExportMovie(bool on) override;
    void flushOperation() override;
    // The picture never comes from the audio movie, whatever is asked.
    void setDisableVideo(bool) override;
    void configOutputFormat(const LMFFAudioFormat& format) override;
    // Always the audio movie's first stream.
    bool readSample(uint8_t* buffer, int nbStream, int frames) override;
    // Export frame: hands the provider a block that draws the page at `time`
    // over its whole context.
    using IMovie::decodeImageAtTime;
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider, bool waitUntilDone) override;
    // Preview frame: the page at `time` to mediaImage (when wanted) and
    // mediaEffectImage.
    void decodeImageAtTime(LMMediaTime time, IFrameProvider* provider) override;

    // --- Preview ---
    bool isPlay() const override;
    void play() override;
    void pause() override;
    void stop() override;
    // The music's volume follows its fades instead.
    void setPlayVolume(double) override {}
    void updatePlayerPlaySegment() { updatePlayerPlaySegment(false); }
    // Sets the music's volume and, when forced or more than 0.2 s off, its
    // position for the menu clock. False (nothing done) without music longer
    // than half a second.
    bool updatePlayerPlaySegment(bool force);

private:
    // The page's loop length in media time, with the fallbacks above.
    LMMediaTime menuLength() const;
    void forEachElementClock(const std::function<void(MenuElementClock&)>& action) const;

    std::shared_ptr<DVDMenuPage> m_menu;
    mutable std::mutex m_lock;  // audioMovie
    VCMovie::Ptr m_audioMovie;
    LMMedia::Ptr m_placeholder = std::make_shared<LMMedia>(nullptr, QStringLiteral("menu"));
};
