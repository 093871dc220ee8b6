#pragma once
// The drawn panels behind the slideshow editor's controls: the upper one (a
// grey gradient with edge lines), the middle one (flat dark grey) and the
// lower one (a lighter gradient with lines along its top). A click on any of
// them takes the keyboard focus (away from the photo strip).
//
// Greys are given as one value for red, green and blue; lines are 1 point
// wide, positions counted from the bottom as the panels are described. The
// three differ only in their drawing, so they share this base. Main thread.

#include <QList>

#include "common/widgets/MouseFirstResponderView.h"

class RenderBackView : public MouseFirstResponderView {
    Q_OBJECT
public:
    // A line across the panel: grey value and y (from the bottom, 0.5 on a
    // pixel's middle).
    struct Line {
        double grey;
        double y;
    };
    // The panel's fill: a gradient from `top` at the top to `bottom` at the
    // bottom (equal for a flat fill), and its lines for a panel `height` high.
    struct Look {
        double top;
        double bottom;
        QList<Line> lines;
    };

    virtual Look look(double height) const = 0;

protected:
    using MouseFirstResponderView::MouseFirstResponderView;
    void paintEvent(QPaintEvent* event) override;
};
