// The digit-only edit rule of text fields.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "common/widgets/CustomDigitFomatter.h"

namespace {

using Range = CustomDigitFomatter::Range;

struct EditCase {
    const char* name;
    const char* original;
    Range originalSelection;
    const char* proposed;
    qsizetype caret;
    bool accepted;
    const char* error;  // expected error description; null: none written
};

TEST(CustomDigitFomatter, EditsWithMaxLengthFour)
{
    const EditCase cases[] = {
        {"fifth_digit", "1234", {4, 0}, "12345", 5, false, nullptr},
        {"letter", "12", {2, 0}, "12a", 3, false, "不是数字"},
        {"paste_two_digits", "", {0, 0}, "12", 2, true, ""},
        {"delete_one", "1234", {3, 1}, "123", 3, true, ""},
        {"backspace_over_letter", "1a", {1, 1}, "1", 1, true, ""},
        {"paste_five_digits", "", {0, 0}, "12345", 5, false, nullptr},
        {"replace_selection", "1234", {1, 2}, "194", 2, true, ""},
        {"replace_with_letter", "1234", {1, 2}, "1x4", 2, false, "不是数字"},
        {"other_script_digits", "", {0, 0}, "١٢", 2, true, ""},
        {"space", "1", {1, 0}, "1 ", 2, false, "不是数字"},
        // Only the inserted text is checked, not what the field held before.
        {"existing_letter_kept", "a", {1, 0}, "a1", 2, true, ""},
        {"selection_past_end", "12", {9, 0}, "12", 2, true, ""},
    };
    CustomDigitFomatter formatter;
    EXPECT_EQ(formatter.maxLength(), 4);
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        QString proposed = QString::fromUtf8(c.proposed);
        Range proposedSelection{c.caret, 0};
        QString error = QStringLiteral("untouched");
        EXPECT_EQ(formatter.isPartialStringValid(&proposed, &proposedSelection,
                                                 QString::fromUtf8(c.original), c.originalSelection,
                                                 &error),
                  c.accepted);
        if (c.error) {
            EXPECT_EQ(error, QString::fromUtf8(c.error));
        } else {
            EXPECT_EQ(error, QStringLiteral("untouched"));
        }
        // Without a place for the error the answer is the same.
        EXPECT_EQ(formatter.isPartialStringValid(&proposed, &proposedSelection,
                                                 QString::fromUtf8(c.original), c.originalSelection,
                                                 nullptr),
                  c.accepted);
    }
}

TEST(CustomDigitFomatter, LengthFollowsMaxLength)
{
    CustomDigitFomatter formatter;
    formatter.setMaxLength(6);
    EXPECT_EQ(formatter.maxLength(), 6);
    QString proposed = QStringLiteral("123456");
    Range caret{6, 0};
    EXPECT_TRUE(formatter.isPartialStringValid(&proposed, &caret, QString(), {0, 0}, nullptr));
    proposed = QStringLiteral("1234567");
    caret = {7, 0};
    EXPECT_FALSE(formatter.isPartialStringValid(&proposed, &caret, QString(), {0, 0}, nullptr));
}

TEST(CustomDigitFomatter, ValueIsTheText)
{
    CustomDigitFomatter formatter;
    Value value;
    QString error;
    EXPECT_TRUE(formatter.getObjectValue(&value, QStringLiteral("0042"), &error));
    EXPECT_EQ(value, Value(QStringLiteral("0042")));
    EXPECT_EQ(formatter.stringForObjectValue(QStringLiteral("0042")), QStringLiteral("0042"));
    EXPECT_EQ(formatter.stringForObjectValue(7), QStringLiteral("7"));
    EXPECT_EQ(formatter.stringForObjectValue(Value()), QString());
}

void type(QLineEdit& field, Qt::Key key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&field, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&field, &release);
}

void typeText(QLineEdit& field, const QString& text)
{
    for (const QChar c : text) {
        type(field, c.isDigit() ? static_cast<Qt::Key>(Qt::Key_0 + c.digitValue()) : Qt::Key_A,
             QString(c));
    }
}

// On a real line edit each keystroke or paste is judged against the field's
// state just before it.
TEST(CustomDigitFomatter, GuardsALineEdit)
{
    QLineEdit field;
    field.setValidator(new CustomDigitFomatter(&field));
    typeText(field, QStringLiteral("12a34"));
    EXPECT_EQ(field.text(), QStringLiteral("1234"));
    typeText(field, QStringLiteral("5"));  // a fifth digit
    EXPECT_EQ(field.text(), QStringLiteral("1234"));
    type(field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), QStringLiteral("123"));
    field.selectAll();
    typeText(field, QStringLiteral("x"));
    EXPECT_EQ(field.text(), QStringLiteral("123"));
    typeText(field, QStringLiteral("9"));  // replaces the selection
    EXPECT_EQ(field.text(), QStringLiteral("9"));
    field.clear();
    field.insert(QStringLiteral("12345"));  // a paste too long
    EXPECT_EQ(field.text(), QString());
    field.insert(QStringLiteral("12"));
    EXPECT_EQ(field.text(), QStringLiteral("12"));
    field.setCursorPosition(1);
    field.insert(QStringLiteral("7"));  // in the middle
    EXPECT_EQ(field.text(), QStringLiteral("172"));
    field.setCursorPosition(1);
    field.insert(QStringLiteral("a"));  // a letter in the middle
    EXPECT_EQ(field.text(), QStringLiteral("172"));
    // A letter set by the program can still be deleted.
    field.setText(QStringLiteral("1a"));
    type(field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), QStringLiteral("1"));
}

}  // namespace
