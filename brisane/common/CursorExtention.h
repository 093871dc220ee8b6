#pragma once
// The application's own cursors: a cursor from any picture, the two diagonal
// resize cursors and the rotate cursor. Each call makes a new cursor; call on
// the main thread.

#include <QCursor>
#include <QImage>

class CursorExtention {
public:
    CursorExtention() = delete;

    // A cursor showing the picture with its hot spot at the picture's centre.
    static QCursor cursorWithImage(const QImage& image);
    // The left-right resize arrow turned 45 degrees clockwise: upper left to
    // lower right.
    static QCursor resizeLeftTopToRightBottom();
    // The left-right resize arrow turned 45 degrees counter-clockwise.
    static QCursor resizeLeftBottomToRightTop();
    // The "resize-rotate-cursor" picture.
    static QCursor resizeRotate();
    // The pictures the diagonal cursors show.
    static QImage resizeDiagonalImage(float degrees);
};
