#pragma once
// Shows a media time as seconds: forward, a number holding media time becomes
// a number of seconds; backward, seconds become media time, truncated.

#include "common/ValueTransformer.h"

class Double2LMFFTimeTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
