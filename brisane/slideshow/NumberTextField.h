#pragma once
// Formatting numbers into the text fields of the slideshow sheets and cleaning
// up what the user typed there: a fixed number of decimals, an optional unit
// suffix ("S" for seconds), an optional range to clamp into, and a fallback
// to the text the field held before the edit. Percentages ("12.5%") too.
//
// The rules work on plain strings; the QLineEdit overloads only read and
// write the field's text. Allowed text is ASCII digits with at most one
// point; a field's number is read from the start of its text, an empty text
// reading 0. Strings shorter than a suffix come back unchanged and a short
// percentage reads 0, so text restored from before an edit is always safe to
// read. Stateless; any thread (the field overloads: the main thread).

#include <QString>

class QLineEdit;

// The range a finished edit is clamped into, when `applies`.
struct TextFieldValueRange {
    bool applies = false;
    double minimum = 0.0;
    double maximum = 0.0;
};

namespace NumberTextField {

// The value in fixed notation with `count` digits after the point (a negative
// count counts as 0), rounded as C's "%.*f" rounds: 3 and 1 give "3.0".
QString stringFromValue(double value, long count);
QString stringFromValue(double value, long count, const QString& suffix);

// Digits and at most one point; the empty text is allowed.
bool isContentAllowed(const QString& text);
// Allowed text followed by the suffix (the suffix alone is allowed).
bool isContentAllowed(const QString& text, const QString& suffix);
// The text less its last (suffix length) characters, whether or not it ends
// with the suffix; a shorter text comes back unchanged.
QString stringWithoutSuffix(const QString& text, const QString& suffix);

// The number a field's text holds: read from its start, 0 when it holds none.
double doubleValue(const QString& text);
// The number a field holds without its suffix ("4.5S" gives 4.5).
double valueOfText(const QString& text, const QString& suffix);

// The field's text once an edit ends. Text that is not allowed gives back
// `original`; otherwise the number, clamped when the range applies, with
// `count` decimals.
QString endInText(const QString& text, long count, const TextFieldValueRange& range,
                  const QString& original);
// The same for a field with a suffix: the number may be typed with or
// without it and is written back with it.
QString endInText(const QString& text, long count, const TextFieldValueRange& range,
                  const QString& original, const QString& suffix);

// "50%" for 0.5 with count 0.
QString percentageFromValue(double value, long count);
// Digits, at most one point (none unless `pointAllowed`) and exactly one
// "%", which must end the text.
bool isPercentageWithPointAllowed(bool pointAllowed, const QString& text);
// "50%" gives 0.5: the number before the last character over 100; an empty
// text gives 0.
double percentValue(const QString& text);

// --- The same on a field ---
void endInTextField(QLineEdit* field, long count, const TextFieldValueRange& range,
                    const QString& original);
void endInTextField(QLineEdit* field, long count, const TextFieldValueRange& range,
                    const QString& original, const QString& suffix);
void textFieldSetValue(QLineEdit* field, double value, long count, const QString& suffix);
double valueOfTextField(const QLineEdit* field, const QString& suffix);

}  // namespace NumberTextField
