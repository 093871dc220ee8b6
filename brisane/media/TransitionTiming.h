#pragma once
// The pace of a transition in its own (composition) time: how long each photo
// position stays on screen and how long the change to the next one takes.

struct TransitionTiming {
    double normalDuration = 5.0;  // seconds per photo position
    double firstRatio = 1.0;      // share of normalDuration for the first position
    double lastRatio = 1.0;       // share for the last position
    double transitionTime = 1.0;  // seconds of each change, at most 40% of a span
};
