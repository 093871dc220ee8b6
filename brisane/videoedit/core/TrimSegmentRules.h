#pragma once
// The rules of a clip's trim segments, shared by the trim timeline and the
// video edit sheet: when a new one-second segment may be added and where it
// goes, and how far a typed start or end of a segment may move.
//
// Segments are the media item's trimArray: MovieTrimItem values in seconds on
// the clip's own timeline, in ascending start, not overlapping. A selection
// is an index into that list; 10000 means none, and every index of 9999 or
// more counts as none. Pure functions; any thread.

#include <QList>
#include <memory>
#include <optional>

#include "media/MovieTrimItem.h"

class TrimSegmentRules {
public:
    using TrimArray = QList<std::shared_ptr<MovieTrimItem>>;

    TrimSegmentRules() = delete;

    // The selection index of "nothing selected".
    static constexpr int kNoSelection = 10000;
    // The most segments a clip holds; also the first index that means none.
    static constexpr int kMaxTrimCount = 9999;
    // The length of a new segment, and the shortest a segment is made.
    static constexpr double kMinTrimSeconds = 1.0;
    // A typed time closer than this to the old one does not move the playhead.
    static constexpr double kSeekThreshold = 0.001;

    // The index selects one of `count` segments.
    static bool selects(int index, qsizetype count);

    // A new segment [current, current + 1] may be added: fewer than 9999
    // segments, it touches no segment (ends included) and it ends at or
    // before the clip's end (all in seconds).
    static bool addTrimEnable(const TrimArray& trims, double current, double duration);
    // Where such a segment goes (before the first segment that starts later);
    // nothing when addTrimEnable refuses it.
    static std::optional<qsizetype> insertionIndex(const TrimArray& trims, double current,
                                                   double duration);

    // The start segment `index` gets for a typed start t: at most its end
    // minus one second, at least the previous segment's end (0 for the
    // first), the neighbour winning over the one second. Single precision.
    static double clampedStart(const TrimArray& trims, qsizetype index, double t);
    // The end segment `index` gets for a typed end t: at least its start plus
    // one second, at most the next segment's start (the clip's duration for
    // the last), the limit winning over the one second. Single precision.
    static double clampedEnd(const TrimArray& trims, qsizetype index, double t, double duration);

    // A typed time moves the playhead only when it differs from the old one
    // by more than kSeekThreshold.
    static bool movesPlayhead(double typed, double old);
};
