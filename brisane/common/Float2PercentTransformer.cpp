#include "common/Float2PercentTransformer.h"

#include "platform/Numeric.h"

Value Float2PercentTransformer::transformedValue(const Value& value) const
{
    const float percent = floatValue(value) * 100.0f;
    return Value(QString::asprintf("%d%%", saturatingCast<int>(percent)));
}

Value Float2PercentTransformer::reverseTransformedValue(const Value& value) const
{
    return Value(static_cast<float>(floatValue(value) * 0.01));
}
