#include "dialogs/SingleFrameView.h"

#include "corvane/DVDLibraryFrameResource.h"
#include "model/DVDPageItem.h"

SingleFrameView::SingleFrameView(const std::shared_ptr<DVDLibraryFrameResource>& frameSource,
                                 MenuEditorAccess editor, QWidget* parent)
    : TemplateTileView(editor, parent), frameSource_(frameSource)
{
    if (frameSource) {
        setImage(frameSource->frameImage());
    }
}

bool SingleFrameView::isChosen() const
{
    const auto item = currentItem();
    const auto source = frameSource();
    return item && source && item->frameResource() &&
           item->frameResource()->isEqualToResource(source.get());
}

void SingleFrameView::choose()
{
    const auto item = currentItem();
    const auto source = frameSource();
    if (item && source) {
        item->setFrameResource(source);
    }
}
