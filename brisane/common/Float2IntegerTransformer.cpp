#include "common/Float2IntegerTransformer.h"

#include "platform/Numeric.h"

Value Float2IntegerTransformer::transformedValue(const Value& value) const
{
    return Value(saturatingCast<int>(doubleValue(value)));
}

Value Float2IntegerTransformer::reverseTransformedValue(const Value& value) const
{
    return Value(static_cast<float>(intValue(value)));
}
