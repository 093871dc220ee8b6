#include "menuedit/core/MenuPageRepair.h"

#include "menuedit/core/MenuCanvasGeometry.h"
#include "menuedit/core/MenuPageLayout.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/MenuClip.h"

namespace {

bool isTitlePicture(const DVDPageItem& item)
{
    return item.type() == 1;
}

bool isTitle(const DVDPageItem& item)
{
    return item.type() == 1 || item.type() == 4;
}

bool contains(const QRectF& outer, const QRectF& inner)
{
    return outer.x() <= inner.x() && outer.y() <= inner.y() &&
           inner.x() + inner.width() <= outer.x() + outer.width() &&
           inner.y() + inner.height() <= outer.y() + outer.height();
}

}  // namespace

void MenuPageRepair::flushMenuItemsFrameInPage(DVDPage& page, const DVDResource& disc)
{
    MenuPageLayout::layOutPage(page, disc.menuCanvasRect());
}

void MenuPageRepair::guaranteeNoOverlapInPage(DVDPage& page, const QRectF& canvas)
{
    const auto items = page.itemArray();
    for (const auto& item : items) {
        if (!item || !isTitlePicture(*item)) {
            continue;
        }
        QRectF frame = item->frame();
        for (int step = 0; step < maxSpreadSteps && isItemOverlapOtherItem(*item, page); ++step) {
            frame = MenuCanvasGeometry::boundInCanvasLimit(frame.translated(16, -10), canvas);
            item->setFrame(frame);
            item->setLastTimeTitleFrame(frame);
        }
    }
}

bool MenuPageRepair::isItemOverlapOtherItem(const DVDPageItem& item, const DVDPage& page)
{
    const QRectF shrunk = item.frame().adjusted(5, 5, -5, -5);
    if (!(shrunk.width() > 0) || !(shrunk.height() > 0)) {
        return false;
    }
    for (const auto& other : page.itemArray()) {
        if (!other || other.get() == &item || !isTitlePicture(*other)) {
            continue;
        }
        if (contains(other->frame(), shrunk)) {
            return true;
        }
    }
    return false;
}

void MenuPageRepair::updateHasSubMenuItemImageInPage(DVDPage& page)
{
    for (const auto& item : page.itemArray()) {
        if (!item || !isTitle(*item) || !item->hasSubPage() || !item->subPage()) {
            continue;
        }
        for (const auto& chapter : item->subPage()->itemArray()) {
            if (!chapter || !isTitle(*chapter)) {
                continue;
            }
            if (const auto clip = std::dynamic_pointer_cast<MenuClip>(chapter->media())) {
                item->setMenuStaticImage(clip->previewImage());
                break;
            }
            item->setMenuStaticImage(QImage());
        }
    }
}
