#pragma once
// Media for the Lumenta tests, generated with ffmpeg. Indexed clips carry
// their frame number in the picture: the left half's luma is
// 16 + (n mod 10) * 20, the right half's 16 + (n / 10) * 20.

#include <QImage>
#include <QString>
#include <QStringList>

namespace lumentatest {

// An indexed 25 fps clip of 64x48 (or the given size) with a 440 Hz tone.
// `codec` is "h264" (MP4/AAC) or "mpeg4" (AVI/MP3) by extension of `path`.
bool makeIndexedClip(const QString& path, double seconds, int width = 64, int height = 48,
                     bool audio = true);

// The frame number shown by a decoded picture of an indexed clip (-1 when
// it shows none), reading the centres of the two halves of `area`.
int frameIndex(const QImage& image);

// Video luma (16..235) and the grey level it decodes to, and back.
double greyOfLuma(double luma);
double lumaOfGrey(double grey);

// Mean grey level of a rectangle.
double meanGrey(const QImage& image, const QRect& rect);

// A mono 32-bit float WAV whose sample n holds (n mod 48000) / 48000.
bool makeRampWav(const QString& path, double seconds);

}  // namespace lumentatest
