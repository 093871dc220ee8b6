#pragma once
// Interlaced clips as camcorders write them, generated with ffmpeg, and the
// reading of their pictures back. Every field shows its own number n,
// counted from 0 at the stream's first field, in three grey bands across the
// upper part of the picture, one base-8 digit each (luma 16 + 28 * digit):
// the left band n mod 8, the middle one (n / 8) mod 8, the right one n / 64.
// The lower part shows the number and the time as text, for a person looking
// at the pictures.

#include <QImage>
#include <QList>
#include <QString>

namespace testsupport {

// An H.264 transport stream (.m2ts) like a camcorder's, in a smaller frame:
// 480x360 with a sample aspect of 4:3, interlaced top field first at 50
// fields a second, two B-frames, a key frame every `keySeconds` and AC-3 5.1
// sound. Like FFmpeg's and the camcorders' streams it starts at about 1.4 s,
// its first picture shown after its first sound.
bool makeCamcorderStream(const QString& path, double seconds, double keySeconds);

// A MiniDV AVI: NTSC 720x480 (sample aspect 10:11), interlaced bottom field
// first at 60000/1001 fields a second, with 48 kHz PCM sound.
bool makeMiniDvClip(const QString& path, double seconds);

// The number shown by the rows of one field of a picture (0: the even rows,
// the top field; 1: the odd rows), or -1 when a band shows no clean digit
// (a blend of fields, or no field picture at all). Reads Grayscale8 pictures
// as grey levels (full range, as ffmpeg's "gray" gives them) and others by
// their qGray.
int fieldNumber(const QImage& image, int parity);

// The frame a picture shows (its first field's number, halved), read over all
// its rows: its fields woven, blended or one of them alone all give the
// frame; -1 when the bands show no frame.
int frameNumber(const QImage& image);

// The field order ffprobe reads from the first video stream of a file
// ("tt", "bb", "progressive", "unknown"), or an empty string.
QString fieldOrderOf(const QString& path);

// Every picture of a video stream (an MPEG-2 title, say) in decoding order
// as Grayscale8 pictures, through ffmpeg; empty (with a failure) on error.
QList<QImage> greyFrames(const QString& stream, const QString& scratch);

}  // namespace testsupport
