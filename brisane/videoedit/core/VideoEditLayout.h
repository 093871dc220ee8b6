#pragma once
// The geometry of the video edit sheet's picture area: where the pictures
// before and after the edits go on each tab, and the conversion between the
// crop and watermark overlay's points and the movie's pixels.
//
// The pictures are centred, so the layout reads the same with y up or down.
// The overlay keeps the picture's y axis (origin at the lower left); its
// conversions only scale. Every divisor is at least 1, so a source of 0 x 0
// pixels or an overlay of no size gives finite rectangles. Pure; any thread.

#include <QRectF>
#include <QSizeF>

class VideoEditLayout {
public:
    VideoEditLayout() = delete;

    // The picture shown when the movie gives no size at all.
    static constexpr QSizeF kFallbackPictureSize{160.0, 90.0};
    // On the crop tab each half of the area is inset by this much and moved
    // this much towards the middle.
    static constexpr double kCropTabInset = 6.0;
    static constexpr double kCropTabShift = 2.0;

    struct PictureFrames {
        QRectF origin;  // the picture before edits; shown on the crop tab only
        QRectF effect;  // the picture after edits
        bool showOrigin = false;
    };

    // The frames in the area A for the player's rectangles before (O) and
    // after (E) the edits. E falls back to O, then to 160 x 90. On the crop
    // tab O is fitted into the left half and E into the right one (each inset
    // 6 and moved 2 points inwards); elsewhere E is fitted into all of A.
    static PictureFrames pictureFrames(const QRectF& area, const QRectF& originRect,
                                       const QRectF& effectRect, bool cropTab);
    // The rectangle after the edits, with its fallbacks.
    static QRectF effectRect(const QRectF& originRect, const QRectF& effectRect);

    // Pixels of a picture of `reference` size to points of an overlay of
    // `overlay` size, and back.
    static QRectF mediaCropToCropView(const QRectF& pixels, const QSizeF& reference,
                                      const QSizeF& overlay);
    static QRectF cropViewRectToMediaCrop(const QRectF& points, const QSizeF& reference,
                                          const QSizeF& overlay);
};
