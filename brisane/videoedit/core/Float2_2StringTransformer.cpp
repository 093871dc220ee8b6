#include "videoedit/core/Float2_2StringTransformer.h"

Value Float2_2StringTransformer::transformedValue(const Value& value) const
{
    return Value(QString::asprintf("%.2f", doubleValue(value)));
}

Value Float2_2StringTransformer::reverseTransformedValue(const Value& value) const
{
    return Value(floatValue(value));
}
