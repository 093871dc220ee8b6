#pragma once
// The rules behind the video edit sheet's crop and watermark tabs: quarter
// turns, which flip a button means while the picture is on its side, the
// limits of a typed crop side and of a typed watermark size, when the
// watermark picture well takes a drop, the size of a text watermark, and how
// the well fits its picture. Pure; any thread (textSize needs the fonts a
// QGuiApplication loads).

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class VideoEditSettingRules {
public:
    VideoEditSettingRules() = delete;

    // --- Rotation and flips ---
    // The quarter turn a stored rotation stands for: int(rotate + 0.1),
    // brought into 0..359, so 89.95 counts as 90.
    static int quarterTurn(float rotate);
    // A quarter turn to the left (counter-clockwise) and to the right.
    static int rotateLeft(float rotate);
    static int rotateRight(float rotate);
    // Whether a flip asked for as seen (vertical or not) mirrors the stored
    // picture top to bottom: the request is swapped while the picture is
    // turned by 90 or 270 degrees.
    static bool flipsVertically(float rotate, bool verticalRequest);

    // --- Crop ---
    // The smallest crop side in source pixels: the overlay's smallest side
    // (in its points) scaled by source width / overlay width (at least 1).
    static double minLengthOfCropToVideo(double minFrameLength, double sourceWidth,
                                         double overlayWidth);
    // A typed crop side: below the minimum gives the minimum, above the whole
    // frame's side gives that side; never more than the frame's side.
    static double typedCropLength(double typed, double minimum, double frameLength);

    // --- Watermark ---
    // A typed watermark side limited to 0 .. the room beside its origin.
    static double clampedDisplayLength(double typed, double room);
    // The picture well takes drops only for a watermark that is on and of
    // picture type (0).
    static bool videoEditCanUse(bool enableWatermark, int watermarkType);
    // The first of the files that loads as a picture; empty for none.
    static QString firstLoadablePicture(const QStringList& paths);
    // The natural size of one line of text in that font.
    static QSizeF textSize(const QString& text, const QFont& font);
    // A picture of `size` fitted into `dest`: as wide as dest and centred
    // vertically when it is relatively wider, else as high and centred
    // horizontally.
    static QRectF sizeMaxInSourceRect(const QSizeF& size, const QRectF& dest);
};
