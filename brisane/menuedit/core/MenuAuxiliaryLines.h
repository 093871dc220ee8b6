#pragma once
// The guide lines of the menu canvas, free of widgets: while one item is
// dragged it is pulled into line with the other items of the page, and after
// an arrow-key move the lines it already shares with them are shown.
//
// The lines of a rectangle are, across, its left edge, centre and right
// edge, and, up, its lower edge, middle and upper edge; that order breaks
// every tie. A candidate's distance to the moving rectangle is the smallest
// distance between one of its lines and the moving rectangle's three lines
// of the same direction, held in single precision.
//
// The candidates are the frames of the page's other items in the editor's
// order: static texts first, then the other items, each in page order. In
// each direction the first candidate close enough decides, so at most one
// vertical and one horizontal guide are shown. When there are no candidates
// both checks leave the guides exactly as they were.
//
// Canvas units (origin at the lower left, y up). Pure functions; any thread.

#include <QList>
#include <QPointF>
#include <QRectF>

// The guides on show: a vertical line from mediaPoint1 (lower end) to
// mediaPoint2 (upper end) while drawMediaLine is set, a horizontal one from
// mediaHPoint1 (left end) to mediaHPoint2 (right end) while drawMediaHLine
// is set.
struct AuxiliaryLines {
    bool drawMediaLine = false;
    QPointF mediaPoint1;
    QPointF mediaPoint2;
    bool drawMediaHLine = false;
    QPointF mediaHPoint1;
    QPointF mediaHPoint2;

    bool showsAny() const { return drawMediaLine || drawMediaHLine; }
};

// What the drag check gives: the rectangle moved onto the chosen lines, and
// the guides.
struct AuxiliarySnap {
    QRectF rect;
    AuxiliaryLines lines;
};

class MenuAuxiliaryLines {
public:
    MenuAuxiliaryLines() = delete;

    // A line of the moving rectangle within this distance of a candidate's
    // line is snapped onto it (inclusive).
    static constexpr float snapDistance = 10.0f;
    // After the snap, a guide is shown when the distance is at most this.
    static constexpr float dragGuideDistance = 1.0f;
    // The arrow-key check shows a guide when the distance is at most this.
    static constexpr float keyGuideDistance = 0.5f;

    // The drag check. For each direction, vertical first: the first
    // candidate whose nearest line L (the earlier line on a tie) is within
    // 10 of the moving rectangle's left edge, else centre, else right edge
    // (the first of the three in that order, not the nearest) moves the
    // rectangle so that that line lies on L, and shows the guide along L
    // from the end of one rectangle to the far end of the other. A candidate
    // out of reach clears the direction's guide and the next is tried. The
    // horizontal pass starts from where the vertical pass left the
    // rectangle. The size never changes.
    static AuxiliarySnap checkForDrawAuxiliaryLine(const QRectF& moving,
                                                   const QList<QRectF>& candidates,
                                                   const AuxiliaryLines& previous);

    // The arrow-key check: the same search with the rectangle where it
    // stands and a reach of 0.5; it moves nothing.
    static AuxiliaryLines checkForDrawAuxiliaryLineForKeyEvent(const QRectF& frame,
                                                               const QList<QRectF>& candidates,
                                                               const AuxiliaryLines& previous);
};
