#include "menuedit/core/MenuShapeGeometry.h"

#include <algorithm>
#include <cmath>

#include "common/CommonFunction.h"

QPointF MenuShapeGeometry::dragTypeCenterPoint(int dragType, const QRectF& frame)
{
    const double left = frame.x() - handleOffset;
    const double right = frame.x() + frame.width() + handleOffset;
    const double lower = frame.y() - handleOffset;
    const double upper = frame.y() + frame.height() + handleOffset;
    switch (dragType) {
        case dragUpperLeft:
            return {left, upper};
        case dragUpperRight:
            return {right, upper};
        case dragLowerLeft:
            return {left, lower};
        case dragLowerRight:
            return {right, lower};
        default:
            return CommonFunction::centerForRect(frame);
    }
}

QRectF MenuShapeGeometry::makeRectForDragType(int dragType, const QRectF& frame)
{
    if (isCornerHandle(dragType)) {
        return CommonFunction::rectForCenter(dragTypeCenterPoint(dragType, frame),
                                             QSizeF(handleSide, handleSide));
    }
    return dragType == dragMove ? frame : QRectF();
}

bool MenuShapeGeometry::pointInRect(const QPointF& point, const QRectF& rect)
{
    return point.x() >= rect.x() && point.x() < rect.x() + rect.width() && point.y() >= rect.y() &&
           point.y() < rect.y() + rect.height();
}

bool MenuShapeGeometry::itemFrameHit(const QRectF& frame, const QPointF& point)
{
    return pointInRect(point, frame.adjusted(-hitMargin, -hitMargin, hitMargin, hitMargin));
}

bool MenuShapeGeometry::rectsOverlap(const QRectF& a, const QRectF& b)
{
    const double left = std::max(a.x(), b.x());
    const double right = std::min(a.x() + a.width(), b.x() + b.width());
    const double lower = std::max(a.y(), b.y());
    const double upper = std::min(a.y() + a.height(), b.y() + b.height());
    return left < right && lower < upper;
}

QRectF MenuShapeGeometry::getValidSelectedItemLargeRect(const QList<QRectF>& frames)
{
    if (frames.isEmpty()) {
        return {};
    }
    float left = static_cast<float>(frames.first().x());
    float lower = static_cast<float>(frames.first().y());
    float right = static_cast<float>(frames.first().x() + frames.first().width());
    float upper = static_cast<float>(frames.first().y() + frames.first().height());
    for (const QRectF& frame : frames) {
        left = std::min(left, static_cast<float>(frame.x()));
        lower = std::min(lower, static_cast<float>(frame.y()));
        right = std::max(right, static_cast<float>(frame.x() + frame.width()));
        upper = std::max(upper, static_cast<float>(frame.y() + frame.height()));
    }
    return QRectF(left, lower, right - left, upper - lower);
}

bool MenuShapeGeometry::canResizeFrame(const QRectF& frame)
{
    return std::isfinite(frame.width()) && frame.width() > 0;
}

bool MenuShapeGeometry::isFiniteRect(const QRectF& rect)
{
    return std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width()) &&
           std::isfinite(rect.height());
}

float MenuShapeGeometry::resizeScale(int dragType, double dx, double width, float minScale,
                                     float maxScale)
{
    if (!std::isfinite(width) || !(width > 0) || !std::isfinite(dx)) {
        return 1.0f;
    }
    const bool leftHand = dragType == dragUpperLeft || dragType == dragLowerLeft;
    float scale = static_cast<float>((leftHand ? width - 2 * dx : width + 2 * dx) / width);
    // The maximum first, then the minimum: when the limits cross, the
    // minimum wins whichever way the handle went.
    if (scale > maxScale) {
        scale = maxScale;
    }
    if (minScale > scale) {
        scale = minScale;
    }
    return scale;
}

QRectF MenuShapeGeometry::doDragAction(int dragType, const QPointF& from, const QPointF& to,
                                       const QRectF& rect, const QRectF& oldFrame, float minScale,
                                       float maxScale)
{
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    if (dragType == dragMove) {
        return rect.translated(dx, dy);
    }
    if (!isCornerHandle(dragType)) {
        return rect;
    }
    if (!canResizeFrame(oldFrame)) {
        return oldFrame;
    }
    const float scale = resizeScale(dragType, dx, oldFrame.width(), minScale, maxScale);
    const QSizeF size = CommonFunction::convertSize(oldFrame.size(), scale);
    return CommonFunction::rectForCenter(CommonFunction::centerForRect(oldFrame), size);
}
