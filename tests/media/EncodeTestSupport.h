#pragma once
// Shared by the tests that encode disc titles: the output formats they ask
// for and a measure of the sound they wrote.

#include <QString>

#include "lumenta/LMFFMovieFileOutput.h"

namespace encodetest {

// A DVD title stream: MPEG-2 at 4 Mbit/s, PAL (720x576, 25 fps) or NTSC
// (720x480, 29.97 fps), 16:9 or 4:3, with stereo 48 kHz AC-3 at 448 kbit/s.
LMFFMovieFileOutputFormat dvdFormat(bool pal, bool wide);

// Root mean square of the sound in the file at `path` over [from, to) seconds,
// read as mono 48 kHz.
double loudness(const QString& path, double from, double to);

}  // namespace encodetest
