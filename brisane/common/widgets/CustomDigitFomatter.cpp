#include "common/widgets/CustomDigitFomatter.h"

#include <QChar>
#include <QLineEdit>
#include <QStringView>
#include <algorithm>

namespace {

bool holdsOnlyDigits(QStringView text)
{
    const QList<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(),
                       [](uint c) { return QChar::isDigit(static_cast<char32_t>(c)); });
}

}  // namespace

CustomDigitFomatter::CustomDigitFomatter(QObject* parent) : QValidator(parent)
{
    if (auto* field = qobject_cast<QLineEdit*>(parent)) {
        watch(field);
    }
}

// The field reports an edit's text and caret only after the validator has
// judged it, so what was last remembered is the state before the edit.
void CustomDigitFomatter::watch(QLineEdit* field)
{
    remember(field);
    const auto update = [this, field] { remember(field); };
    connect(field, &QLineEdit::textChanged, this, update);
    connect(field, &QLineEdit::cursorPositionChanged, this, update);
    connect(field, &QLineEdit::selectionChanged, this, update);
}

void CustomDigitFomatter::remember(const QLineEdit* field)
{
    m_fieldText = field->text();
    m_fieldSelectionStart =
        field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
}

QValidator::State CustomDigitFomatter::validate(QString& input, int& pos) const
{
    Range proposedSelection{pos, 0};
    const bool valid = isPartialStringValid(&input, &proposedSelection, m_fieldText,
                                            Range{m_fieldSelectionStart, 0}, nullptr);
    return valid ? Acceptable : Invalid;
}

QString CustomDigitFomatter::stringForObjectValue(const Value& object) const
{
    switch (object.kind()) {
        case Value::Kind::String:
            return *object.toString();
        case Value::Kind::Int:
            return QString::number(*object.toInt());
        case Value::Kind::Double:
            return QString::number(*object.toDouble());
        default:
            return {};
    }
}

bool CustomDigitFomatter::getObjectValue(Value* object, const QString& string,
                                         QString* errorDescription) const
{
    if (object) {
        *object = Value(string);
    }
    return true;
}

bool CustomDigitFomatter::isPartialStringValid(QString* partialString, Range* proposedSelectedRange,
                                               const QString& originalString,
                                               Range originalSelectedRange,
                                               QString* errorDescription) const
{
    const QString proposed = partialString ? *partialString : QString();
    if (proposed.size() > m_maxLength) {
        return false;
    }
    const qsizetype start =
        std::clamp<qsizetype>(originalSelectedRange.location, 0, proposed.size());
    const qsizetype caret = proposedSelectedRange ? proposedSelectedRange->location : start;
    const qsizetype count = std::clamp<qsizetype>(caret - start, 0, std::max(m_maxLength, 0));
    if (!holdsOnlyDigits(QStringView(proposed).mid(start, count))) {
        if (errorDescription) {
            *errorDescription = QStringLiteral("不是数字");
        }
        return false;
    }
    if (errorDescription) {
        *errorDescription = QString();
    }
    return true;
}
