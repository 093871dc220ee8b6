#pragma once
// A fraction shown as a whole percentage: 0.5 shows as 50, truncated toward
// zero; back, 50 gives 0.5.

#include "common/ValueTransformer.h"

class Int2PercentTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
