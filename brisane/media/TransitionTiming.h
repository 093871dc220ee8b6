#pragma once
// The pace of a transition in its own (composition) time: how long each photo
// position stays on screen and how long the change to the next one takes.

#include <cmath>

struct TransitionTiming {
    double normalDuration = 5.0;  // seconds per photo position
    double firstRatio = 1.0;      // share of normalDuration for the first position
    double lastRatio = 1.0;       // share for the last position
    double transitionTime = 1.0;  // seconds of each change, at most 40% of a span

    // This timing at another pace of the photos; a value that cannot be a
    // pace (a per-photo time that is not positive, a negative share) keeps
    // the one here. The change keeps its own length.
    TransitionTiming withPace(double normal, double first, double last) const
    {
        TransitionTiming paced = *this;
        if (std::isfinite(normal) && normal > 0.0) {
            paced.normalDuration = normal;
        }
        if (std::isfinite(first) && first >= 0.0) {
            paced.firstRatio = first;
        }
        if (std::isfinite(last) && last >= 0.0) {
            paced.lastRatio = last;
        }
        return paced;
    }
};
