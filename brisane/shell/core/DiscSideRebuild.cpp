#include "shell/core/DiscSideRebuild.h"

#include <algorithm>
#include <cmath>

#include "lumenta/LMMediaTime.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "platform/Numeric.h"

namespace {

using ItemPtr = std::shared_ptr<DVDPageItem>;
using PagePtr = std::shared_ptr<DVDPage>;

constexpr double defaultMenuDuration = 15.0;

// The static text items of a former item list, in their order.
DVDPage::ItemList staticItems(const DVDPage::ItemList& items)
{
    DVDPage::ItemList kept;
    for (const ItemPtr& item : items) {
        if (item && item->isStaticItem()) {
            kept.append(item);
        }
    }
    return kept;
}

// Appends the item unless the page already lists it.
void addItem(DVDPage& page, const ItemPtr& item)
{
    if (!item || page.itemArray().contains(item)) {
        return;
    }
    DVDPage::ItemList items = page.itemArray();
    items.append(item);
    page.setItemArray(items);
}

// Takes the item out of the page's list when it is there.
void removeItem(DVDPage& page, const ItemPtr& item)
{
    if (!item || !page.itemArray().contains(item)) {
        return;
    }
    DVDPage::ItemList items = page.itemArray();
    items.removeAll(item);
    page.setItemArray(items);
}

void showItem(DVDPage& page, const ItemPtr& item, bool shown)
{
    if (shown) {
        addItem(page, item);
    } else {
        removeItem(page, item);
    }
}

std::shared_ptr<DVDPageItem> newTitleItem(const ObjectPtr& media)
{
    auto item = std::make_shared<DVDPageItem>();
    item->setType(1);
    item->setMedia(media);
    return item;
}

qsizetype clipCount(const DVDTitleData* title)
{
    return title ? title->mediaDataArray().size() : 0;
}

}  // namespace

DiscSideRebuild::DiscSideRebuild(std::shared_ptr<DataResource> media,
                                 std::shared_ptr<DVDResource> disc)
    : m_media(std::move(media)), m_disc(std::move(disc))
{
    if (m_media) {
        m_media->setDvdResource(m_disc);
    }
}

// ---- the rebuild

void DiscSideRebuild::flushDVDResourceBeforeEdit()
{
    if (!m_media || !m_disc) {
        return;
    }
    const DataResource::PageList listPages = m_media->dvdPageArray();
    for (const auto& listPage : listPages) {
        if (!listPage) {
            continue;
        }
        for (const auto& title : listPage->titleDataArray()) {
            if (!title) {
                continue;
            }
            for (const auto& clip : title->mediaDataArray()) {
                flushMenuItemWithMediaData(clip);
            }
            flushMenuItemWithDVDTitleData(title);
        }
        flushMenuPageWithDvdPageData(listPage);
        for (const auto& title : listPage->titleDataArray()) {
            const ItemPtr item = title ? title->menuItem() : nullptr;
            if (item && item->subPage()) {
                item->subPage()->setSuperPage(listPage->menuPage());
            }
        }
    }

    QList<PagePtr> pages;
    for (const auto& listPage : listPages) {
        if (listPage && listPage->menuPage()) {
            refillPage(listPage, pages);
        }
    }
    m_disc->setPageArray(pages);
    updatePreNextButtonForDVDPageArray();
    // The clips now belong to this disc and take its shape.
    m_disc->changeVideoOutputSizeWithDataResource(*m_media);
}

// Appends the list page's menu page and its titles' sub pages to `pages`,
// and refills the item lists of all of them.
void DiscSideRebuild::refillPage(const std::shared_ptr<DVDPageData>& listPage,
                                 QList<PagePtr>& pages)
{
    const PagePtr menuPage = listPage->menuPage();
    pages.append(menuPage);
    DVDPage::ItemList titleItems;
    for (const auto& title : listPage->titleDataArray()) {
        if (!title) {
            continue;
        }
        const ItemPtr item = title->menuItem();
        if (item && item->subPage()) {
            const PagePtr subPage = item->subPage();
            pages.append(subPage);
            DVDPage::ItemList clipItems;
            for (const auto& clip : title->mediaDataArray()) {
                if (clip && clip->isTitle() && clip->menuItem()) {
                    clipItems.append(clip->menuItem());
                }
            }
            subPage->setItemArray(clipItems + staticItems(subPage->itemArray()));
        }
        if (item) {
            titleItems.append(item);
        }
    }
    menuPage->setItemArray(titleItems + staticItems(menuPage->itemArray()));
}

