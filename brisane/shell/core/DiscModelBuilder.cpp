#include "shell/core/DiscModelBuilder.h"

#include "corvane/DVDLibrary.h"
#include "media/DVDChapterVideo.h"
#include "media/DVDTitleVideo.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"

namespace {

using ItemPtr = std::shared_ptr<DVDPageItem>;
using PagePtr = std::shared_ptr<DVDPage>;
using ChapterList = brisane::DVDTitleVideo::ChapterList;

// The clip an item plays: its own clip, or the last clip of its title (a
// title whose item plays has one clip). Null when there is none.
std::shared_ptr<MediaData> clipForItem(const DVDPageItem& item)
{
    const ObjectPtr media = item.media();
    if (auto clip = std::dynamic_pointer_cast<MediaData>(media)) {
        return clip;
    }
    if (const auto title = std::dynamic_pointer_cast<DVDTitleData>(media)) {
        return title->mediaDataArray().isEmpty() ? nullptr : title->mediaDataArray().last();
    }
    return nullptr;
}

// The clips played for a clip: the members of a merged clip, else the clip.
MediaData::ClipList clipsToPlay(const std::shared_ptr<MediaData>& clip)
{
    if (clip->subMediaArray().isEmpty()) {
        return clip->hasSubMedia() ? MediaData::ClipList() : MediaData::ClipList{clip};
    }
    MediaData::ClipList members;
    for (const auto& member : clip->subMediaArray()) {
        if (member) {
            members.append(member);
        }
    }
    return members;
}

// Appends one chapter per clip the item plays, each led to by the item; a
// clip with nothing to play goes to `silent` instead.
void appendChapters(const ItemPtr& item, ChapterList& chapters, MediaData::ClipList& silent)
{
    const std::shared_ptr<MediaData> clip = clipForItem(*item);
    if (!clip) {
        return;
    }
    for (const auto& played : clipsToPlay(clip)) {
        const QList<VCMovie::Ptr> movies = played->segmentMovies();
        if (movies.isEmpty()) {
            silent.append(played);
            continue;
        }
        auto chapter = brisane::DVDChapterVideo::create();
        chapter->setMovies(movies);
        chapter->setTitles({item});
        chapters.append(chapter);
    }
}

bool makesTitles(const DVDPageItem& item)
{
    return !item.isStaticItem() && !item.isButtonItem();
}

// Previous jumps to the top menu before, next to the one after; a sub page's
// previous jumps back to its top page.
void setPageJumps(DVDPage& page, const QList<PagePtr>& topMenus)
{
    const ItemPtr previous = page.preButtonItem();
    const ItemPtr next = page.nextButtonItem();
    if (const PagePtr superPage = page.superPage()) {
        if (previous) {
            previous->setJumpMenu(superPage);
        }
        return;
    }
    qsizetype at = -1;
    for (qsizetype i = 0; i < topMenus.size(); ++i) {
        if (topMenus[i].get() == &page) {
            at = i;
        }
    }
    if (previous) {
        previous->setJumpMenu(at > 0 ? topMenus[at - 1] : nullptr);
    }
    if (next) {
        next->setJumpMenu(at >= 0 && at + 1 < topMenus.size() ? topMenus[at + 1] : nullptr);
    }
}

std::shared_ptr<brisane::DVDTitleVideo> titleWithChapters(const ChapterList& chapters)
{
    auto title = brisane::DVDTitleVideo::create();
    title->setChapters(chapters);
    return title;
}

}  // namespace

DiscModelBuilder::DiscModelBuilder(std::shared_ptr<DVDResource> disc) : m_disc(std::move(disc)) {}

std::shared_ptr<DVDLibrary> DiscModelBuilder::getDVDObj() const
{
    if (!m_disc) {
        return nullptr;
    }
    auto dvd = std::make_shared<DVDLibrary>();
    dvd->setAutoMenus(false);
    dvd->setNoMenu(m_disc->useNoMenu());
    dvd->setAspectType(m_disc->aspectType());
    dvd->setDvdBitrate(m_disc->dvdBitrate());
    dvd->setPlayFirstTitle(m_disc->autoPlayFirstTitle());
    dvd->setPlayTitleSequence(m_disc->playTitleSequence());
    dvd->setMenuLoop(true);
    dvd->setFormat(m_disc->dvdFormat());
    dvd->setLoopVideo(true);

    const QList<PagePtr> pages = m_disc->pageArrayForPreview();
    QList<PagePtr> topMenus;
    for (const PagePtr& page : pages) {
        if (!page->superPage()) {
            topMenus.append(page);
        }
    }

    // The library keeps copies of the lists it is given, so the titles and
    // chapters are complete before they are handed over.
    const bool noMenu = dvd->noMenu();
    m_clipsWithNothingToPlay.clear();
    QList<ObjectPtr> titles;
    ChapterList discChapters;
    for (const PagePtr& page : pages) {
        page->setDvd(dvd);
        setPageJumps(*page, topMenus);
        for (const ItemPtr& item : page->itemArray()) {
            if (!item || !makesTitles(*item)) {
                continue;
            }
            if (item->hasSubPage()) {
                if (const PagePtr subPage = item->subPage()) {
                    subPage->setParent(item);
                }
                continue;
            }
            if (noMenu) {
                appendChapters(item, discChapters, m_clipsWithNothingToPlay);
                continue;
            }
            ChapterList chapters;
            appendChapters(item, chapters, m_clipsWithNothingToPlay);
            if (!chapters.isEmpty()) {
                titles.append(titleWithChapters(chapters));
            }
        }
    }
    if (noMenu && !discChapters.isEmpty()) {
        titles.append(titleWithChapters(discChapters));
    }

    dvd->setMenus({pages.begin(), pages.end()});
    dvd->setTitles(titles);
    updateDVDMenuPlayBtn(*dvd);
    return dvd;
}

void DiscModelBuilder::updateDVDMenuPlayBtn(const DVDLibrary& dvd)
{
    for (const auto& menu : dvd.menus()) {
        const PagePtr page = std::dynamic_pointer_cast<DVDPage>(menu);
        const ItemPtr play = page ? page->playButtonItem() : nullptr;
        if (!play) {
            continue;
        }
        const ObjectPtr target =
            page->itemArray().contains(play) ? findMenuPlayJumpForMenu(*page, dvd) : nullptr;
        if (const auto chapter = std::dynamic_pointer_cast<brisane::DVDChapterVideo>(target)) {
            QList<std::shared_ptr<DVDMenuElement>> leading{play};
            leading.append(chapter->titles());
            chapter->setTitles(leading);
            play->setJumpMenu(nullptr);
        } else if (std::dynamic_pointer_cast<DVDMenuPage>(target)) {
            play->setJumpMenu(target);
        } else {
            play->setJumpMenu(page);
        }
    }
}

ObjectPtr DiscModelBuilder::findMenuPlayJumpForMenu(const DVDPage& menu, const DVDLibrary& dvd)
{
    PagePtr firstSubPage;
    for (const ItemPtr& item : menu.itemArray()) {
        if (!item) {
            continue;
        }
        if (!firstSubPage && item->hasSubPage() && item->subPage()) {
            firstSubPage = item->subPage();
        }
        const auto chapters = dvd.getChaptersForItem(item);
        if (!chapters.isEmpty()) {
            return chapters.first();
        }
    }
    return firstSubPage;
}
