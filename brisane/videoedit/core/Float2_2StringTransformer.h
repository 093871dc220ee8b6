#pragma once
// A number shown with two decimals ("%.2f"); back, the text's number as a
// single-precision value.

#include "common/ValueTransformer.h"

class Float2_2StringTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
