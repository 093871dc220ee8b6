#pragma once
// Previews one media item: starts and stops the item's movie, keeps the play
// position inside the item's kept range in preview, turns the item's fades
// into a linear play volume, and has a new frame decoded for the owner's view
// on every tick of a 0.05 s timer while it plays. The owner sets itself as
// delegate and redraws when told imageDidFlushInPlayer().
//
// The player's time is the movie's own media time. Without isPreview a play
// runs over the whole movie and starts again at 0 past its end; with it only
// [trimStart, trimStop] plays, over and over, with the item's fades.
//
// A movie that stops by itself at its end while this player plays it counts
// as just past its end, so the range keeping above also applies to movies
// whose clock does not run on past their duration.
//
// Threads: use it on the main thread. Frames arrive on the movies' threads;
// the delegate is always called on the main thread, and nothing reaches a
// player after it is destroyed (its timer stops with it).

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QRectF>
#include <QTimer>
#include <memory>

#include "lumenta/IMovie.h"
#include "lumenta/LMMediaTime.h"
#include "media/IMediaItem.h"
#include "media/MoviePlayerDelegate.h"

class MoviePlayerFrameSink;

class MoviePlayer : public QObject {
    Q_OBJECT
public:
    // The tick of the play timer, in milliseconds.
    static constexpr int kTickMilliseconds = 50;

    explicit MoviePlayer(QObject* parent = nullptr);
    ~MoviePlayer() override;

    MoviePlayerDelegate* delegate() const { return m_delegate; }
    // Not owned.
    void setDelegate(MoviePlayerDelegate* delegate) { m_delegate = delegate; }
    QTimer* timer() const { return m_timer; }

    IMediaItem::Ptr vcMovie() const { return m_vcMovie; }
    // Shows the new item's picture when the player is not playing.
    void setVcMovie(const IMediaItem::Ptr& item);
    // vcMovie's movie, or null.
    IMovie::Ptr movie() const;

    bool isPreview() const { return m_isPreview; }
    void setIsPreview(bool preview) { m_isPreview = preview; }

    // The buffer the movie decodes unedited frames into.
    QByteArray imageData() const;
    // Last frame before / after the movie's edits; null before the first one.
    QImage originImage() const;
    QImage effectImage() const;

    // Makes this player the item's player and starts the movie.
    virtual void play();
    // True only while the movie plays and this player started it last.
    virtual bool isPlay() const;
    virtual void pause();
    virtual void stop();
    virtual LMMediaTime duration() const;
    virtual LMMediaTime currentTime() const;
    // Sets the movie's position and shows the frame there.
    virtual void seek(LMMediaTime time);

    virtual bool showThumbnail() const;
    // The frame before crop and zoom, after rotation.
    virtual QRectF originVideoRect() const;
    // The output frame, or the thumbnail when it is shown.
    virtual QRectF effectVideoRect() const;

    // Asks for the frame at the movie's position (items with video) or shows
    // the thumbnail or black, then tells the delegate.
    virtual void updateImage();
    // One tick: while playing, keeps the range, sets the volume and asks for
    // a frame.
    void timerUpdateImageMethod();
    // Drops the item.
    virtual void clearPlayer();

    // Passes the news on to the delegate.
    void imageDidFlushInPlayer(MoviePlayer* player);

    // The preview volume at movie time t: linear over the fades at the ends
    // of [trimStart, trimStop], the fade-in winning where both apply; 1
    // elsewhere. A fade of length 0 counts as one tick.
    static float fadeVolume(LMMediaTime t, LMMediaTime trimStart, LMMediaTime trimStop,
                            LMMediaTime fadeIn, LMMediaTime fadeOut);

protected:
    // Range keeping, called on every tick while playing.
    virtual void updatePlayerPlaySegment();
    void updatePlayerVolume();
    // Past the movie's end (not in preview): back to 0.
    virtual void playerTimeIsToEnd();
    // Past trimStop / well before trimStart in preview: back to trimStart.
    virtual void playerIsAfterPreviewTime();
    virtual void playerIsBeforePreviewTime();

    // The movie's position; one tick past its end when the movie stopped by
    // itself there while this player was playing it.
    LMMediaTime moviePosition() const;
    // The item as a VCMovie, or null for other items.
    std::shared_ptr<class VCMovie> vcMovieItem() const;

private:
    bool ranOutAtEnd() const;
    void resumeAfterRunOut();
    void watchMovie(const IMovie::Ptr& movie);
    void frameArrived();

    MoviePlayerDelegate* m_delegate = nullptr;
    QTimer* m_timer = nullptr;
    IMediaItem::Ptr m_vcMovie;
    bool m_isPreview = false;
    // Set by play(), cleared by pause(), stop() and a change of item.
    bool m_started = false;
    bool m_inTick = false;
    std::shared_ptr<MoviePlayerFrameSink> m_sink;
    std::weak_ptr<IMovie> m_watchedMovie;
    quint64 m_watchToken = 0;
};
