#include "videoedit/core/TrimSegmentRules.h"

#include <algorithm>
#include <cmath>

bool TrimSegmentRules::selects(int index, qsizetype count)
{
    return index >= 0 && index < kMaxTrimCount && index < count;
}

bool TrimSegmentRules::addTrimEnable(const TrimArray& trims, double current, double duration)
{
    if (trims.size() >= kMaxTrimCount) {
        return false;
    }
    const double end = current + kMinTrimSeconds;
    for (const auto& trim : trims) {
        // Any contact refuses, also a short segment lying wholly inside the
        // new second.
        if (current <= trim->stop() && end >= trim->start()) {
            return false;
        }
    }
    return end <= duration;
}

std::optional<qsizetype> TrimSegmentRules::insertionIndex(const TrimArray& trims, double current,
                                                          double duration)
{
    if (!addTrimEnable(trims, current, duration)) {
        return std::nullopt;
    }
    const auto later = std::find_if(trims.begin(), trims.end(), [current](const auto& trim) {
        return trim->start() > current;
    });
    return later - trims.begin();
}

double TrimSegmentRules::clampedStart(const TrimArray& trims, qsizetype index, double t)
{
    const MovieTrimItem& trim = *trims.at(index);
    const float previousEnd = index > 0 ? static_cast<float>(trims.at(index - 1)->stop()) : 0.0f;
    const float latest = static_cast<float>(trim.stop() - kMinTrimSeconds);
    const float s = std::min(latest, std::max(previousEnd, static_cast<float>(t)));
    // A segment shorter than a second must still not reach back over its
    // neighbour or before the clip.
    return std::max({s, previousEnd, 0.0f});
}

double TrimSegmentRules::clampedEnd(const TrimArray& trims, qsizetype index, double t,
                                    double duration)
{
    const MovieTrimItem& trim = *trims.at(index);
    const float limit = index + 1 < trims.size() ? static_cast<float>(trims.at(index + 1)->start())
                                                 : static_cast<float>(duration);
    const float earliest = static_cast<float>(trim.start() + kMinTrimSeconds);
    return std::min(limit, std::max(earliest, static_cast<float>(t)));
}

bool TrimSegmentRules::movesPlayhead(double typed, double old)
{
    return std::fabs(typed - old) > kSeekThreshold;
}
