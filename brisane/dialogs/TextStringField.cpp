#include "dialogs/TextStringField.h"

#include <QFontMetrics>
#include <QKeyEvent>

TextStringField::TextStringField(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFixedHeight(fontMetrics().lineSpacing() * 3 + 12);
}

void TextStringField::setText(const QString& text)
{
    shown_ = text;
    if (toPlainText() != text) {
        setPlainText(text);
    }
}

void TextStringField::finishEditing()
{
    const QString text = toPlainText();
    if (text != shown_) {
        shown_ = text;
        emit editingFinished(text);
    }
}

void TextStringField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        insertPlainText(QStringLiteral("\n"));
        return;
    }
    if (event->key() == Qt::Key_Tab) {
        insertPlainText(QStringLiteral("\t"));
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextStringField::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    finishEditing();
}
