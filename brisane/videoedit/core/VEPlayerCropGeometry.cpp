#include "videoedit/core/VEPlayerCropGeometry.h"

#include <algorithm>
#include <cmath>

bool VEPlayerCropGeometry::allowDragType(int type) const
{
    return !onlyMove || type == Move;
}

QPointF VEPlayerCropGeometry::dragTypeCenterPoint(int type) const
{
    const double half = dragRectLength / 2.0;
    const QRectF r = cropRect.adjusted(half, half, -half, -half);
    // y up: the rectangle's top is its maxY (QRectF's bottom()).
    const double minX = r.left();
    const double maxX = r.left() + r.width();
    const double minY = r.top();
    const double maxY = r.top() + r.height();
    switch (type) {
        case TopLeft:
            return {minX, maxY};
        case TopRight:
            return {maxX, maxY};
        case BottomLeft:
            return {minX, minY};
        case BottomRight:
            return {maxX, minY};
        case Left:
            return {minX, (minY + maxY) / 2.0};
        case Right:
            return {maxX, (minY + maxY) / 2.0};
        case Top:
            return {(minX + maxX) / 2.0, maxY};
        case Bottom:
            return {(minX + maxX) / 2.0, minY};
        default:
            return {};
    }
}

QRectF VEPlayerCropGeometry::makeRectForDragType(int type) const
{
    if (type == Move) {
        return cropRect;
    }
    if (type < TopLeft || type > Bottom) {
        return {};
    }
    const QPointF centre = dragTypeCenterPoint(type);
    const double half = dragRectLength / 2.0;
    return {centre.x() - half, centre.y() - half, dragRectLength, dragRectLength};
}

int VEPlayerCropGeometry::pointHitDragType(const QPointF& point) const
{
    for (int type = TopLeft; type <= Move; ++type) {
        if (!allowDragType(type)) {
            continue;
        }
        const QRectF r = makeRectForDragType(type);
        // Edges included, as a press on the border line belongs to it.
        if (point.x() >= r.left() && point.x() <= r.left() + r.width() && point.y() >= r.top() &&
            point.y() <= r.top() + r.height() && !r.isEmpty()) {
            return type;
        }
    }
    return None;
}

QPointF VEPlayerCropGeometry::dragPointType(int type, const QRectF& rect)
{
    const double minX = rect.left();
    const double maxX = rect.left() + rect.width();
    const double minY = rect.top();
    const double maxY = rect.top() + rect.height();
    switch (type) {
        case TopLeft:
        case Left:
        case Top:
            return {minX, maxY};
        case TopRight:
        case Right:
            return {maxX, maxY};
        case BottomLeft:
            return {minX, minY};
        case BottomRight:
        case Bottom:
            return {maxX, minY};
        default:
            return {};
    }
}

QPointF VEPlayerCropGeometry::fixedPointType(int type, const QRectF& rect)
{
    switch (type) {
        case TopLeft:
        case Left:
        case Top:
            return dragPointType(BottomRight, rect);
        case TopRight:
        case Right:
            return dragPointType(BottomLeft, rect);
        case BottomLeft:
            return dragPointType(TopRight, rect);
        case BottomRight:
        case Bottom:
            return dragPointType(TopLeft, rect);
        default:
            return dragPointType(type, rect);
    }
}

QRectF VEPlayerCropGeometry::makeRectBy(const QPointF& a, const QPointF& b)
{
    const float x = static_cast<float>(std::min(a.x(), b.x()));
    const float y = static_cast<float>(std::min(a.y(), b.y()));
    return {x, y, std::abs(a.x() - b.x()), std::abs(a.y() - b.y())};
}

QPointF VEPlayerCropGeometry::fixPoint(const QPointF& point, const QRectF& rect)
{
    const QRectF r = rect.normalized();
    return {std::clamp(point.x(), r.left(), r.left() + r.width()),
            std::clamp(point.y(), r.top(), r.top() + r.height())};
}

QRectF VEPlayerCropGeometry::makeDragRectForFixedPoint(const QPointF& fixed,
                                                       const QPointF& drag) const
{
    const double m = minFrameLength;
    const QPointF nearest(fixed.x() > drag.x() ? fixed.x() - m : fixed.x() + m,
                          fixed.y() > drag.y() ? fixed.y() - m : fixed.y() + m);
    return makeRectBy(drag, nearest);
}

QRectF VEPlayerCropGeometry::boundsLimits(const QRectF& rect) const
{
    const double width = std::clamp(rect.width(), 0.0, std::max(0.0, bounds.width()));
    const double height = std::clamp(rect.height(), 0.0, std::max(0.0, bounds.height()));
    const float x = static_cast<float>(std::clamp(rect.x(), 0.0, bounds.width() - width));
    const float y = static_cast<float>(std::clamp(rect.y(), 0.0, bounds.height() - height));
    return {x, y, width, height};
}

QRectF VEPlayerCropGeometry::doDragAction(int type, const QPointF& from, const QPointF& to,
                                          const QRectF& oldCrop) const
{
    QPointF d = to - from;
    if (type == Move) {
        return boundsLimits(oldCrop.translated(d));
    }
    if (type < TopLeft || type > Bottom) {
        return oldCrop;
    }
    if (type == Top || type == Bottom) {
        d.setX(0.0);
    } else if (type == Left || type == Right) {
        d.setY(0.0);
    }
    const QPointF fixed = fixedPointType(type, oldCrop);
    const QPointF dragged = dragPointType(type, oldCrop);
    const QRectF area =
        makeDragRectForFixedPoint(fixed, dragPointType(type, QRectF(QPointF(0, 0), bounds)));
    return makeRectBy(fixed, fixPoint(dragged + d, area));
}

QRectF VEPlayerCropGeometry::moveBy(double dx, double dy) const
{
    return doDragAction(Move, QPointF(0, 0), QPointF(dx * kMoveStep, dy * kMoveStep), cropRect);
}
