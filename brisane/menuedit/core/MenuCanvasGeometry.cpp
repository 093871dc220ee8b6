#include "menuedit/core/MenuCanvasGeometry.h"

#include <algorithm>

#include "common/CommonFunction.h"

QRectF MenuCanvasGeometry::boundInCanvasLimit(const QRectF& rect, const QRectF& canvas)
{
    const QSizeF size(std::min(canvas.width(), rect.width()),
                      std::min(canvas.height(), rect.height()));
    const double left = canvas.x() + size.width() / 2;
    const double right = canvas.x() + canvas.width() - size.width() / 2;
    const double lower = canvas.y() + size.height() / 2;
    const double upper = canvas.y() + canvas.height() - size.height() / 2;
    const double cx = rect.x() + rect.width() / 2;
    const double cy = rect.y() + rect.height() / 2;
    const float x = static_cast<float>(std::max(std::min(cx, right), left));
    const float y = static_cast<float>(std::max(std::min(cy, upper), lower));
    return CommonFunction::rectForCenter(QPointF(x, y), size);
}

CanvasFit MenuCanvasGeometry::fitCanvasInView(const QRectF& canvas, const QSizeF& viewSize)
{
    const QRectF view(QPointF(0, 0), viewSize);
    CanvasFit fit;
    if (canvas.isEmpty()) {
        fit.bounds = view;
        fit.canvasToView = QTransform(1, 0, 0, -1, 0, viewSize.height());
        return fit;
    }
    const QRectF inset = view.adjusted(viewInset, viewInset, -viewInset, -viewInset);
    fit.fitted = CommonFunction::scaleRectIn(
        canvas, inset.isValid() ? inset : QRectF(view.center(), QSizeF(0, 0)));
    fit.scale =
        static_cast<float>(canvas.width()) / static_cast<float>(std::max(fit.fitted.width(), 1.0));
    const QRectF scaled = CommonFunction::convertRect(view, fit.scale);
    fit.bounds = CommonFunction::rectForCenter(canvas.center(), scaled.size());
    // x' = (x - B.x) / k;  y' = H - (y - B.y) / k.
    const double k = fit.scale;
    fit.canvasToView = QTransform(1 / k, 0, 0, -1 / k, -fit.bounds.x() / k,
                                  viewSize.height() + fit.bounds.y() / k);
    return fit;
}

float MenuCanvasGeometry::minZoomForFrame(const QRectF& frame)
{
    if (!(frame.width() > 0)) {
        return 1.0f;
    }
    return 30.0f / static_cast<float>(frame.width());
}

float MenuCanvasGeometry::maxZoomForFrame(const QRectF& frame, const QRectF& canvas)
{
    if (!(frame.width() > 0) || !(frame.height() > 0)) {
        return 1.0f;
    }
    const QPointF centre = frame.center();
    const double halfWidth = frame.width() / 2;
    const double halfHeight = frame.height() / 2;
    const float left = static_cast<float>((centre.x() - canvas.left()) / halfWidth);
    const float right = static_cast<float>((canvas.x() + canvas.width() - centre.x()) / halfWidth);
    const float lower = static_cast<float>((centre.y() - canvas.y()) / halfHeight);
    const float upper =
        static_cast<float>((canvas.y() + canvas.height() - centre.y()) / halfHeight);
    return std::max(0.0f, std::min({left, right, lower, upper}));
}
