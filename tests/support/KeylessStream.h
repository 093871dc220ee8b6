#pragma once
// Streams whose container flags no key packets, as some muxers write them:
// a seek finds no key frame to start decoding at, and a container that
// searches for one reads the file to its end.

#include <QString>

namespace testsupport {

// A copy of the media file `source` at `target` (its container by its
// extension) whose video packets carry no key flag; the streams themselves
// are copied unchanged, with FFmpeg's libraries. False (with a failure) on
// error.
bool copyWithoutKeyFlags(const QString& source, const QString& target);

// The video packets ffprobe reads as key packets in the file; -1 on error.
int keyPackets(const QString& path);

// A clip of the numbered pictures (see makeNumberedClip) of `seconds`, MPEG-2
// in an ASF file with a tone in MP2, groups of 12 pictures and no key flags.
// ASF gives the pictures their decoding times only, which B-pictures would
// put out of order; there are none.
bool makeKeylessClip(const QString& path, double seconds);

}  // namespace testsupport
