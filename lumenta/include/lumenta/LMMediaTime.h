#pragma once
// Media time: a signed 64-bit count of ticks. Every time that crosses the
// Lumenta interface (durations, seek positions, decode requests, trim points)
// is a media time. Seconds times lm_default_time_base(), truncated, give a
// media time; lm_ff_time_to_double() turns one back into seconds.
//
// A movie's timeline starts at 0 with its first decodable sample, whatever
// the container's own start offset is.

#include <QtGlobal>
#include <cstdint>

using LMMediaTime = int64_t;

// Ticks per second: 1,000,000, the same base FFmpeg uses for its own times.
Q_DECL_EXPORT int64_t lm_default_time_base();

// The media time in seconds.
Q_DECL_EXPORT double lm_ff_time_to_double(LMMediaTime time);
