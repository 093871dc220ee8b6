#pragma once
// Helpers shared by the benchmarks: the ffmpeg command line, the 1080p source
// clips (and the folder that keeps the long ones between runs), the reference
// "-target pal-dvd" run, the PAL 16:9 output format, and the measures of what
// was written (length, video bitrate, PSNR, peak memory, disk held).

#include <QList>
#include <QString>
#include <QStringList>

#include "lumenta/LMFFMovieFileOutput.h"

namespace bench {

// Runs ffmpeg quietly (errors forwarded) with `args`; true when it succeeded.
bool runFfmpeg(const QStringList& args);

// Makes a `seconds` long 1080p25 H.264 clip (x264, CRF 23) with an AAC tone at
// `path`, announcing it on standard output. The picture is made to cost what
// a filmed one does: moving colour gradients under a fine grain that drifts,
// moving test shapes, and a temporal noise that changes every frame. False
// when ffmpeg failed. The clip is on disk before this returns, so that its
// writing back does not run beside what is timed next.
bool makeClip1080(const QString& path, int seconds);

// The folder that keeps the clips too long to make at every run:
// BRISANE_BENCH_CLIPS, else "brisane-bench" in the user's cache folder
// ($XDG_CACHE_HOME, else ~/.cache). Made when missing.
QString keptClipFolder();

// A film of `seconds` as makeClip1080 makes it, with a stereo tone, kept at
// `path`: made only when no clip of that length is there yet, into a partial
// file ("<name>.part.mp4") that is renamed once it is whole, so that an
// interrupted run leaves nothing that passes for the clip. False when it is
// not there and cannot be made.
bool keepFilmClip(const QString& path, int seconds);

// How many times each road is timed: BRISANE_BENCH_RUNS, 3 by default. This
// machine's speed drifts by a fifth from one run to the next, so each road
// runs that many times, the roads taking turns, and the median time counts.
int runCount();

// The index of the median of `values` (the lower middle one of an even
// count); -1 when there are none.
int medianIndex(const QList<double>& values);

// Converts `clip` with "ffmpeg -target pal-dvd" (16:9, stereo) to `out`.
// Returns the seconds taken, or a negative number on failure.
double timeFfmpegDvd(const QString& clip, const QString& out);

// PAL 720x576 25 fps MPEG-2 at 6 Mbit/s, 16:9, with 48 kHz AC-3 at 448 kbit/s.
LMFFMovieFileOutputFormat palWideFormat();

// The duration in seconds of the first media in the file at `path`, 0 if none.
double writtenLength(const QString& path);

// The average bitrate in bit/s of the first video stream of the file at
// `path`: its packets' bytes over the time they span. 0 when it has none.
double videoBitrate(const QString& path);

// The average PSNR in dB of the video of `path` against `clip` passed through
// the filters `reference` (a libavfilter chain, such as "scale=720:576"),
// both taken from their first frame; negative when it cannot be measured.
double psnr(const QString& path, const QString& clip, const QString& reference);
// The same for the first title of the DVD image (or folder) `disc`, read with
// libdvdread and handed to ffmpeg as it is read.
double discTitlePsnr(const QString& disc, const QString& clip, const QString& reference);

// Bytes allocated on disk by the files below `folder` (every depth, hidden
// ones too; links not followed); 0 when there is none.
qint64 bytesOnDisk(const QString& folder);

// Samples bytesOnDisk(folder) every few milliseconds on a thread of its own,
// from construction to stop(), which answers the most it saw.
class FolderMeter {
public:
    explicit FolderMeter(const QString& folder);
    ~FolderMeter();
    FolderMeter(const FolderMeter&) = delete;
    FolderMeter& operator=(const FolderMeter&) = delete;
    qint64 stop();

private:
    struct Impl;
    Impl* d;
};

// Forgets this process's peak resident memory, so that the next reading
// covers only what runs from now on.
void resetPeakMemory();
// The peak resident memory of this process in MiB since the last reset.
double peakMemoryMiB();

// What one road took: wall time, CPU seconds (user and system, of this
// process and of the programs it ran and waited for), peak resident memory
// and peak thread count (this process's, when it is part of the road, plus
// those of the programs running meanwhile, sampled every few milliseconds).
struct Usage {
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0;
    double peakMiB = 0.0;
    double ownPeakMiB = 0.0;  // this process's alone
    long peakThreads = 0;
};

// Measures a road from construction to stop(). `withSelf`: this process's
// own work is part of the road (false when it only waits for programs).
class RoadMeter {
public:
    explicit RoadMeter(bool withSelf);
    ~RoadMeter();
    RoadMeter(const RoadMeter&) = delete;
    RoadMeter& operator=(const RoadMeter&) = delete;
    Usage stop();

private:
    struct Impl;
    Impl* d;
};

// "wall 12.34 s, CPU 56.7 s, peak 345 MiB, 21 threads".
QString describe(const Usage& usage);

// The machine's load averages over 1, 5 and 15 minutes ("unknown" if unread).
QString loadAverage();

}  // namespace bench
