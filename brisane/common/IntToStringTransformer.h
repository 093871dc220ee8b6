#pragma once
// An integer shown as its decimal text; back, the integer at the start of the
// text.

#include "common/ValueTransformer.h"

class IntToStringTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
