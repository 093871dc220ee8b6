#pragma once
// What the chapter timeline asks of its owner, the chapter editor: the
// markers it draws and hits, the selection, moving the selected marker
// (the editor keeps it between its neighbours) and the player. Main thread.

#include <QList>

#include "lumenta/LMMediaTime.h"
#include "videoedit/core/ClipMarker.h"

class ClipEditPlayerProgressDelegate {
public:
    virtual ~ClipEditPlayerProgressDelegate() = default;

    // Every marker in ascending time, the start and end markers included.
    virtual QList<ClipMarker::Ptr> markerArray() const = 0;
    virtual ClipMarker::Ptr selectedMarker() const = 0;
    // Selects the marker and refreshes what shows the selection.
    virtual void setSelectedMarker(const ClipMarker::Ptr& marker) = 0;
    // Moves the selected marker towards `time`, held between its neighbours.
    virtual void setSelectedMarkerTime(LMMediaTime time) = 0;
    // Moves the player to `time` (media time in the source file).
    virtual void seek(LMMediaTime time) = 0;
};
