#pragma once
// The edit rule of a text field that takes only decimal digits, at most
// `maxLength` characters. isPartialStringValid checks one edit from the text
// the edit would produce and the selections before and after it; a refused
// edit leaves the field unchanged. Digits of every script count (Unicode
// decimal digits). The value of the field is its text itself.
//
// On a QLineEdit: `edit->setValidator(new CustomDigitFomatter(edit))`. With
// the line edit as its parent the formatter follows the field's text and
// selection, so each edit is judged against the state before it.

#include <QString>
#include <QValidator>

#include "platform/Value.h"

class QLineEdit;

class CustomDigitFomatter : public QValidator {
    Q_OBJECT

public:
    explicit CustomDigitFomatter(QObject* parent = nullptr);

    // A selection or caret in a text, in UTF-16 units as QString counts.
    struct Range {
        qsizetype location = 0;
        qsizetype length = 0;
    };

    int maxLength() const { return m_maxLength; }
    void setMaxLength(int maxLength) { m_maxLength = maxLength; }

    // The field's text for a value: a string as it is, a number as its
    // decimal text, anything else as empty.
    QString stringForObjectValue(const Value& object) const;
    // Every complete text is accepted: stores it as the value and answers true.
    bool getObjectValue(Value* object, const QString& string, QString* errorDescription) const;

    // The check of one edit. Refuses (false) a text longer than maxLength
    // without an error description, and an edit that inserts anything but
    // digits with "不是数字". The inserted text runs from the original
    // selection's start to the proposed caret. On acceptance the error
    // description is cleared. errorDescription may be null.
    bool isPartialStringValid(QString* partialString, Range* proposedSelectedRange,
                              const QString& originalString, Range originalSelectedRange,
                              QString* errorDescription) const;

    // QValidator: the check of the edit that led to `input` with the caret at
    // `pos`, against the field's state before it. Acceptable or Invalid.
    State validate(QString& input, int& pos) const override;

private:
    void watch(QLineEdit* field);
    void remember(const QLineEdit* field);

    int m_maxLength = 4;
    // The watched field before the edit being checked.
    QString m_fieldText;
    qsizetype m_fieldSelectionStart = 0;
};
