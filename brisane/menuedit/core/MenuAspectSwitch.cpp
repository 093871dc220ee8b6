#include "menuedit/core/MenuAspectSwitch.h"

#include "menuedit/core/MenuCanvasGeometry.h"
#include "menuedit/core/MenuPageLayout.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"

float MenuAspectSwitch::shiftForSwitch(qint64 lastTimeAspect, double newCanvasWidth)
{
    const float width = static_cast<float>(newCanvasWidth);
    if (lastTimeAspect != 0) {
        const float ratio = 0.75f;
        const float former = width / ratio;
        return -((former - width) / 2);
    }
    const float ratio = 1.3333334f;
    return (width - width / ratio) / 2;
}

void MenuAspectSwitch::moveItemsInPages(const QList<std::shared_ptr<DVDPage>>& pages, float shift,
                                        const QRectF& canvas)
{
    for (const auto& page : pages) {
        if (!page) {
            continue;
        }
        for (const auto& item : page->itemArray()) {
            if (!item) {
                continue;
            }
            const bool program = MenuPageLayout::isPlacedByProgram(*item);
            const QRectF moved = item->frame().translated(shift, 0);
            item->setFrame(MenuCanvasGeometry::boundInCanvasLimit(moved, canvas));
            if (program && item->lastTimeTitleFrame() != QRectF()) {
                item->setLastTimeTitleFrame(item->frame());
            }
        }
    }
}

void MenuAspectSwitch::changeClipOutputSizes(const DataResource& media, const DVDResource& disc)
{
    disc.changeVideoOutputSizeWithDataResource(media);
}
