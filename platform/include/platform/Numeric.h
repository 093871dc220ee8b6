#pragma once
// Saturating conversions from floating point: NaN gives 0, values beyond the
// target's range give its limit. Used wherever seconds, sizes or ratios become
// integers.

#include <cmath>
#include <concepts>
#include <limits>

template <std::integral I, std::floating_point F>
constexpr I saturatingCast(F value) noexcept
{
    if (std::isnan(value)) {
        return 0;
    }
    constexpr F lo = static_cast<F>(std::numeric_limits<I>::min());
    constexpr F hi = static_cast<F>(std::numeric_limits<I>::max());
    if (value <= lo) {
        return std::numeric_limits<I>::min();
    }
    if (value >= hi) {
        return std::numeric_limits<I>::max();
    }
    return static_cast<I>(value);
}
