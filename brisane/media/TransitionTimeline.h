#pragma once
// Where a composition stands at a composition time, for n photo positions.
//
// Position i occupies the span [start(i), start(i) + length(i)) with lengths
// firstRatio·N, N, ..., N, lastRatio·N (N = normalDuration); one position has
// the length firstRatio·N. The change from position i to i + 1 fills the last
// T seconds of span i, T = min(transitionTime, 0.4 · length(i)); so at the
// start of a span its photo is fully on screen. Before 0 the first position
// shows, past the end the last.

#include <utility>

#include "media/TransitionTiming.h"

class TransitionTimeline {
public:
    struct Frame {
        int from = -1;          // position on screen; -1 when there are no positions
        int to = -1;            // position coming in, or -1 while `from` holds
        double progress = 0.0;  // 0..1 through the change (0 while holding)
    };

    TransitionTimeline(const TransitionTiming& timing, int count);

    int count() const { return m_count; }
    double length(int position) const;
    double start(int position) const;
    double totalLength() const;
    double changeLength(int position) const;

    Frame frameAt(double time) const;
    // First and last position visible at any time in [time, time + lookAhead];
    // (-1, -1) when there are no positions.
    std::pair<int, int> visibleRange(double time, double lookAhead) const;

private:
    int positionAt(double time) const;

    TransitionTiming m_timing;
    int m_count;
};
