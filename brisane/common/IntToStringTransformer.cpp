#include "common/IntToStringTransformer.h"

Value IntToStringTransformer::transformedValue(const Value& value) const
{
    return Value(QString::number(intValue(value)));
}

Value IntToStringTransformer::reverseTransformedValue(const Value& value) const
{
    return Value(intValue(value));
}
