#include "dialogs/SingleButtonView.h"

#include "corvane/DVDLibraryButtonResource.h"
#include "dialogs/MenuEditorAccess.h"
#include "model/DVDPageItem.h"

SingleButtonView::SingleButtonView(const std::shared_ptr<DVDLibraryButtonResource>& btnSource,
                                   std::function<bool()> isButtonType, QWidget* parent)
    : TemplateTileView(parent), btnSource_(btnSource), isButtonType_(std::move(isButtonType))
{
    if (btnSource) {
        setImage(btnSource->image());
    }
}

bool SingleButtonView::isChosen() const
{
    const auto item = MenuEditorAccess::currentItem();
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
    const auto item = MenuEditorAccess::currentItem();
    const auto source = btnSource();
    if (item && source) {
        item->setButtonResource(source);
    }
}
