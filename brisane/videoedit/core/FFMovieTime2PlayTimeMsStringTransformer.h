#pragma once
// The chapter editor's time field. Media time is shown as
// "hh:mm:ss.mmm" (see timeString); back, a text of "h:m:s", "m:s" or "s",
// each part a decimal number that may have a fraction, gives that many
// seconds as media time, truncated. Any other number of parts gives 0, and
// a part that is not a number reads as 0 (so "00:01:02.500" is 62.5 s and
// "junk" is 0).

#include <QString>

#include "common/ValueTransformer.h"
#include "lumenta/LMMediaTime.h"

class FFMovieTime2PlayTimeMsStringTransformer : public ValueTransformer {
public:
    ValueClass transformedValueClass() const override { return ValueClass::Number; }
    bool allowsReverseTransformation() const override { return true; }
    Value transformedValue(const Value& value) const override;
    Value reverseTransformedValue(const Value& value) const override;

    // "%02d:%02d:%02d.%03d" of seconds taken in single precision: hours
    // (not wrapped), minutes, seconds of the whole seconds, then the
    // fraction's milliseconds, truncated.
    static QString timeString(double seconds);
    // The seconds a typed text stands for (see above).
    static double stringToSecond(const QString& text);
};
