#pragma once
// What the trim timeline asks of its owner, the video edit sheet: the clip
// whose segments it edits, the clip's range on its source for new segments,
// and the refreshes and player moves that follow its changes. Main thread.

#include <memory>

#include "lumenta/LMMediaTime.h"

class MediaData;

class VEPlayerProgressBarDelegate {
public:
    virtual ~VEPlayerProgressBarDelegate() = default;

    // The clip being edited; null while none is.
    virtual std::shared_ptr<MediaData> media() const = 0;
    // The clip's start and end on its source, copied into new segments.
    virtual LMMediaTime importMovieStart() const = 0;
    virtual LMMediaTime importMovieStop() const = 0;
    // After every change of the segments or the selection.
    virtual void flushProgressTimeLabel() = 0;
    // After a selection by the mouse: timeline, pictures and labels again.
    virtual void flushPlayerProgress() = 0;
    virtual void pause() = 0;
    // Moves the player to t on the clip's timeline; nothing by default.
    virtual void seek(LMMediaTime /*time*/) {}
};
