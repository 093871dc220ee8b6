#pragma once
// Converting screen points into a window's coordinates (Qt's, y down, from
// the window's top left).

#include <QPointF>

class QWidget;

class WindowExtention {
public:
    WindowExtention() = delete;

    // The screen point in the window's coordinates; the point unchanged
    // without a window.
    static QPointF convertPointFromScreenToWindow(const QWidget* window,
                                                  const QPointF& screenPoint);
    // The same through the centre of a 100 x 100 rectangle around the point
    // converted as a whole; it gives the same point.
    static QPointF convertPointFromScreenToWindowAfter10_7(const QWidget* window,
                                                           const QPointF& screenPoint);
};
