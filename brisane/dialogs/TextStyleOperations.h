#pragma once
// The fourteen undoable changes of a menu item's styled text that the text
// style panel makes. Each call pushes exactly one command on the dialog's
// undo stack, recording the text it changes and the attribute's present
// value; pushing applies the new value. Undo restores the old value on that
// same text, whatever item the dialog shows by then.
//
// After a string or font change the text's item takes the text's new size
// about its old centre; after every other change the menu editor's canvas is
// redisplayed. A null text changes nothing and pushes nothing.
//
// Main thread. The stack is not owned and must outlive the operations.

#include <QColor>
#include <QFont>
#include <QGradientStops>
#include <QImage>
#include <QString>
#include <memory>

#include "dialogs/MenuEditorAccess.h"

class EffectTextImage;
class QUndoStack;

class TextStyleOperations {
public:
    TextStyleOperations(QUndoStack& stack, MenuEditorAccess editor);

    QUndoStack& undoer() const { return stack_; }

    void textViewString(const std::shared_ptr<EffectTextImage>& text, const QString& string);
    void textViewFont(const std::shared_ptr<EffectTextImage>& text, const QFont& font);
    void textViewAlignment(const std::shared_ptr<EffectTextImage>& text, quint64 alignment);
    void textViewTextFillType(const std::shared_ptr<EffectTextImage>& text, quint64 type);
    void textViewTextColor(const std::shared_ptr<EffectTextImage>& text, const QColor& colour);
    void textViewTextGradient(const std::shared_ptr<EffectTextImage>& text,
                              const QGradientStops& gradient);
    void textViewTextImage(const std::shared_ptr<EffectTextImage>& text, const QImage& image);
    void textViewOutlineWidth(const std::shared_ptr<EffectTextImage>& text, float width);
    void textViewOutlineColor(const std::shared_ptr<EffectTextImage>& text, const QColor& colour);
    void textViewHasOutline(const std::shared_ptr<EffectTextImage>& text, bool on);
    void textViewBackgroundType(const std::shared_ptr<EffectTextImage>& text, quint64 type);
    void textViewBackgroundColor(const std::shared_ptr<EffectTextImage>& text,
                                 const QColor& colour);
    void textViewBackgroundImage(const std::shared_ptr<EffectTextImage>& text, const QImage& image);
    void textViewBackFilletValue(const std::shared_ptr<EffectTextImage>& text, float fillet);

    // Redisplays the menu editor's canvas; nothing without a menu editor.
    void displayCanvasView() const;

private:
    template <typename Value, typename Getter, typename Setter>
    void change(const std::shared_ptr<EffectTextImage>& text, const Value& value, Getter get,
                Setter set, bool refit);

    QUndoStack& stack_;
    MenuEditorAccess editor_;
};
