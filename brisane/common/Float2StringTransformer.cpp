#include "common/Float2StringTransformer.h"

Value Float2StringTransformer::transformedValue(const Value& value) const
{
    return Value(oneDecimal(floatValue(value)));
}

Value Float2StringTransformer::reverseTransformedValue(const Value& value) const
{
    return Value(floatValue(value));
}
