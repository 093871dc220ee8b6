#include "slideshow/NumberTextField.h"

#include <QLineEdit>
#include <algorithm>
#include <charconv>

#include "common/ValueTransformer.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

namespace NumberTextField {

QString stringFromValue(double value, long count)
{
    const int decimals = static_cast<int>(std::clamp(count, 0L, 300L));
    char buffer[700];  // the largest double in fixed notation with 300 decimals
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? QString::fromLatin1(buffer, end - buffer) : QString();
}

QString stringFromValue(double value, long count, const QString& suffix)
{
    return stringFromValue(value, count) + suffix;
}

bool isContentAllowed(const QString& text)
{
    int points = 0;
    for (const char c : text.toUtf8()) {
        if (c == '.') {
            ++points;
        } else if (!isDigit(c)) {
            return false;
        }
    }
    return points <= 1;
}

bool isContentAllowed(const QString& text, const QString& suffix)
{
    if (text.size() < suffix.size() || !text.endsWith(suffix)) {
        return false;
    }
    return isContentAllowed(text.left(text.size() - suffix.size()));
}

QString stringWithoutSuffix(const QString& text, const QString& suffix)
{
    if (text.size() < suffix.size()) {
        return text;
    }
    return text.left(text.size() - suffix.size());
}

double doubleValue(const QString& text)
{
    return ValueTransformer::doubleValue(Value(text));
}

double valueOfText(const QString& text, const QString& suffix)
{
    return doubleValue(stringWithoutSuffix(text, suffix));
}

namespace {

double clamped(double value, const TextFieldValueRange& range)
{
    if (!range.applies) {
        return value;
    }
    if (value < range.minimum) {
        return range.minimum;
    }
    return value > range.maximum ? range.maximum : value;
}

}  // namespace

QString endInText(const QString& text, long count, const TextFieldValueRange& range,
                  const QString& original)
{
    if (!isContentAllowed(text)) {
        return original;
    }
    return stringFromValue(clamped(doubleValue(text), range), count);
}

QString endInText(const QString& text, long count, const TextFieldValueRange& range,
                  const QString& original, const QString& suffix)
{
    const bool plain = isContentAllowed(text);
    const bool suffixed = isContentAllowed(text, suffix);
    if (!plain && !suffixed) {
        return original;
    }
    const QString number = plain ? text : stringWithoutSuffix(text, suffix);
    return stringFromValue(clamped(doubleValue(number), range), count, suffix);
}

QString percentageFromValue(double value, long count)
{
    return stringFromValue(value * 100.0, count) + QLatin1Char('%');
}

bool isPercentageWithPointAllowed(bool pointAllowed, const QString& text)
{
    int points = 0;
    int percents = 0;
    for (const char c : text.toUtf8()) {
        if (c == '.') {
            ++points;
        } else if (c == '%') {
            ++percents;
        } else if (!isDigit(c)) {
            return false;
        }
        if (points > 1 || percents > 1) {
            return false;
        }
    }
    if (points > 0 && !pointAllowed) {
        return false;
    }
    return percents == 1 && text.endsWith(QLatin1Char('%'));
}

double percentValue(const QString& text)
{
    if (text.isEmpty()) {
        return 0.0;
    }
    return doubleValue(text.left(text.size() - 1)) / 100.0;
}

void endInTextField(QLineEdit* field, long count, const TextFieldValueRange& range,
                    const QString& original)
{
    if (field) {
        field->setText(endInText(field->text(), count, range, original));
    }
}

void endInTextField(QLineEdit* field, long count, const TextFieldValueRange& range,
                    const QString& original, const QString& suffix)
{
    if (field) {
        field->setText(endInText(field->text(), count, range, original, suffix));
    }
}

void textFieldSetValue(QLineEdit* field, double value, long count, const QString& suffix)
{
    if (field) {
        field->setText(stringFromValue(value, count, suffix));
    }
}

double valueOfTextField(const QLineEdit* field, const QString& suffix)
{
    return field ? valueOfText(field->text(), suffix) : 0.0;
}

}  // namespace NumberTextField
