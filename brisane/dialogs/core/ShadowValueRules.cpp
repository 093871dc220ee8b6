#include "dialogs/core/ShadowValueRules.h"

#include <algorithm>
#include <cmath>

qint64 ShadowValueRules::clampAngle(qint64 degrees)
{
    if (degrees >= 361) {
        return 360;
    }
    return std::max<qint64>(degrees, 0);
}

QString ShadowValueRules::angleText(qint64 degrees)
{
    return QString::number(degrees) + QChar(0x00B0);
}

float ShadowValueRules::clampBlur(float blur)
{
    return std::max(std::min(blur, 100.0f), 0.0f);
}

qint32 ShadowValueRules::blurOnItem(float blur)
{
    return static_cast<qint32>(std::trunc(blur));
}

float ShadowValueRules::clampOffset(float offset)
{
    return std::max(std::min(offset, 10.0f), -10.0f);
}

float ShadowValueRules::clampOpacity(float opacity)
{
    return std::max(std::min(opacity, 1.0f), 0.0f);
}

QColor ShadowValueRules::colorWithOpacity(const QColor& colour, float opacity)
{
    QColor result = colour.isValid() ? colour : QColor(Qt::black);
    result.setAlphaF(opacity);
    return result;
}
