#include "common/Time2TimeStringTransformer.h"

#include "platform/Numeric.h"

Value Time2TimeStringTransformer::transformedValue(const Value& value) const
{
    const int s = saturatingCast<int>(doubleValue(value));
    return Value(QString::asprintf("%02d:%02d:%02d", s / 3600, (s / 60) % 60, s % 60));
}
