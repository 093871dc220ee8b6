#include "media/Double2LMFFTimeTransformer.h"

#include "lumenta/LMMediaTime.h"

Value Double2LMFFTimeTransformer::transformedValue(const Value& value) const
{
    const auto time = value.toInt();
    const double seconds =
        time ? lm_ff_time_to_double(*time) : doubleValue(value) / lm_default_time_base();
    return Value(seconds);
}

Value Double2LMFFTimeTransformer::reverseTransformedValue(const Value& value) const
{
    const double seconds = doubleValue(value);
    return Value(static_cast<qint64>(seconds * static_cast<double>(lm_default_time_base())));
}
