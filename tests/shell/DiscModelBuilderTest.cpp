// The disc model built from the rebuilt disc side: settings, titles and
// chapters per playable item, merged clips, the one title of a disc without
// menus, the previous, next and play jumps, and items that lead nowhere.

#include "DiscSideFixture.h"
#include "corvane/DVDLibrary.h"
#include "media/DVDChapterVideo.h"
#include "media/DVDTitleVideo.h"
#include "shell/core/DiscModelBuilder.h"
#include "shell/core/DiscSideRebuild.h"

using namespace discside;

namespace {

using Elements = QList<std::shared_ptr<DVDMenuElement>>;

class DiscModelBuilderTest : public DiscSideTest {
protected:
    std::shared_ptr<DVDLibrary> build()
    {
        DiscSideRebuild(services->media, services->disc).flushDVDResourceBeforeEdit();
        return DiscModelBuilder(services->disc).getDVDObj();
    }

    static QList<std::shared_ptr<brisane::DVDTitleVideo>> titlesOf(const DVDLibrary& dvd)
    {
        QList<std::shared_ptr<brisane::DVDTitleVideo>> titles;
        for (const auto& title : dvd.titles()) {
            titles.append(std::dynamic_pointer_cast<brisane::DVDTitleVideo>(title));
            EXPECT_TRUE(titles.last());
        }
        return titles;
    }

    static std::shared_ptr<brisane::DVDChapterVideo> chapterOf(
        const std::shared_ptr<brisane::DVDTitleVideo>& title, qsizetype at)
    {
        return std::dynamic_pointer_cast<brisane::DVDChapterVideo>(title->chapters().value(at));
    }

