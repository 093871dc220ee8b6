#pragma once
// A font size in percent of the default (100) as a scale offset:
// (v - 100) / 100; back, v x 100 + 100. Single precision both ways.

#include "common/ValueTransformer.h"

class FontSizeScaleToPercentValueTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
