#include "common/FloatSecondStringTransformer.h"

Value FloatSecondStringTransformer::transformedValue(const Value& value) const
{
    return Value(oneDecimal(floatValue(value)) + QLatin1Char('S'));
}

Value FloatSecondStringTransformer::reverseTransformedValue(const Value& value) const
{
    return Value(floatValue(value));
}
