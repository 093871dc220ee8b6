#pragma once
// Seconds shown with one decimal and a capital S ("2.3S"); back, the number
// before the S.

#include "common/ValueTransformer.h"

class FloatSecondStringTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
