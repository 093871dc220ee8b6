#include "videoedit/core/FontSizeScaleToPercentValueTransformer.h"

Value FontSizeScaleToPercentValueTransformer::transformedValue(const Value& value) const
{
    return Value((floatValue(value) - 100.0f) / 100.0f);
}

Value FontSizeScaleToPercentValueTransformer::reverseTransformedValue(const Value& value) const
{
    return Value(floatValue(value) * 100.0f + 100.0f);
}
