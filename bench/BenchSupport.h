#pragma once
// Helpers shared by the benchmarks: the ffmpeg command line, the 1080p source
// clip, the reference "-target pal-dvd" run and the PAL 16:9 output format.

#include <QString>
#include <QStringList>

#include "lumenta/LMFFMovieFileOutput.h"

namespace bench {

// Runs ffmpeg quietly (errors forwarded) with `args`; true when it succeeded.
bool runFfmpeg(const QStringList& args);

// Makes a `seconds` long 1080p25 H.264 clip with an AAC tone at `path`,
// announcing it on standard output. False when ffmpeg failed.
bool makeClip1080(const QString& path, int seconds);

// Converts `clip` with "ffmpeg -target pal-dvd" (16:9, stereo) to `out`.
// Returns the seconds taken, or a negative number on failure.
double timeFfmpegDvd(const QString& clip, const QString& out);

// PAL 720x576 25 fps MPEG-2 at 6 Mbit/s, 16:9, with 48 kHz AC-3 at 448 kbit/s.
LMFFMovieFileOutputFormat palWideFormat();

// The duration in seconds of the first media in the file at `path`, 0 if none.
double writtenLength(const QString& path);

}  // namespace bench
