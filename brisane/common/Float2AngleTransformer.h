#pragma once
// An angle in degrees shown as the text "45°" (truncated toward zero); back,
// the number before the degree sign.

#include "common/ValueTransformer.h"

class Float2AngleTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
