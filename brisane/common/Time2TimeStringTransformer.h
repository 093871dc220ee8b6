#pragma once
// Seconds shown as "hh:mm:ss", truncated toward zero. One way only: the
// field that shows it is read-only. Negative seconds are not clamped.

#include "common/ValueTransformer.h"

class Time2TimeStringTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::String; }
    Value transformedValue(const Value& value) const override;
};
