#pragma once
// The limits the text style panel keeps the shadow values of a menu item in,
// and how they reach the item. Typed values are clamped upper bound first;
// the sliders hold their own ranges, so only the fields clamp the blur and the
// offset. The blur is a whole number on the item: 4.9 becomes 4.
//
// Pure functions; any thread.

#include <QColor>
#include <QString>
#include <QtGlobal>

class ShadowValueRules {
public:
    ShadowValueRules() = delete;

    // Degrees 0 to 360: 361 or more gives 360, a negative value 0.
    static qint64 clampAngle(qint64 degrees);
    // The angle as the field shows it: "45°".
    static QString angleText(qint64 degrees);
    // The typed blur kept within 0 to 100.
    static float clampBlur(float blur);
    // The blur as the item holds it, truncated toward zero.
    static qint32 blurOnItem(float blur);
    // The typed offset kept within -10 to 10.
    static float clampOffset(float offset);
    // The opacity kept within 0 to 1.
    static float clampOpacity(float opacity);
    // `colour` with its alpha replaced by `opacity`.
    static QColor colorWithOpacity(const QColor& colour, float opacity);
};
