#include "menuedit/core/MenuAuxiliaryLines.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The direction a pass works in: across (vertical lines, x and width) or up
// (horizontal lines, y and height).
enum class Axis { across, up };

// One direction of a rectangle: where it starts and how long it is.
struct Span {
    double start;
    double length;

    std::array<double, 3> lines() const { return {start, start + length / 2, start + length}; }
    double end() const { return start + length; }
};

Span along(const QRectF& r, Axis axis)
{
    return axis == Axis::across ? Span{r.x(), r.width()} : Span{r.y(), r.height()};
}

Span crossing(const QRectF& r, Axis axis)
{
    return along(r, axis == Axis::across ? Axis::up : Axis::across);
}

void placeStart(QRectF& r, Axis axis, double start)
{
    if (axis == Axis::across) {
        r.moveLeft(start);
    } else {
        r.moveTop(start);  // y is the lower edge on the canvas
    }
}

QPointF guidePoint(Axis axis, double line, double position)
{
    return axis == Axis::across ? QPointF(line, position) : QPointF(position, line);
}

float lineDistance(double line, const Span& moving)
{
    float best = INFINITY;
    for (const double own : moving.lines()) {
        best = std::min(best, static_cast<float>(std::abs(line - own)));
    }
    return best;
}

// The candidate's line nearest to the moving span, the earlier on a tie.
struct Nearest {
    float distance;
    double line;
};

Nearest nearestLine(const Span& candidate, const Span& moving)
{
    Nearest best{INFINITY, candidate.start};
    for (const double line : candidate.lines()) {
        const float d = lineDistance(line, moving);
        if (d < best.distance) {
            best = {d, line};
        }
    }
    return best;
}

// The start that puts the first of the moving span's lines within reach of
// `line` onto it; the start unchanged when none is.
double snappedStart(double line, const Span& moving)
{
    const auto own = moving.lines();
    const double offsets[] = {0.0, moving.length / 2, moving.length};
    for (int i = 0; i < 3; ++i) {
        if (static_cast<float>(std::abs(line - own[i])) <= MenuAuxiliaryLines::snapDistance) {
            return line - offsets[i];
        }
    }
    return moving.start;
}

// One pass over the candidates in one direction, writing that direction's
// guide. With `snap` the moving rectangle is first snapped onto each
// candidate's nearest line and measured again. Nothing is written without
// candidates.
void guidePass(QRectF& moving, const QList<QRectF>& candidates, Axis axis, bool snap, float reach,
               bool& shown, QPointF& end1, QPointF& end2)
{
    for (const QRectF& candidate : candidates) {
        const Span other = along(candidate, axis);
        Nearest nearest = nearestLine(other, along(moving, axis));
        if (snap) {
            placeStart(moving, axis, snappedStart(nearest.line, along(moving, axis)));
            nearest = nearestLine(other, along(moving, axis));
        }
        if (nearest.distance > reach) {
            shown = false;
            continue;
        }
        shown = true;
        const Span mine = crossing(moving, axis);
        const Span theirs = crossing(candidate, axis);
        end1 = guidePoint(axis, nearest.line, std::min(mine.start, theirs.start));
        end2 = guidePoint(axis, nearest.line, std::max(mine.end(), theirs.end()));
        return;
    }
}

}  // namespace

AuxiliarySnap MenuAuxiliaryLines::checkForDrawAuxiliaryLine(const QRectF& moving,
                                                            const QList<QRectF>& candidates,
                                                            const AuxiliaryLines& previous)
{
    AuxiliarySnap result{moving, previous};
    AuxiliaryLines& lines = result.lines;
    guidePass(result.rect, candidates, Axis::across, true, dragGuideDistance, lines.drawMediaLine,
              lines.mediaPoint1, lines.mediaPoint2);
    guidePass(result.rect, candidates, Axis::up, true, dragGuideDistance, lines.drawMediaHLine,
              lines.mediaHPoint1, lines.mediaHPoint2);
    return result;
}

AuxiliaryLines MenuAuxiliaryLines::checkForDrawAuxiliaryLineForKeyEvent(
    const QRectF& frame, const QList<QRectF>& candidates, const AuxiliaryLines& previous)
{
    AuxiliaryLines lines = previous;
    QRectF still = frame;
    guidePass(still, candidates, Axis::across, false, keyGuideDistance, lines.drawMediaLine,
              lines.mediaPoint1, lines.mediaPoint2);
    guidePass(still, candidates, Axis::up, false, keyGuideDistance, lines.drawMediaHLine,
              lines.mediaHPoint1, lines.mediaHPoint2);
    return lines;
}
