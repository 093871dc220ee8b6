#pragma once
// The text field of the text style panel: a text that may hold several
// lines. Return inserts a line break and Tab a tab character instead of
// ending the editing or moving the focus. The edit ends when the field loses
// the focus (a click on the window's background does that), and then
// editingFinished is emitted if the text changed since it was last set or
// finished. Main thread.

#include <QPlainTextEdit>

class TextStringField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextStringField(QWidget* parent = nullptr);

    // Shows `text` as the unedited state; emits nothing.
    void setText(const QString& text);
    QString text() const { return toPlainText(); }
    // Ends an edit in progress as losing the focus would.
    void finishEditing();

signals:
    void editingFinished(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString shown_;
};
