#pragma once
// The rules of the chapter editor's markers, without a window.
//
// The markers of a source are its start (0), then one marker at every
// section's end, in ascending time: the first is the start marker, the last
// the end marker, and those between are the chapter markers, the only ones
// the user sees, selects, moves and deletes. Chapter k runs from marker k to
// marker k + 1. A second is the time base times 1.0, truncated.
//
// Plain functions over the editor's marker list; any thread.

#include <QList>
#include <memory>

#include "lumenta/LMMediaTime.h"
#include "videoedit/core/ClipMarker.h"

class MediaSectionItem;

class ClipMarkerRules {
public:
    using Markers = QList<ClipMarker::Ptr>;
    using Sections = QList<std::shared_ptr<MediaSectionItem>>;

    ClipMarkerRules() = delete;

    // One second of media time.
    static LMMediaTime oneSecond();
    // How far an arrow key moves the playhead: 0.05 s.
    static LMMediaTime arrowStep();

    // A marker at 0, then one at each section's end, sorted by time.
    static Markers markersFromSections(const Sections& sections);

    // Whether a marker may be added at `time`: not while it lies strictly
    // within one second of any marker (start and end markers included), and
    // not past the end marker, which must stay the last.
    static bool addMarkButtonEnable(const Markers& markers, LMMediaTime time);
    // Where a new marker at `time` goes: after every marker that is not
    // later than it.
    static qsizetype insertionIndex(const Markers& markers, LMMediaTime time);

    // The time the marker at `index` takes when asked for `value`: held to
    // (previous + 1 s) .. (next - 1 s), a missing neighbour counting as 0;
    // when the range is empty its upper bound wins.
    static LMMediaTime clampedMarkerTime(const Markers& markers, qsizetype index,
                                         LMMediaTime value);

    // The markers without the start and the end marker.
    static Markers chapterMarkers(const Markers& markers);
    // Whether a chapter marker is selected and has a chapter marker before /
    // after it; the start and end markers are never stepped to.
    static bool preMarkerEnable(const Markers& markers, const ClipMarker::Ptr& selected);
    static bool nextMarkerEnable(const Markers& markers, const ClipMarker::Ptr& selected);
    // The chapter marker before / after the selected one; null when there is
    // none.
    static ClipMarker::Ptr previousMarker(const Markers& markers, const ClipMarker::Ptr& selected);
    static ClipMarker::Ptr nextMarker(const Markers& markers, const ClipMarker::Ptr& selected);

    // Whether the markers make chapters an apply can write: at least one
    // chapter, times strictly ascending from 0, every chapter at least one
    // second long.
    static bool canApply(const Markers& markers);

    // The playhead after an arrow key: `time` moved by -0.05 s (direction
    // < 0) or +0.05 s, held to 0 .. duration.
    static LMMediaTime steppedTime(LMMediaTime time, LMMediaTime duration, int direction);
};
