#pragma once
// A real number shown with one decimal ("2.5"); back, the number of the text.

#include "common/ValueTransformer.h"

class Float2StringTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
