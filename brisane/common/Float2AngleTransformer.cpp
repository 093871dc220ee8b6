#include "common/Float2AngleTransformer.h"

#include "platform/Numeric.h"

Value Float2AngleTransformer::transformedValue(const Value& value) const
{
    return Value(QString::number(saturatingCast<int>(floatValue(value))) + QChar(0x00B0));
}

Value Float2AngleTransformer::reverseTransformedValue(const Value& value) const
{
    return Value(floatValue(value));
}
