#include "common/Int2PercentTransformer.h"

#include "platform/Numeric.h"

Value Int2PercentTransformer::transformedValue(const Value& value) const
{
    const float percent = floatValue(value) * 100.0f;
    return Value(saturatingCast<int>(percent));
}

Value Int2PercentTransformer::reverseTransformedValue(const Value& value) const
{
    return Value(static_cast<float>(intValue(value) * 0.01));
}
