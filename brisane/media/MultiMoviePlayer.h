#pragma once
// Plays a list of media items back to back on one joined timeline: each item
// is split into its trim pieces, and the current piece (vcMovie) changes as a
// seek crosses from one piece to the next. A position exactly on a boundary
// belongs to the earlier piece; a seek past the end wraps to 0. Switching
// pieces keeps the player playing or paused as it was.
//
// In preview a piece that runs past its trimStop moves on to the next one,
// and past the last piece the list starts again. Without preview, passing the
// current piece's trimStop starts the list again.
//
// The DVD preview player derives from it and overrides the hooks.

#include <QList>

#include "media/MoviePlayer.h"

class MultiMoviePlayer : public MoviePlayer {
    Q_OBJECT
public:
    explicit MultiMoviePlayer(QObject* parent = nullptr);

    QList<IMediaItem::Ptr> movies() const { return m_movies; }
    void setMovies(const QList<IMediaItem::Ptr>& movies) { m_movies = movies; }
    // Where the current piece begins on the joined timeline.
    LMMediaTime movieTimeOffset() const { return m_movieTimeOffset; }
    void setMovieTimeOffset(LMMediaTime offset) { m_movieTimeOffset = offset; }

    // The pieces of the items (one per trim segment). The first seek chooses
    // the current piece.
    void playMovies(const QList<IMediaItem::Ptr>& items);
    void clearPlayer() override;

    // The joined timeline.
    LMMediaTime duration() const override;
    LMMediaTime currentTime() const override;
    void seek(LMMediaTime time) override;
    // The inherited seek: t on the current piece's own movie timeline.
    void seek_movie_time(LMMediaTime time);

    bool showThumbnail() const override;

protected:
    void updatePlayerPlaySegment() override;
    void playerIsAfterPreviewTime() override;
    void playerIsBeforePreviewTime() override;
    // Past the end of the whole list: back to 0.
    virtual void timeIsAfterAllMovieTime();
    // A seek to t found no piece.
    virtual void seeK_at_none_movie(LMMediaTime time);

private:
    QList<IMediaItem::Ptr> m_movies;
    LMMediaTime m_movieTimeOffset = 0;
};
