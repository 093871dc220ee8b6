#pragma once
// A real number shown as an integer, truncated toward zero; back, the integer
// as a real number.

#include "common/ValueTransformer.h"

class Float2IntegerTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
