#include "media/TransitionTimeline.h"

#include <algorithm>
#include <cmath>

TransitionTimeline::TransitionTimeline(const TransitionTiming& timing, int count)
    : m_timing(timing), m_count(std::max(count, 0))
{
}

double TransitionTimeline::length(int position) const
{
    if (position < 0 || position >= m_count) {
        return 0.0;
    }
    if (position == 0) {
        return m_timing.firstRatio * m_timing.normalDuration;
    }
    if (position == m_count - 1) {
        return m_timing.lastRatio * m_timing.normalDuration;
    }
    return m_timing.normalDuration;
}

double TransitionTimeline::start(int position) const
{
    double sum = 0.0;
    for (int i = 0; i < position && i < m_count; ++i) {
        sum += length(i);
    }
    return sum;
}

double TransitionTimeline::totalLength() const
{
    return start(m_count);
}

double TransitionTimeline::changeLength(int position) const
{
    if (position < 0 || position >= m_count - 1) {
        return 0.0;
    }
    return std::min(m_timing.transitionTime, 0.4 * length(position));
}

int TransitionTimeline::positionAt(double time) const
{
    if (m_count == 0) {
        return -1;
    }
    if (!(time > 0.0)) {  // also NaN
        return 0;
    }
    double end = 0.0;
    for (int i = 0; i < m_count; ++i) {
        end += length(i);
        if (time < end) {
            return i;
        }
    }
    return m_count - 1;
}

TransitionTimeline::Frame TransitionTimeline::frameAt(double time) const
{
    Frame frame;
    frame.from = positionAt(time);
    if (frame.from < 0 || !std::isfinite(time)) {
        return frame;
    }
    const double change = changeLength(frame.from);
    if (change <= 0.0) {
        return frame;
    }
    const double changeStart = start(frame.from) + length(frame.from) - change;
    if (time > changeStart) {
        frame.to = frame.from + 1;
        frame.progress = std::clamp((time - changeStart) / change, 0.0, 1.0);
    }
    return frame;
}

std::pair<int, int> TransitionTimeline::visibleRange(double time, double lookAhead) const
{
    if (m_count == 0) {
        return {-1, -1};
    }
    const Frame first = frameAt(time);
    const double ahead = std::isfinite(lookAhead) ? std::max(lookAhead, 0.0) : 0.0;
    const Frame last = frameAt(time + ahead);
    int hi = std::max(first.to, first.from);
    hi = std::max({hi, last.from, last.to});
    return {first.from, hi};
}
