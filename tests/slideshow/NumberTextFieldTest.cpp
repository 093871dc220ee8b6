// The number fields of the slideshow sheets: what a finished edit leaves in
// the field, the suffix handling and the percentages.

#include <gtest/gtest.h>

#include <QLineEdit>

#include "slideshow/NumberTextField.h"

namespace {

using namespace NumberTextField;

const TextFieldValueRange OneToTen{true, 1.0, 10.0};

// Seconds per photo: one decimal, "S", clamped into the slider's range,
// unreadable text put back to what the field held before.
TEST(NumberTextField, EndOfEditWithSuffix)
{
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"12", "10.0S"},   {"0.5S", "1.0S"}, {"", "1.0S"},   {"1.2.3", "4.0S"}, {"7", "7.0S"},
        {"7S", "7.0S"},    {"abc", "4.0S"},  {"S", "1.0S"},  {"-3", "4.0S"},    {"3.25", "3.2S"},
        {"3.35S", "3.4S"}, {" 5", "4.0S"},   {"５", "4.0S"}, {"9.99", "10.0S"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(endInText(QString::fromUtf8(c.typed), 1, OneToTen, "4.0S", "S"),
                  QString::fromUtf8(c.shown));
    }
}

TEST(NumberTextField, EndOfEditWithoutSuffix)
{
    EXPECT_EQ(endInText("250", 0, {}, "1"), "250");
    EXPECT_EQ(endInText("250", 0, {true, 0, 100}, "1"), "100");
    EXPECT_EQ(endInText("2.5x", 2, {}, "1.00"), "1.00");
    EXPECT_EQ(endInText("", 2, {}, "1.00"), "0.00");
    // A range whose flag is off clamps nothing.
    EXPECT_EQ(endInText("0", 1, {false, 1, 10}, "1"), "0.0");
}

TEST(NumberTextField, Formatting)
{
    EXPECT_EQ(stringFromValue(3, 1), "3.0");
    EXPECT_EQ(stringFromValue(2.25, 0), "2");
    EXPECT_EQ(stringFromValue(2.5, -4), "2");  // a negative count counts as 0
    EXPECT_EQ(stringFromValue(5, 1, "S"), "5.0S");
    EXPECT_EQ(percentageFromValue(0.125, 1), "12.5%");
}

TEST(NumberTextField, AllowedContent)
{
    EXPECT_TRUE(isContentAllowed(""));
    EXPECT_TRUE(isContentAllowed("12.5"));
    EXPECT_TRUE(isContentAllowed("."));
    EXPECT_FALSE(isContentAllowed("1.2.3"));
    EXPECT_FALSE(isContentAllowed("+1"));
    EXPECT_FALSE(isContentAllowed("1 "));
    EXPECT_FALSE(isContentAllowed(QString::fromUtf8("１")));
    EXPECT_TRUE(isContentAllowed("S", "S"));
    EXPECT_TRUE(isContentAllowed("4.5S", "S"));
    EXPECT_FALSE(isContentAllowed("4.5", "S"));
    EXPECT_FALSE(isContentAllowed("", "S"));
}

// Text shorter than the suffix (a field restored to an earlier, odd text) is
// read safely.
TEST(NumberTextField, ShortTextIsSafe)
{
    EXPECT_EQ(stringWithoutSuffix("", "S"), "");
    EXPECT_EQ(stringWithoutSuffix("4", "sec"), "4");
    EXPECT_EQ(stringWithoutSuffix("4.5S", "S"), "4.5");
    EXPECT_EQ(stringWithoutSuffix("4.5", "S"), "4.");
    EXPECT_DOUBLE_EQ(valueOfText("", "S"), 0.0);
    EXPECT_DOUBLE_EQ(valueOfText("4.5S", "S"), 4.5);
    EXPECT_DOUBLE_EQ(percentValue(""), 0.0);
    EXPECT_DOUBLE_EQ(percentValue("%"), 0.0);
}

TEST(NumberTextField, Percentages)
{
    EXPECT_DOUBLE_EQ(percentValue("50%"), 0.5);
    EXPECT_DOUBLE_EQ(percentValue("12.5%"), 0.125);
    const struct {
        bool points;
        const char* text;
        bool accepted;
    } cases[] = {
        {false, "50%", true},    {true, "12.5%", true}, {false, "12.5%", false},
        {true, "50", false},     {true, "5%0", false},  {true, "50%%", false},
        {true, "1.2.5%", false}, {true, "-5%", false},  {true, "%", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(isPercentageWithPointAllowed(c.points, c.text), c.accepted);
    }
}

// The field forms read and write the field's text and nothing else.
TEST(NumberTextField, OnAField)
{
    QLineEdit field;
    textFieldSetValue(&field, 5, 1, "S");
    EXPECT_EQ(field.text(), "5.0S");
    field.setText("4.5S");
    EXPECT_DOUBLE_EQ(valueOfTextField(&field, "S"), 4.5);
    EXPECT_EQ(field.text(), "4.5S");
    field.setText("12");
    endInTextField(&field, 1, OneToTen, "5.0S", "S");
    EXPECT_EQ(field.text(), "10.0S");
    field.setText("x");
    endInTextField(&field, 1, OneToTen, "5.0S", "S");
    EXPECT_EQ(field.text(), "5.0S");
    field.setText("250");
    endInTextField(&field, 0, {}, "1");
    EXPECT_EQ(field.text(), "250");
}

}  // namespace
