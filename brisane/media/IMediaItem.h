#pragma once
// The media-item interface: what the converter and the players read of an
// entry of their input lists. VCMovie answers it for files and for movie-like
// sources it wraps; the menu page source answers it itself.
//
// An item is a range [trimStart, trimStop) of its movie's timeline (media
// time) with linear volume fades at its ends. validVCMovies() splits it into
// the pieces that are actually played, in order, each a plain range.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <memory>

#include "lumenta/IMovie.h"
#include "lumenta/LMMediaTime.h"

class IMediaItem {
public:
    using Ptr = std::shared_ptr<IMediaItem>;

    virtual ~IMediaItem() = default;

    // The played and decoded media; null for an item not opened yet.
    virtual IMovie::Ptr movie() const = 0;

    virtual LMMediaTime trimStart() const = 0;
    virtual LMMediaTime trimStop() const = 0;
    LMMediaTime trimDuration() const { return trimStop() - trimStart(); }
    virtual LMMediaTime fadeIn() const { return 0; }
    virtual LMMediaTime fadeOut() const { return 0; }

    // The pieces to play, in order.
    virtual QList<Ptr> validVCMovies() = 0;

    bool hasAudio() const
    {
        const IMovie::Ptr m = movie();
        return m && m->hasAudio();
    }
    bool hasVideo() const
    {
        const IMovie::Ptr m = movie();
        return m && m->hasVideo();
    }

    // The size of the pictures the movie hands out.
    virtual QSizeF videoOutputSize() const
    {
        const IMovie::Ptr m = movie();
        return m ? m->outputVideoSize() : QSizeF();
    }
    virtual void setVideoOutputSize(const QSizeF& size)
    {
        if (const IMovie::Ptr m = movie()) {
            m->setOutputVideoSize(size);
        }
    }

    // Brings the item's watermark onto its movie at once when the movie has
    // none yet; safe on any thread.
    virtual void updateMovieWatermarkImageIfNeeded() {}

    // The player that last started playing this item; not owned.
    QObject* player() const { return m_player.data(); }
    void setPlayer(QObject* player) { m_player = player; }

private:
    QPointer<QObject> m_player;
};
