#include "dialogs/SingleButtonView.h"

#include "corvane/DVDLibraryButtonResource.h"
#include "model/DVDPageItem.h"

SingleButtonView::SingleButtonView(const std::shared_ptr<DVDLibraryButtonResource>& btnSource,
                                   std::function<bool()> isButtonType, MenuEditorAccess editor,
                                   QWidget* parent)
    : TemplateTileView(editor, parent),
      btnSource_(btnSource),
      isButtonType_(std::move(isButtonType))
{
    if (btnSource) {
        setImage(btnSource->image());
    }
}

bool SingleButtonView::isChosen() const
{
    const auto item = currentItem();
    const auto source = btnSource();
    return item && source && item->buttonResource() &&
           item->buttonResource()->isEqualToResource(source.get());
}

bool SingleButtonView::clickActs() const
{
    return isButtonType_ && isButtonType_();
}

void SingleButtonView::choose()
{
    const auto item = currentItem();
    const auto source = btnSource();
    if (item && source) {
        item->setButtonResource(source);
    }
}
