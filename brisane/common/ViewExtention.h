#pragma once
// Conveniences every view of the application uses: first responder, the mouse
// position in the view, its context menu, the timeline gradient and the drag
// data of an arbitrary item.
//
// Points are in Qt's coordinates (y down): view points relative to the view's
// top left, window points relative to its window's top left.

#include <QColor>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>

class QMimeData;
class QPainter;
class QWidget;

class ViewExtention {
public:
    ViewExtention() = delete;

    // Gives a control inside a sheet with light window text (on a dark
    // background) the application's own window text again, with which the
    // style draws the control's arrows on their light buttons.
    static void useApplicationWindowText(QWidget* control);
    // True when the view is its window's focus widget.
    static bool isFirstResponder(const QWidget* view);
    // Makes the view its window's focus widget.
    static void makeFirstResponder(QWidget* view);
    // The current mouse position in the view's own coordinates.
    static QPointF currentScreenPoint(const QWidget* view);
    // A screen point in the coordinates of the view's window; the zero point
    // without a view.
    static QPointF convertScreenPointToBasePoint(const QWidget* view, const QPointF& screenPoint);

    // Asks the view (and, when it has none, its parents, as Qt does) for its
    // context menu at the screen point and shows it. False when none answered.
    static bool showContextMenu(QWidget* view, const QPoint& screenPoint,
                                Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // Clips to the rectangle with corners of radius 10 and fills it with a
    // vertical gradient edge, middle, edge. The clip stays set on the painter
    // for the caller's further drawing.
    static void drawTimelineMediaViewGradient(QPainter& painter, const QRectF& rect,
                                              const QColor& middleColor, const QColor& edgeColor);
    // The same with the timeline's colours (105, 105, 115) and (153, 164, 175).
    static void drawTimelineMediaViewGradient(QPainter& painter, const QRectF& rect);

    // New drag data carrying the item under the type; the drag takes it over.
    static QMimeData* draggingItemWithType(const QString& type, const QVariant& item);
};
