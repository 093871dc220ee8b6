#include "common/ValueTransformer.h"

#include <QByteArray>
#include <QMap>
#include <algorithm>
#include <charconv>
#include <limits>

#include "common/Float2AngleTransformer.h"
#include "common/Float2IntegerTransformer.h"
#include "common/Float2PercentTransformer.h"
#include "common/Float2StringTransformer.h"
#include "common/FloatSecondStringTransformer.h"
#include "common/Int2PercentTransformer.h"
#include "common/IntToStringTransformer.h"
#include "common/Time2TimeStringTransformer.h"
#include "platform/Numeric.h"

namespace {

using Registry = QMap<QString, std::shared_ptr<const ValueTransformer>>;

const Registry& registry()
{
    static const Registry transformers = [] {
        Registry r;
        r.insert(QStringLiteral("Int2PercentTransformer"),
                 std::make_shared<Int2PercentTransformer>());
        r.insert(QStringLiteral("Float2IntegerTransformer"),
                 std::make_shared<Float2IntegerTransformer>());
        r.insert(QStringLiteral("Time2TimeStringTransformer"),
                 std::make_shared<Time2TimeStringTransformer>());
        r.insert(QStringLiteral("Float2PercentTransformer"),
                 std::make_shared<Float2PercentTransformer>());
        r.insert(QStringLiteral("Float2AngleTransformer"),
                 std::make_shared<Float2AngleTransformer>());
        r.insert(QStringLiteral("FloatSecondStringTransformer"),
                 std::make_shared<FloatSecondStringTransformer>());
        r.insert(QStringLiteral("IntToStringTransformer"),
                 std::make_shared<IntToStringTransformer>());
        r.insert(QStringLiteral("Float2StringTransformer"),
                 std::make_shared<Float2StringTransformer>());
        return r;
    }();
    return transformers;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The text's bytes past leading blanks and an optional sign, and the sign.
struct SignedDigits {
    QByteArray bytes;
    const char* begin = nullptr;
    const char* end = nullptr;
    bool negative = false;
};

SignedDigits signedDigits(const QString& text)
{
    SignedDigits d;
    d.bytes = text.toUtf8();
    d.begin = d.bytes.constData();
    d.end = d.begin + d.bytes.size();
    while (d.begin < d.end && isSpace(*d.begin)) {
        ++d.begin;
    }
    if (d.begin < d.end && (*d.begin == '+' || *d.begin == '-')) {
        d.negative = *d.begin == '-';
        ++d.begin;
    }
    return d;
}

// The number at the start of a text, after blanks and an optional sign;
// the rest of the text is ignored. 0 when there is none.
double leadingDouble(const QString& text)
{
    const SignedDigits digits = signedDigits(text);
    const char* p = digits.begin;
    const char* end = digits.end;
    const bool negative = digits.negative;
    // Only plain decimal notation: "inf" and "nan" are not numbers here.
    if (p == end || !(isDigit(*p) || (*p == '.' && p + 1 < end && isDigit(p[1])))) {
        return 0;
    }
    double value = 0;
    const auto [rest, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (error != std::errc()) {
        return 0;
    }
    return negative ? -value : value;
}

// The integer at the start of a text; saturates when it does not fit.
int leadingInt(const QString& text)
{
    const SignedDigits digits = signedDigits(text);
    const char* p = digits.begin;
    const char* end = digits.end;
    const bool negative = digits.negative;
    // One sign, then digits: a second sign ("--5", "+-5") makes no number.
    if (p == end || !isDigit(*p)) {
        return 0;
    }
    long long value = 0;
    const auto [rest, error] = std::from_chars(p, end, value);
    if (error == std::errc::result_out_of_range) {
        return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    if (error != std::errc()) {
        return 0;
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

}  // namespace

Value ValueTransformer::reverseTransformedValue(const Value&) const
{
    return {};
}

std::shared_ptr<const ValueTransformer> ValueTransformer::valueTransformerForName(
    const QString& name)
{
    return registry().value(name);
}

QStringList ValueTransformer::valueTransformerNames()
{
    return registry().keys();
}

double ValueTransformer::doubleValue(const Value& value)
{
    switch (value.kind()) {
        case Value::Kind::Bool:
            return *value.toBool() ? 1 : 0;
        case Value::Kind::Int:
        case Value::Kind::Double:
            return value.toDouble().value_or(0);
        case Value::Kind::String:
            return leadingDouble(*value.toString());
        default:
            return 0;
    }
}

float ValueTransformer::floatValue(const Value& value)
{
    return static_cast<float>(doubleValue(value));
}

int ValueTransformer::intValue(const Value& value)
{
    switch (value.kind()) {
        case Value::Kind::Bool:
            return *value.toBool() ? 1 : 0;
        case Value::Kind::Int:
            return static_cast<int>(std::clamp<qint64>(
                *value.toInt(), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
        case Value::Kind::Double:
            return saturatingCast<int>(*value.toDouble());
        case Value::Kind::String:
            return leadingInt(*value.toString());
        default:
            return 0;
    }
}

QString ValueTransformer::oneDecimal(double value)
{
    char buffer[400];  // room for the largest double in fixed notation
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return error == std::errc() ? QString::fromLatin1(buffer, end - buffer) : QString();
}