// ---- the three steps of the first pass

void DiscSideRebuild::flushMenuItemWithMediaData(const std::shared_ptr<MediaData>& clip)
{
    if (!clip) {
        return;
    }
    if (clipCount(clip->superTitleData().get()) < 2) {
        clip->setIsTitle(false);
        clip->setMenuItem(nullptr);
        return;
    }
    clip->setIsTitle(true);
    if (clip->menuItem()) {
        return;
    }
    const ItemPtr item = newTitleItem(clip);
    clip->setMenuItem(item);
    if (const auto section = clip->sectionItem()) {
        item->setTitleVideoImageTime(
            pictureTimeInSection(section->startTimeInMedia(), section->endTimeInMedia()));
    }
}

void DiscSideRebuild::flushMenuItemWithDVDTitleData(const std::shared_ptr<DVDTitleData>& title)
{
    if (!title) {
        return;
    }
    if (!title->menuItem()) {
        title->setMenuItem(newTitleItem(title));
    }
    const ItemPtr item = title->menuItem();
    if (clipCount(title.get()) < 2) {
        item->setHasSubPage(false);
        item->setSubPage(nullptr);
        return;
    }
    item->setHasSubPage(true);
    if (!item->subPage()) {
        const PagePtr subPage = getANewDVDPage();
        subPage->setMedia(title);
        subPage->setIsSubPage(true);
        item->setSubPage(subPage);
    }
}

void DiscSideRebuild::flushMenuPageWithDvdPageData(const std::shared_ptr<DVDPageData>& page)
{
    if (!page || page->menuPage()) {
        return;
    }
    const PagePtr menuPage = getANewDVDPage();
    menuPage->setMedia(page);
    menuPage->setIsSubPage(false);
    page->setMenuPage(menuPage);
}

qint64 DiscSideRebuild::pictureTimeInSection(qint64 start, qint64 end)
{
    const double later =
        static_cast<double>(start) + 5.5 * static_cast<double>(lm_default_time_base());
    qint64 time = saturatingCast<qint64>(later);
    time = std::min(time, end);
    return std::max(time, start);
}

// ---- navigation buttons

void DiscSideRebuild::updatePreNextButtonForDVDPageArray()
{
    if (!m_disc) {
        return;
    }
    const bool showPlay = m_disc->showPlayButton();
    for (const PagePtr& page : m_disc->subMenuArray()) {
        removeItem(*page, page->nextButtonItem());
        addItem(*page, page->preButtonItem());
        showItem(*page, page->playButtonItem(), showPlay);
    }
    const DVDResource::PageList tops = m_disc->noSubMenuArray();
    for (qsizetype i = 0; i < tops.size(); ++i) {
        DVDPage& page = *tops[i];
        const bool before = i > 0;
        const bool after = i + 1 < tops.size();
        if (before) {
            addItem(page, page.preButtonItem());
            showItem(page, page.nextButtonItem(), after);
        } else {
            showItem(page, page.nextButtonItem(), after);
            removeItem(page, page.preButtonItem());
        }
        showItem(page, page.playButtonItem(), showPlay);
    }
}

// ---- durations

std::shared_ptr<DVDPage> DiscSideRebuild::getANewDVDPage() const
{
    auto page = std::make_shared<DVDPage>();
    const bool followMusic = m_disc && m_disc->useBackMusicLengthAsPageDuration();
    page->setMenuDuration(followMusic ? defaultMenuDuration : getCurrentDVDMenuDuration());
    return page;
}

double DiscSideRebuild::getCurrentDVDMenuDuration() const
{
    if (!m_disc || m_disc->pageArray().isEmpty() || !m_disc->pageArray().first()) {
        return defaultMenuDuration;
    }
    const double duration = m_disc->pageArray().first()->duration();
    return std::isfinite(duration) && duration > 1.0 ? duration : defaultMenuDuration;
}
