#include "dialogs/core/TextStyleCommand.h"

#include "model/EffectTextImage.h"

TextStyleCommand::TextStyleCommand(std::shared_ptr<EffectTextImage> text, Change apply,
                                   Change revert, Change refresh)
    : text_(std::move(text)),
      apply_(std::move(apply)),
      revert_(std::move(revert)),
      refresh_(std::move(refresh))
{
}

void TextStyleCommand::redo()
{
    run(apply_);
}

void TextStyleCommand::undo()
{
    run(revert_);
}

void TextStyleCommand::run(const Change& change)
{
    if (!text_ || !change) {
        return;
    }
    change(*text_);
    if (refresh_) {
        refresh_(*text_);
    }
}
