#pragma once
// The edit rule of a text field that takes only decimal digits, at most
// `maxLength` characters. A field's edit handling asks isPartialStringValid
// on every keystroke or paste with the text the edit would produce and the
// selections before and after it; a refused edit leaves the field unchanged.
// Digits of every script count (Unicode decimal digits). The value of the
// field is its text itself.

#include <QString>

#include "platform/Value.h"

class CustomDigitFomatter {
public:
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

private:
    int m_maxLength = 4;
};