    // The items that lead to each chapter of the disc, title by title.
    static QList<Elements> chapterItems(const DVDLibrary& dvd)
    {
        QList<Elements> items;
        for (const auto& title : titlesOf(dvd)) {
            for (const auto& chapter : title->chapters()) {
                items.append(chapter->titles());
            }
        }
        return items;
    }
};

TEST_F(DiscModelBuilderTest, TakesTheDiscSettings)
{
    disc().setAspectType(0);
    disc().setDvdBitrate(6000);
    disc().setDvdFormat(0);
    disc().setAutoPlayFirstTitle(true);
    disc().setPlayTitleSequence(true);
    addTitle(addPage(), 1);
    const auto dvd = build();
    ASSERT_TRUE(dvd);
    EXPECT_FALSE(dvd->autoMenus());
    EXPECT_FALSE(dvd->noMenu());
    EXPECT_EQ(dvd->aspectType(), 0);
    EXPECT_EQ(dvd->dvdBitrate(), 6000);
    EXPECT_EQ(dvd->format(), 0);
    EXPECT_TRUE(dvd->playFirstTitle());
    EXPECT_TRUE(dvd->playTitleSequence());
    EXPECT_TRUE(dvd->menuLoop());
    EXPECT_TRUE(dvd->loopVideo());
    ASSERT_EQ(dvd->menus().size(), 1);
    const auto page = std::dynamic_pointer_cast<DVDPage>(dvd->menus().first());
    EXPECT_EQ(page, disc().pageArray().first());
    EXPECT_EQ(page->dvd(), dvd);
    EXPECT_FALSE(DiscModelBuilder(nullptr).getDVDObj());
}

TEST_F(DiscModelBuilderTest, OneClipTitlesGiveOneTitleEachWithThePlayButtonFirst)
{
    disc().setShowPlayButton(true);
    const auto page = addPage();
    const auto first = addTitle(page, 1);
    const auto second = addTitle(page, 1);
    const auto dvd = build();

    const auto titles = titlesOf(*dvd);
    ASSERT_EQ(titles.size(), 2);
    ASSERT_EQ(titles[0]->chapters().size(), 1);
    ASSERT_EQ(titles[1]->chapters().size(), 1);
    const auto play = page->menuPage()->playButtonItem();
    EXPECT_EQ(chapterItems(*dvd),
              (QList<Elements>{{play, first->menuItem()}, {second->menuItem()}}));
    EXPECT_FALSE(play->jumpMenu());

    // The chapter plays the clip's section, at source times.
    const auto movies = chapterOf(titles[1], 0)->movies();
    ASSERT_EQ(movies.size(), 1);
    EXPECT_EQ(movies.first()->trimStart(), seconds(0));
    EXPECT_EQ(movies.first()->trimStop(), seconds(10));
}

TEST_F(DiscModelBuilderTest, ASubPageMakesTheTitlesOfItsClips)
{
    disc().setShowPlayButton(true);
    const auto page = addPage();
    const auto title = addTitle(page, 2);
    const auto dvd = build();

    const auto item = title->menuItem();
    const auto subPage = item->subPage();
    ASSERT_TRUE(subPage);
    EXPECT_EQ(dvd->menus(), (QList<DVDLibrary::MenuPtr>{page->menuPage(), subPage}));
    const auto clips = title->mediaDataArray();
    EXPECT_EQ(chapterItems(*dvd),
              (QList<Elements>{{subPage->playButtonItem(), clips[0]->menuItem()},
                               {clips[1]->menuItem()}}));
    EXPECT_EQ(subPage->parent(), item);
    EXPECT_EQ(page->menuPage()->playButtonItem()->jumpMenu(), subPage);
    EXPECT_EQ(subPage->preButtonItem()->jumpMenu(), page->menuPage());
    EXPECT_EQ(subPage->dvd(), dvd);
}

TEST_F(DiscModelBuilderTest, AMergedClipGivesOneTitleWithAChapterPerMember)
{
    const auto page = addPage();
    const auto title = addTitle(page, 0);
    addClip(title, mergedClip(3));
    const auto dvd = build();

    const auto titles = titlesOf(*dvd);
    ASSERT_EQ(titles.size(), 1);
    ASSERT_EQ(titles[0]->chapters().size(), 3);
    const auto members = title->mediaDataArray().first()->subMediaArray();
    for (qsizetype i = 0; i < 3; ++i) {
        const auto chapter = chapterOf(titles[0], i);
        EXPECT_EQ(chapter->titles(), (Elements{title->menuItem()}));
        ASSERT_EQ(chapter->movies().size(), 1);
        EXPECT_EQ(chapter->movies().first()->trimStart(),
                  members[i]->sectionItem()->startTimeInMedia());
    }
}

TEST_F(DiscModelBuilderTest, WithoutMenusEveryChapterIsInOneTitleInPageAndItemOrder)
{
    disc().setUseNoMenu(true);
    const auto a = addPage();
    const auto single = addTitle(a, 1);
    const auto chapters = addTitle(a, 2);
    const auto b = addPage();
    const auto merged = addTitle(b, 0);
    addClip(merged, mergedClip(2));
    const auto dvd = build();

    EXPECT_TRUE(dvd->noMenu());
    const auto titles = titlesOf(*dvd);
    ASSERT_EQ(titles.size(), 1);
    const auto& clips = chapters->mediaDataArray();
    const auto mergedItem = merged->menuItem();
    EXPECT_EQ(chapterItems(*dvd), (QList<Elements>{{single->menuItem()},
                                                   {clips[0]->menuItem()},
                                                   {clips[1]->menuItem()},
                                                   {mergedItem},
                                                   {mergedItem}}));
}

TEST_F(DiscModelBuilderTest, PreviousAndNextJumpAcrossTheTopPagesSkippingAnEmptyOne)
{
    const auto a = addPage();
    const auto empty = addPage();
    const auto b = addPage();
    const auto c = addPage();
    for (const auto& page : {a, b, c}) {
        addTitle(page, 1);
    }
    const auto dvd = build();

    const auto menuA = a->menuPage();
    const auto menuB = b->menuPage();
    const auto menuC = c->menuPage();
    EXPECT_EQ(dvd->menus(), (QList<DVDLibrary::MenuPtr>{menuA, menuB, menuC}));
    EXPECT_FALSE(menuA->preButtonItem()->jumpMenu());
    EXPECT_EQ(menuA->nextButtonItem()->jumpMenu(), menuB);
    EXPECT_EQ(menuB->preButtonItem()->jumpMenu(), menuA);
    EXPECT_EQ(menuB->nextButtonItem()->jumpMenu(), menuC);
    EXPECT_EQ(menuC->preButtonItem()->jumpMenu(), menuB);
    EXPECT_FALSE(menuC->nextButtonItem()->jumpMenu());
    EXPECT_FALSE(empty->menuPage()->dvd());
}

TEST_F(DiscModelBuilderTest, APlayButtonWithoutATargetJumpsToItsOwnPage)
{
    // Off the page: its own page, whatever the page leads to.
    const auto hidden = addPage();
    addTitle(hidden, 1);
    // On a page whose only title has nothing to play.
    const auto idle = addPage();
    addTitle(idle, 0);
    disc().setShowPlayButton(true);
    auto dvd = build();
    const auto idleMenu = idle->menuPage();
    ASSERT_TRUE(idleMenu->itemArray().contains(idleMenu->playButtonItem()));
    EXPECT_EQ(idleMenu->playButtonItem()->jumpMenu(), idleMenu);

    disc().setShowPlayButton(false);
    dvd = build();
    const auto hiddenMenu = hidden->menuPage();
    EXPECT_EQ(hiddenMenu->playButtonItem()->jumpMenu(), hiddenMenu);
    EXPECT_EQ(titlesOf(*dvd).size(), 1);
}

TEST_F(DiscModelBuilderTest, StaticTextsAndButtonsNeverMakeTitles)
{
    disc().setShowPlayButton(true);
    const auto page = addPage();
    addTitle(page, 1);
    addTitle(page, 1);
    const auto other = addPage();
    addTitle(other, 1);
    build();
    const auto menuPage = page->menuPage();
    // A text and buttons that would lead to a clip if they were played.
    const auto clip = makeClip(0, 5);
    auto text = std::make_shared<DVDPageItem>();
    text->setType(2);
    text->setMedia(clip);
    menuPage->nextButtonItem()->setMedia(clip);
    menuPage->playButtonItem()->setMedia(clip);
    auto items = menuPage->itemArray();
    items.prepend(text);
    menuPage->setItemArray(items);

    const auto dvd = DiscModelBuilder(services->disc).getDVDObj();
    EXPECT_EQ(titlesOf(*dvd).size(), 3);
    for (const auto& leading : chapterItems(*dvd)) {
        EXPECT_FALSE(leading.contains(text));
        EXPECT_FALSE(leading.contains(menuPage->nextButtonItem()));
    }
}

TEST_F(DiscModelBuilderTest, ItemsThatLeadToNothingPlayableAreSkipped)
{
    const auto page = addPage();
    const auto good = addTitle(page, 1);
    addTitle(page, 0);  // no clip
    addClip(addTitle(page, 0), mergedClip(0));
    const auto unplayable = addTitle(page, 1);
    unplayable->mediaDataArray().first()->setVcmovie(nullptr);
    const auto withNullMember = addTitle(page, 0);
    auto group = mergedClip(1);
    group->subMediaArray().append(nullptr);
    addClip(withNullMember, group);
    build();
    {
        // An item whose title is gone.
        auto gone = std::make_shared<DVDTitleData>();
        auto orphan = std::make_shared<DVDPageItem>();
        orphan->setMedia(gone);
        auto items = page->menuPage()->itemArray();
        items.append(orphan);
        page->menuPage()->setItemArray(items);
    }

    const DiscModelBuilder builder(services->disc);
    const auto dvd = builder.getDVDObj();
    EXPECT_EQ(chapterItems(*dvd),
              (QList<Elements>{{good->menuItem()}, {withNullMember->menuItem()}}));
    // The clip without a media item (its file could not be opened) is not
    // left out silently: production refuses a disc that lacks it.
    EXPECT_EQ(builder.clipsWithNothingToPlay(),
              (MediaData::ClipList{unplayable->mediaDataArray().first()}));
    EXPECT_TRUE(DiscModelBuilder(services->disc).clipsWithNothingToPlay().isEmpty());
}

TEST_F(DiscModelBuilderTest, BuildingTwiceNeverListsThePlayButtonTwice)
{
    disc().setShowPlayButton(true);
    const auto page = addPage();
    const auto title = addTitle(page, 1);
    const auto first = build();
    const auto second = build();
    const Elements expected{page->menuPage()->playButtonItem(), title->menuItem()};
    EXPECT_EQ(chapterItems(*first), QList<Elements>{expected});
    EXPECT_EQ(chapterItems(*second), QList<Elements>{expected});
    EXPECT_EQ(page->menuPage()->dvd(), second);
}

TEST_F(DiscModelBuilderTest, PlayTargetIsTheFirstChapterElseTheFirstSubPage)
{
    const auto page = addPage();
    const auto chapters = addTitle(page, 2);
    const auto later = addTitle(page, 2);
    build();
    const auto dvd = DiscModelBuilder(services->disc).getDVDObj();
    EXPECT_EQ(DiscModelBuilder::findMenuPlayJumpForMenu(*page->menuPage(), *dvd),
              chapters->menuItem()->subPage());
    const auto subPage = later->menuItem()->subPage();
    const auto target = DiscModelBuilder::findMenuPlayJumpForMenu(*subPage, *dvd);
    const auto chapter = std::dynamic_pointer_cast<brisane::DVDChapterVideo>(target);
    ASSERT_TRUE(chapter);
    EXPECT_EQ(chapter->titles().last(), later->mediaDataArray().first()->menuItem());
}

}  // namespace
