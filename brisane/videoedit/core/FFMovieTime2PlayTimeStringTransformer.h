#pragma once
// Media time shown as "hh:mm:ss" of its whole seconds (hours not wrapped);
// back, a text of exactly three ":"-separated integers h, m, s gives
// ((h x 60) + m) x 60 + s seconds as media time, any other text 0.

#include "common/ValueTransformer.h"

class FFMovieTime2PlayTimeStringTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;
};
