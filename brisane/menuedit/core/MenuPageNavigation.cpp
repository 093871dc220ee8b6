#include "menuedit/core/MenuPageNavigation.h"

#include "common/ArrayExtension.h"
#include "model/DVDPage.h"
#include "model/DVDResource.h"

namespace {

// The page's place among the top pages; -1 when it is not one of them.
qsizetype topIndex(const DVDResource& disc, const DVDPage* page)
{
    const auto pages = disc.noSubMenuArray();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (pages.at(i).get() == page) {
            return i;
        }
    }
    return -1;
}

}  // namespace

bool MenuPageNavigation::hasLastMenu(const DVDResource* disc, const DVDPage* page)
{
    if (!disc || !page) {
        return false;
    }
    return page->isSubPage() || topIndex(*disc, page) > 0;
}

bool MenuPageNavigation::hasNextMenu(const DVDResource* disc, const DVDPage* page)
{
    if (!disc || !page || page->isSubPage()) {
        return false;
    }
    const qsizetype index = topIndex(*disc, page);
    return index >= 0 && index + 1 < disc->noSubMenuArray().size();
}

std::shared_ptr<DVDPage> MenuPageNavigation::previousPage(const DVDResource* disc,
                                                          const std::shared_ptr<DVDPage>& page)
{
    if (!disc || !page) {
        return nullptr;
    }
    if (page->isSubPage()) {
        return page->superPage();
    }
    return previousObject(disc->noSubMenuArray(), page);
}

std::shared_ptr<DVDPage> MenuPageNavigation::nextPage(const DVDResource* disc,
                                                      const std::shared_ptr<DVDPage>& page)
{
    if (!disc || !page || page->isSubPage()) {
        return nullptr;
    }
    return nextObject(disc->noSubMenuArray(), page);
}

std::shared_ptr<DVDPage> MenuPageNavigation::firstPage(const DVDResource* disc)
{
    return disc ? firstObject(disc->noSubMenuArray()) : nullptr;
}
