// The value transformers that field bindings name, in both directions.

#include <gtest/gtest.h>

#include <limits>

#include "common/ValueTransformer.h"

namespace {

std::shared_ptr<const ValueTransformer> transformer(const char* name)
{
    auto t = ValueTransformer::valueTransformerForName(QString::fromUtf8(name));
    EXPECT_TRUE(t) << name;
    return t;
}

struct Case {
    const char* transformer;
    Value input;
    Value expected;
};

// Numbers compare by value whatever their kind; a float result is compared
// with the single-precision value it should hold.
void expectSame(const Value& actual, const Value& expected)
{
    if (expected.kind() == Value::Kind::Double || expected.kind() == Value::Kind::Int) {
        ASSERT_TRUE(actual.toDouble().has_value()) << Value::kindName(actual.kind()).toStdString();
        EXPECT_EQ(actual.kind(), expected.kind());
        EXPECT_DOUBLE_EQ(*actual.toDouble(), *expected.toDouble());
    } else {
        EXPECT_EQ(actual, expected) << actual.toString().value_or("?").toStdString();
    }
}

TEST(Transformer, Forward)
{
    const Case cases[] = {
        {"Int2PercentTransformer", 0.5, 50},
        {"Int2PercentTransformer", 1.0, 100},
        {"Int2PercentTransformer", 0.999, 99},
        {"Int2PercentTransformer", -0.5, -50},
        {"Int2PercentTransformer", "0.25", 25},
        {"Int2PercentTransformer", Value(), 0},
        {"Int2PercentTransformer", 1e30, std::numeric_limits<int>::max()},
        {"Float2IntegerTransformer", 2.9, 2},
        {"Float2IntegerTransformer", -2.9, -2},
        {"Float2IntegerTransformer", std::numeric_limits<double>::quiet_NaN(), 0},
        {"Time2TimeStringTransformer", 3599.9, "00:59:59"},
        {"Time2TimeStringTransformer", 36000, "10:00:00"},
        {"Time2TimeStringTransformer", -5, "00:00:-5"},
        {"Float2PercentTransformer", 0.25, "25%"},
        {"Float2PercentTransformer", 0.999, "99%"},
        {"Float2AngleTransformer", 45.7, QString::fromUtf8("45\u00B0")},
        {"Float2AngleTransformer", -12.5, QString::fromUtf8("-12\u00B0")},
        {"FloatSecondStringTransformer", 2.26, "2.3S"},
        {"FloatSecondStringTransformer", 0, "0.0S"},
        {"FloatSecondStringTransformer", 0.25, "0.2S"},
        {"IntToStringTransformer", 42, "42"},
        {"IntToStringTransformer", "17 items", "17"},
        {"Float2StringTransformer", 2.25, "2.2"},  // 2.25f is exact: rounds to even
        {"Float2StringTransformer", 3.06, "3.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.transformer);
        SCOPED_TRACE(c.input.toString()
                         .value_or(QString::number(c.input.toDouble().value_or(0)))
                         .toStdString());
        expectSame(transformer(c.transformer)->transformedValue(c.input), c.expected);
    }
}

TEST(Transformer, Reverse)
{
    const Case cases[] = {
        {"Int2PercentTransformer", 50, 0.5f},
        {"Int2PercentTransformer", "80", 0.8f},
        {"Float2IntegerTransformer", 7, 7.0f},
        {"Float2PercentTransformer", "80%", 0.8f},
        {"Float2PercentTransformer", "", 0.0f},
        {"Float2PercentTransformer", "abc", 0.0f},
        {"Float2AngleTransformer", QString::fromUtf8("30.5\u00B0"), 30.5f},
        {"FloatSecondStringTransformer", "2.3S", 2.3f},
        {"FloatSecondStringTransformer", " -1.5e1S", -15.0f},
        {"IntToStringTransformer", "12.7", 12},
        {"IntToStringTransformer", "99999999999", std::numeric_limits<int>::max()},
        {"IntToStringTransformer", "-99999999999", std::numeric_limits<int>::min()},
        {"IntToStringTransformer", "--5", 0},
        {"IntToStringTransformer", "+-5", 0},
        {"IntToStringTransformer", "-+5", 0},
        {"IntToStringTransformer", " +5", 5},
        {"Int2PercentTransformer", "--50", 0.0f},
        {"Float2PercentTransformer", "--50%", 0.0f},
        {"Float2StringTransformer", "2.5", 2.5f},
        {"Float2StringTransformer", "nan", 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.transformer);
        const auto t = transformer(c.transformer);
        EXPECT_TRUE(t->allowsReverseTransformation());
        expectSame(t->reverseTransformedValue(c.input), c.expected);
    }
}

// A time label is display-only: the reverse direction gives no value instead
// of writing a time string back into a number.
TEST(Transformer, TimeStringIsOneWay)
{
    const auto t = transformer("Time2TimeStringTransformer");
    EXPECT_FALSE(t->allowsReverseTransformation());
    EXPECT_TRUE(t->reverseTransformedValue(QStringLiteral("00:01:00")).isNull());
}

TEST(Transformer, RegistryByClassName)
{
    EXPECT_EQ(ValueTransformer::valueTransformerNames().size(), 8);
    for (const QString& name : ValueTransformer::valueTransformerNames()) {
        const auto t = ValueTransformer::valueTransformerForName(name);
        ASSERT_TRUE(t);
        EXPECT_EQ(t, ValueTransformer::valueTransformerForName(name));  // one shared instance
        EXPECT_EQ(t->transformedValueClass(), name == "Time2TimeStringTransformer"
                                                  ? ValueTransformer::ValueClass::String
                                                  : ValueTransformer::ValueClass::Number);
    }
    EXPECT_FALSE(ValueTransformer::valueTransformerForName(QStringLiteral("NoSuchTransformer")));
}

}  // namespace
