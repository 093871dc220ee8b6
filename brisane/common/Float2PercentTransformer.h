#pragma once
// A fraction shown as the text "25%" (truncated toward zero); back, the number
// before the percent sign as a fraction.

#include "common/ValueTransformer.h"

class Float2PercentTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
