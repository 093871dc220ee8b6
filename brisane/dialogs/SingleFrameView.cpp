#include "dialogs/SingleFrameView.h"

#include "corvane/DVDLibraryFrameResource.h"
#include "dialogs/MenuEditorAccess.h"
#include "model/DVDPageItem.h"

SingleFrameView::SingleFrameView(const std::shared_ptr<DVDLibraryFrameResource>& frameSource,
                                 QWidget* parent)
    : TemplateTileView(parent), frameSource_(frameSource)
{
    if (frameSource) {
        setImage(frameSource->frameImage());
    }
}

bool SingleFrameView::isChosen() const
{
    const auto item = MenuEditorAccess::currentItem();
    const auto source = frameSource();
    return item && source && item->frameResource() &&
           item->frameResource()->isEqualToResource(source.get());
}

void SingleFrameView::choose()
{
    const auto item = MenuEditorAccess::currentItem();
    const auto source = frameSource();
    if (item && source) {
        item->setFrameResource(source);
    }
}
