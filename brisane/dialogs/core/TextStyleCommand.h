#pragma once
// One undoable change of one attribute of one styled text. The command owns
// a reference to the text it was made on, so undo and redo reach that text
// even when the dialog has moved on to another item, and even after the item
// was deleted from its page (the text then lives on only in the command, and
// changing it touches nothing on screen).
//
// Pushing the command applies the new value (redo); undo applies the old one.
// After either, `refresh` runs with the text (a redraw, or a refit of the
// item's frame). No text: the command does nothing. Commands carry no
// action names. Main thread.

#include <QUndoCommand>
#include <functional>
#include <memory>

class EffectTextImage;

class TextStyleCommand : public QUndoCommand {
public:
    using Change = std::function<void(EffectTextImage&)>;

    TextStyleCommand(std::shared_ptr<EffectTextImage> text, Change apply, Change revert,
                     Change refresh);

    void redo() override;
    void undo() override;

    const std::shared_ptr<EffectTextImage>& text() const { return text_; }

private:
    void run(const Change& change);

    std::shared_ptr<EffectTextImage> text_;
    Change apply_;
    Change revert_;
    Change refresh_;
};
