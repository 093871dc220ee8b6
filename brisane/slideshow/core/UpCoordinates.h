#pragma once
// The slideshow editor's views keep their geometry with the origin at the
// lower left and y upward; Qt paints and reports the mouse with y downward.
// Every such view converts here, in its paint and mouse handlers, and nowhere
// else. Stateless; any thread.

#include <QPointF>
#include <QRectF>

class QPainter;

class UpCoordinates {
public:
    UpCoordinates() = delete;

    // A y-up rectangle of a view `height` high in the view's Qt coordinates,
    // and back (the conversion is its own inverse).
    static QRectF toWidget(const QRectF& rect, double height);
    static QRectF fromWidget(const QRectF& rect, double height) { return toWidget(rect, height); }
    // A Qt point of the view in y-up coordinates, and back.
    static QPointF fromWidget(const QPointF& point, double height);
    static QPointF toWidget(const QPointF& point, double height)
    {
        return fromWidget(point, height);
    }
    // Makes the painter draw y-up on a view `height` high (for drawing that
    // takes y-up coordinates itself).
    static void turnUp(QPainter& painter, double height);
    // The y of a horizontal line at y-up `y`.
    static double lineToWidget(double y, double height) { return height - y; }
};
