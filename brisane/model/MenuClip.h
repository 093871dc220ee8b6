#pragma once
// A clip as a menu element reads it: the media side's clip (MediaData)
// adopts this role for chapter elements and for the clips of a title element.
// It gives the still shown in the editor and the trimmed pieces whose video a
// live element plays.

#include <QImage>
#include <QList>
#include <memory>

#include "media/SegmentsMovie.h"

class MenuClip {
public:
    virtual ~MenuClip() = default;
    // The clip's preview picture; null when it has none.
    virtual QImage previewImage() const = 0;
    // A group clip holds member clips; its own pieces are then not played.
    virtual bool hasSubMedia() const = 0;
    virtual QList<std::shared_ptr<MenuClip>> subMenuClips() const = 0;
    // The clip's trimmed pieces in play order (its segmentMovies).
    virtual QList<SegmentsMovie::Piece> segmentPieces() const = 0;
};
