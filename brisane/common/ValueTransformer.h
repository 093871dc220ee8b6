#pragma once
// A one- or two-way conversion between a stored value and what a field shows
// (a fraction shown as a percentage, seconds shown as a time string). A field
// binding names its transformer by class name; valueTransformerForName hands
// out the one shared instance of each. Transformers keep no state, so the
// instances may be used from any thread.
//
// Inputs are read as numbers whether they hold a number or a numeric string
// ("80%" reads as 80); null and anything unreadable read as 0.

#include <QString>
#include <QStringList>
#include <memory>

#include "platform/Value.h"

class ValueTransformer {
public:
    // What the forward direction is declared to produce.
    enum class ValueClass { Number, String };

    virtual ~ValueTransformer() = default;

    virtual ValueClass transformedValueClass() const = 0;
    // By default a transformer works one way only.
    virtual bool allowsReverseTransformation() const { return false; }
    // Model value to display value.
    virtual Value transformedValue(const Value& value) const = 0;
    // Display value to model value; null when the transformer works one way.
    virtual Value reverseTransformedValue(const Value& value) const;

    // The shared transformer registered under a class name such as
    // "Int2PercentTransformer"; null for an unknown name.
    static std::shared_ptr<const ValueTransformer> valueTransformerForName(const QString& name);
    static QStringList valueTransformerNames();

    // The number-or-string readings of a value.
    static double doubleValue(const Value& value);
    static float floatValue(const Value& value);
    static int intValue(const Value& value);

protected:
    // "%.1f" as C formats it, whatever the locale: an exact tie such as 2.25
    // rounds to even ("2.2").
    static QString oneDecimal(double value);
};
