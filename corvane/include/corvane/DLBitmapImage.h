#pragma once
// An off-screen drawing surface: an RGBA bitmap, one pixel per point, that
// starts fully transparent. Between lockFocus and unlockFocus, painter()
// draws into it with the origin at the bottom-left corner and y growing
// upwards, one unit per pixel. Focus calls nest in pairs; the surface that
// holds focus last on a thread is that thread's current context.
//
// Pictures are QImages (never QPixmap), so a surface may be used on any
// thread. Pictures drawn through drawImage come out the right way up.

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <functional>
#include <memory>

#include "platform/Object.h"

class DLBitmapImage : public Object {
public:
    DLBitmapImage() = default;
    ~DLBitmapImage() override;

    // A transparent surface of `size` points, each side rounded to the nearest
    // pixel (x + 0.5, truncated). Null when a side is 0 pixels or less, or the
    // bitmap cannot be allocated.
    static std::shared_ptr<DLBitmapImage> imageWithSize(const QSizeF& size);

    // Makes this surface the current context of the calling thread; its
    // painter's state is saved when focus was already locked.
    void lockFocus();
    // Restores the state saved by the matching lockFocus; the outermost call
    // ends painting and gives the context back to what was current before.
    void unlockFocus();
    bool hasFocus() const { return m_focusDepth > 0; }

    QSizeF size() const;
    // The bitmap itself.
    const QImage& bitmapImageRep() const { return m_bitmap; }
    // A picture of what the bitmap holds now (null for a surface without a bitmap).
    QImage nsimage() const;

    // The painter while focus is locked, else null. Coordinates are y up.
    QPainter* painter() const { return m_painter.get(); }
    // The painter of the surface that holds focus on this thread, or null.
    static QPainter* currentContext();

    // Draws the `source` part of `image` (in the picture's own bottom-left
    // coordinates, in pixels; an empty rectangle means the whole picture) into
    // `destination` of a y-up painter, upright.
    static void drawImage(QPainter& painter, const QImage& image, const QRectF& destination,
                          const QRectF& source = QRectF(),
                          QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver,
                          double opacity = 1.0);

    // Runs `draw` with the painter turned back to Qt's top-left, y-down
    // orientation inside `destination` (y up): the callback draws text or
    // shapes in a space of destination's size whose origin is its top-left
    // corner, and they come out upright.
    static void drawUpright(QPainter& painter, const QRectF& destination,
                            const std::function<void(QPainter&, const QSizeF&)>& draw);

    // Converts a rectangle between bottom-left (y up) and top-left (y down)
    // coordinates in a space of the given height. The conversion is its own inverse.
    static QRectF flipped(const QRectF& rect, double height);

private:
    QImage m_bitmap;
    std::unique_ptr<QPainter> m_painter;
    int m_focusDepth = 0;
};
