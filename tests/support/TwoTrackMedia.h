#pragma once
// Clips with two sound tracks, each a tone of its own, in the containers
// that carry several (Matroska, MP4, MPEG transport and program streams),
// generated with ffmpeg; and the measure of a tone in decoded sound, so that
// a test hears which track plays, and from when.

#include <QString>
#include <QStringList>
#include <vector>

namespace testsupport {

// The tone of each track of a two-track clip (Hz).
inline constexpr double kFirstTrackTone = 440.0;
inline constexpr double kSecondTrackTone = 1000.0;

// The kinds of two-track clips: "mkv", "mp4", "ts", "mpg".
const QStringList& twoTrackKinds();

// A 25 fps 16:9 clip (320 x 180) of `seconds`, its first sound track the
// 440 Hz tone and its second the 1000 Hz one, both at 48 kHz and an
// amplitude of 1/8. "mkv": H.264, AAC then AC-3, and a subtitle track (SRT);
// "mp4": H.264, AAC then AC-3; "ts": H.264, AAC then AC-3, starting at 1.4 s
// as FFmpeg's transport streams do; "mpg": a DVD-like program stream, MPEG-2
// video, MP2 then AC-3. Fails the current test when ffmpeg fails.
bool makeTwoTrackClip(const QString& path, const QString& kind, double seconds);

// The amplitude (0 to 1) of the tone of `frequency` Hz in `count` mono
// samples at `sampleRate`; about 0.125 for a track's tone, 0 for silence.
// Exact for a window of whole periods.
double toneAmplitude(const float* samples, size_t count, int sampleRate, double frequency);

// The first sound track of `stream` decoded by ffmpeg to mono 48 kHz
// samples; `raw` is a scratch file. Empty when there is none.
std::vector<float> monoSound(const QString& stream, const QString& raw);

}  // namespace testsupport
