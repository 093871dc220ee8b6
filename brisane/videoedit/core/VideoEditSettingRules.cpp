#include "videoedit/core/VideoEditSettingRules.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "platform/BoundedImage.h"

int VideoEditSettingRules::quarterTurn(float rotate)
{
    // The integer part; rounded down so a negative turn keeps its quarter.
    const int r = static_cast<int>(std::floor(rotate + 0.1f));
    return ((r % 360) + 360) % 360;
}

int VideoEditSettingRules::rotateLeft(float rotate)
{
    return (quarterTurn(rotate) + 90) % 360;
}

int VideoEditSettingRules::rotateRight(float rotate)
{
    return (quarterTurn(rotate) + 270) % 360;
}

bool VideoEditSettingRules::flipsVertically(float rotate, bool verticalRequest)
{
    const bool onItsSide = (quarterTurn(rotate) / 90) % 2 == 1;
    return onItsSide ? !verticalRequest : verticalRequest;
}

double VideoEditSettingRules::minLengthOfCropToVideo(double minFrameLength, double sourceWidth,
                                                     double overlayWidth)
{
    return minFrameLength * sourceWidth / std::max(1.0, overlayWidth);
}

double VideoEditSettingRules::typedCropLength(double typed, double minimum, double frameLength)
{
    if (typed < minimum) {
        // Never past the frame, even where the overlay is too small to give
        // a minimum below it.
        return std::min(minimum, std::max(frameLength, 0.0));
    }
    return typed <= frameLength ? typed : frameLength;
}

double VideoEditSettingRules::clampedDisplayLength(double typed, double room)
{
    return std::clamp(typed, 0.0, std::max(0.0, room));
}

bool VideoEditSettingRules::videoEditCanUse(bool enableWatermark, int watermarkType)
{
    return enableWatermark && watermarkType == 0;
}

QString VideoEditSettingRules::firstLoadablePicture(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (!BoundedImage::read(path).isNull()) {
            return path;
        }
    }
    return {};
}

QSizeF VideoEditSettingRules::textSize(const QString& text, const QFont& font)
{
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QRectF VideoEditSettingRules::sizeMaxInSourceRect(const QSizeF& size, const QRectF& dest)
{
    if (size.isEmpty() || dest.isEmpty()) {
        return {};
    }
    if (size.width() / size.height() > dest.width() / dest.height()) {
        const double height = dest.width() / size.width() * size.height();
        return {dest.x(), dest.y() + (dest.height() - height) / 2.0, dest.width(), height};
    }
    const double width = dest.height() / size.height() * size.width();
    return {dest.x() + (dest.width() - width) / 2.0, dest.y(), width, dest.height()};
}
