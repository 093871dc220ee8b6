#include "dialogs/core/BgPictureGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

float clampToBox(float value, float low, float high)
{
    return std::min(std::max(value, low), high);
}

}  // namespace

QRectF BgPictureGeometry::canvasBox(const QRectF& bounds)
{
    const QRectF inset = bounds.adjusted(10, 10, -10, -10);
    const float width = float(inset.height()) / 9.0f * 16.0f;
    const float x = float(inset.x()) + (float(inset.width()) - width) / 2.0f;
    return QRectF(x, inset.y(), width, inset.height());
}

QRectF BgPictureGeometry::imageCanvasRect(const QSizeF& picture)
{
    const double w = picture.width();
    const double h = picture.height();
    if (!(w > 0) || !(h > 0)) {
        return QRectF();
    }
    if (w / h >= 16.0 / 9.0) {
        const double width = h / 9.0 * 16.0;
        return QRectF((w - width) / 2.0, 0, width, h);
    }
    const double height = w / 16.0 * 9.0;
    return QRectF(0, (h - height) / 2.0, w, height);
}

QRectF BgPictureGeometry::defaultCrop(const QRectF& canvas, bool is16_9)
{
    if (is16_9) {
        return canvas;
    }
    return QRectF(canvas.x() + canvas.width() / 16.0 * 2.0, canvas.y(),
                  canvas.width() / 16.0 * 12.0, canvas.height());
}

float BgPictureGeometry::imageScale(const QRectF& canvasRect, const QRectF& imageCanvasRect)
{
    if (!(imageCanvasRect.width() > 0) || !(canvasRect.width() > 0)) {
        return 0.0f;
    }
    return float(canvasRect.width()) / float(imageCanvasRect.width());
}

QPointF BgPictureGeometry::imageOffset(const QRectF& canvasRect, const QRectF& imageCanvasRect,
                                       float scale)
{
    return canvasRect.topLeft() - imageCanvasRect.topLeft() * scale;
}

QRectF BgPictureGeometry::pictureToCanvas(const QRectF& rect, float scale, const QPointF& offset)
{
    return QRectF(rect.topLeft() * scale + offset, rect.size() * scale);
}

QRectF BgPictureGeometry::canvasToPicture(const QRectF& rect, float scale, const QPointF& offset)
{
    if (!(scale > 0)) {
        return QRectF();
    }
    const float back = 1.0f / scale;
    return QRectF((rect.topLeft() - offset) * back, rect.size() * back);
}

QPointF BgPictureGeometry::handlePoint(int type, const QRectF& f)
{
    // QRectF's top() is the low y here: y grows upward in canvas coordinates.
    switch (type) {
        case 1:
            return QPointF(f.x(), f.y() + f.height());
        case 2:
            return QPointF(f.x() + f.width(), f.y() + f.height());
        case 3:
            return QPointF(f.x(), f.y());
        case 4:
            return QPointF(f.x() + f.width(), f.y());
        default:
            return f.center();
    }
}

QRectF BgPictureGeometry::handleSquare(int type, const QRectF& frame)
{
    const QPointF p = handlePoint(type, frame);
    return QRectF(p.x() - kHandleSize / 2, p.y() - kHandleSize / 2, kHandleSize, kHandleSize);
}

int BgPictureGeometry::oppositeHandle(int type)
{
    switch (type) {
        case 1:
            return 4;
        case 2:
            return 3;
        case 3:
            return 2;
        case 4:
            return 1;
        case 10:
            return 10;
        default:
            return 0;
    }
}

int BgPictureGeometry::hitType(const QPointF& point, const QRectF& frame)
{
    for (int type = 1; type <= 4; ++type) {
        if (handleSquare(type, frame).contains(point)) {
            return type;
        }
    }
    const bool inside = point.x() >= frame.x() && point.x() < frame.x() + frame.width() &&
                        point.y() >= frame.y() && point.y() < frame.y() + frame.height();
    return inside ? 10 : 0;
}

QRectF BgPictureGeometry::dragStep(int type, const QPointF& p0, const QPointF& p,
                                   const QRectF& start, const QRectF& box, float r)
{
    const float dx = float(p.x() - p0.x());
    if (type == 10) {
        const float dy = float(p.y() - p0.y());
        return boundLimits(start.translated(dx, dy), box, r);
    }
    if (type < 1 || type > 4) {
        return start;
    }
    const QPointF f = handlePoint(oppositeHandle(type), start);
    const QPointF d = handlePoint(type, start);
    const float dy = (type == 1 || type == 4) ? -dx / r : dx / r;
    const float fx = float(f.x());
    const float fy = float(f.y());
    const float kx = float(box.x());
    const float ky = float(box.y());
    const float kr = float(box.x() + box.width());
    const float kt = float(box.y() + box.height());
    const bool left = type == 1 || type == 3;
    const bool up = type == 1 || type == 2;
    const float rx = left ? fx - kx : kr - fx;
    const float ry = up ? kt - fy : fy - ky;
    const float w0 = float(start.width());
    const float h0 = float(start.height());
    const float reach = (h0 > 0 && w0 > 0 && ry / h0 < rx / w0) ? r * ry : rx;
    const float minH = kMinWidth / r;
    const float xLow = left ? fx - reach : fx + kMinWidth;
    const float xHigh = left ? fx - kMinWidth : fx + reach;
    const float yLow = up ? fy + minH : fy - reach / r;
    const float yHigh = up ? fy + reach / r : fy - minH;
    const float nx = clampToBox(float(d.x()) + dx, xLow, xHigh);
    const float ny = clampToBox(float(d.y()) + dy, yLow, yHigh);
    const QRectF spanned(std::min(fx, nx), std::min(fy, ny), std::fabs(nx - fx),
                         std::fabs(ny - fy));
    return boundLimits(spanned, box, r);
}

QRectF BgPictureGeometry::boundLimits(const QRectF& frame, const QRectF& box, float r)
{
    const float kx = float(box.x());
    const float ky = float(box.y());
    const float kw = float(box.width());
    const float kh = float(box.height());
    const float width = std::max(kMinWidth, std::min(kw, float(frame.width())));
    const float height = std::max(kMinWidth / r, std::min(kh, float(frame.height())));
    const float x = std::max(kx, std::min(kx + kw - width, float(frame.x())));
    const float y = std::max(ky, std::min(ky + kh - height, float(frame.y())));
    return QRectF(x, y, width, height);
}
