#include "dialogs/core/ItemZoomLimits.h"

#include <algorithm>
#include <cmath>

#include "common/CommonFunction.h"
#include "model/DVDPageItem.h"

namespace {

bool hasArea(const QRectF& frame)
{
    return frame.width() > 0.0 && frame.height() > 0.0;
}

// The factor at which a half size grown about its centre covers `room`
// beyond the edge as well.
double reach(double room, double half)
{
    return (room + half) / half;
}

}  // namespace

float ItemZoomLimits::getMinZoomWithFrame(const QRectF& frame)
{
    if (!hasArea(frame)) {
        return 1.0f;
    }
    return static_cast<float>(minimumWidth / frame.width());
}

float ItemZoomLimits::getMaxZoomFunction(const QRectF& frame, const QRectF& canvas,
                                         const QList<QRectF>& others)
{
    if (!hasArea(frame)) {
        return 1.0f;
    }
    const double x = frame.x();
    const double y = frame.y();
    const double w = frame.width();
    const double h = frame.height();
    const double halfW = w / 2.0;
    const double halfH = h / 2.0;

    const double top = reach(canvas.y() + canvas.height() - (y + h), halfH);
    const double bottom = reach(y - canvas.y(), halfH);
    const double right = reach(canvas.x() + canvas.width() - (x + w), halfW);
    const double left = reach(x - canvas.x(), halfW);
    float result = static_cast<float>(std::min({top, bottom, right, left}));

    for (const QRectF& other : others) {
        const QRectF box = getValidBigRectWithRect(frame, other);
        const double gapX = box.width() - w - other.width();
        const double gapY = box.height() - h - other.height();
        double limit = 0.0;
        if (gapX >= 0.0 && gapY >= 0.0) {
            limit = std::max(reach(gapX, halfW), reach(gapY, halfH));
        } else if (gapY >= 0.0) {
            limit = reach(gapY, halfH);
        } else if (gapX >= 0.0) {
            limit = reach(gapX, halfW);
        } else {
            continue;
        }
        result = std::min(result, static_cast<float>(limit));
    }
    return result;
}

QRectF ItemZoomLimits::getValidBigRectWithRect(const QRectF& frame, const QRectF& other)
{
    const float left = std::min(static_cast<float>(frame.x()), static_cast<float>(other.x()));
    const float bottom = std::min(static_cast<float>(frame.y()), static_cast<float>(other.y()));
    const float right = std::max(static_cast<float>(frame.x() + frame.width()),
                                 static_cast<float>(other.x() + other.width()));
    const float top = std::max(static_cast<float>(frame.y() + frame.height()),
                               static_cast<float>(other.y() + other.height()));
    return QRectF(left, bottom, right - left, top - bottom);
}

ZoomRange ItemZoomLimits::zoomRange(const QRectF& frame, const QRectF& canvas,
                                    const QList<QRectF>& others)
{
    ZoomRange range;
    range.minZoom = getMinZoomWithFrame(frame);
    range.maxZoom = std::max(range.minZoom, getMaxZoomFunction(frame, canvas, others));
    return range;
}

QList<QRectF> ItemZoomLimits::limitingFrames(const QList<std::shared_ptr<DVDPageItem>>& items)
{
    QList<QRectF> frames;
    for (const auto& item : items) {
        if (item && item->type() != 2) {
            frames.append(item->frame());
        }
    }
    return frames;
}

ZoomRange ItemZoomLimits::zoomRangeOfItem(const std::shared_ptr<DVDPageItem>& item,
                                          const QRectF& canvas,
                                          const QList<std::shared_ptr<DVDPageItem>>& items)
{
    if (!item) {
        return {};
    }
    return zoomRange(item->frame(), canvas, limitingFrames(items));
}

QRectF ItemZoomLimits::zoomedFrame(const QRectF& oldFrame, float zoomValue)
{
    const float width = static_cast<float>(std::trunc(oldFrame.width())) * zoomValue;
    const float height = static_cast<float>(std::trunc(oldFrame.height())) * zoomValue;
    return CommonFunction::rectForCenter(CommonFunction::centerForRect(oldFrame),
                                         QSizeF(width, height));
}

int ItemZoomLimits::sliderPosition(float zoom)
{
    return static_cast<int>(std::lround(static_cast<double>(zoom) * sliderScale));
}

float ItemZoomLimits::zoomAtSliderPosition(int position)
{
    return static_cast<float>(position) / static_cast<float>(sliderScale);
}
