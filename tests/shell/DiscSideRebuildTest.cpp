// The disc side rebuilt from the title list: pages, items and chapter sub
// pages made, kept and let go as the list changes; the item lists refilled
// with static texts kept; the navigation buttons by position; the duration of
// new pages.

#include <cmath>
#include <limits>

#include "DiscSideFixture.h"
#include "shell/core/DiscSideRebuild.h"

using namespace discside;

namespace {

class DiscSideRebuildTest : public DiscSideTest {
protected:
    DiscSideRebuild rebuilder() { return DiscSideRebuild(services->media, services->disc); }
    void rebuild() { rebuilder().flushDVDResourceBeforeEdit(); }

    static std::shared_ptr<DVDPageItem> staticText()
    {
        auto text = std::make_shared<DVDPageItem>();
        text->setType(2);
        return text;
    }
};

TEST_F(DiscSideRebuildTest, OneClipTitleHasAnItemButNoSubPageAndItsClipNoItem)
{
    const auto page = addPage();
    const auto title = addTitle(page, 1);
    rebuild();

    const auto menuPage = page->menuPage();
    ASSERT_TRUE(menuPage);
    EXPECT_EQ(menuPage->media(), page);
    EXPECT_FALSE(menuPage->isSubPage());
    const auto item = title->menuItem();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->media(), title);
    EXPECT_EQ(item->type(), 1);
    EXPECT_FALSE(item->hasSubPage());
    EXPECT_FALSE(item->subPage());
    const auto clip = title->mediaDataArray().first();
    EXPECT_FALSE(clip->isTitle());
    EXPECT_FALSE(clip->menuItem());
    EXPECT_EQ(disc().pageArray(), (DVDResource::PageList{menuPage}));
    EXPECT_EQ(menuPage->itemArray(), (DVDPage::ItemList{item}));
}

TEST_F(DiscSideRebuildTest, SecondClipMakesTheSubPageWithAnItemPerClip)
{
    const auto page = addPage();
    const auto title = addTitle(page, 0);
    const auto longer = addClip(title, makeClip(20.0, 60.0));
    const auto shorter = addClip(title, makeClip(2.0, 4.0));
    rebuild();

    const auto item = title->menuItem();
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->hasSubPage());
    const auto subPage = item->subPage();
    ASSERT_TRUE(subPage);
    EXPECT_TRUE(subPage->isSubPage());
    EXPECT_EQ(subPage->media(), title);
    EXPECT_EQ(subPage->superPage(), page->menuPage());
    EXPECT_EQ(disc().pageArray(), (DVDResource::PageList{page->menuPage(), subPage}));

    for (const auto& clip : {longer, shorter}) {
        EXPECT_TRUE(clip->isTitle());
        ASSERT_TRUE(clip->menuItem());
        EXPECT_EQ(clip->menuItem()->media(), clip);
    }
    EXPECT_EQ(longer->menuItem()->titleVideoImageTime(), seconds(25.5));
    EXPECT_EQ(shorter->menuItem()->titleVideoImageTime(), seconds(4.0));
    // Clip items in clip order, then the previous button a sub page has.
    EXPECT_EQ(subPage->itemArray(), (DVDPage::ItemList{longer->menuItem(), shorter->menuItem(),
                                                       subPage->preButtonItem()}));
    EXPECT_EQ(page->menuPage()->itemArray(), (DVDPage::ItemList{item}));
}

TEST(DiscSideRebuildPictureTime, StaysInsideTheSection)
{
    constexpr qint64 top = std::numeric_limits<qint64>::max();
    const struct {
        qint64 start, end, expected;
    } cases[] = {
        {0, seconds(10), seconds(5.5)},
        {seconds(2), seconds(4), seconds(4)},    // shorter: its end
        {seconds(5), seconds(5), seconds(5)},    // empty section
        {seconds(10), seconds(5), seconds(10)},  // reversed: its start
        {seconds(-10), 0, seconds(-4.5)},        // before the source's start
        {top - 10, top, top},                    // no overflow past the last time
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DiscSideRebuild::pictureTimeInSection(c.start, c.end), c.expected)
            << c.start << " .. " << c.end;
    }
}

TEST_F(DiscSideRebuildTest, BackToOneClipDropsTheSubPageAndGrowingAgainMakesFreshOnes)
{
    const auto page = addPage();
    const auto title = addTitle(page, 2);
    rebuild();
    const auto firstSubPage = title->menuItem()->subPage();
    const auto firstClipItem = title->mediaDataArray().first()->menuItem();
    ASSERT_TRUE(firstSubPage && firstClipItem);
    EXPECT_EQ(firstSubPage->menuDuration(), 15.0);
    page->menuPage()->setMenuDuration(30.0);

    const auto second = title->mediaDataArray().takeLast();
    rebuild();
    EXPECT_FALSE(title->menuItem()->hasSubPage());
    EXPECT_FALSE(title->menuItem()->subPage());
    EXPECT_FALSE(title->mediaDataArray().first()->isTitle());
    EXPECT_FALSE(title->mediaDataArray().first()->menuItem());
    EXPECT_EQ(disc().pageArray(), (DVDResource::PageList{page->menuPage()}));

    addClip(title, second);
    rebuild();
    const auto freshSubPage = title->menuItem()->subPage();
    ASSERT_TRUE(freshSubPage);
    EXPECT_NE(freshSubPage, firstSubPage);
    EXPECT_NE(title->mediaDataArray().first()->menuItem(), firstClipItem);
    EXPECT_EQ(freshSubPage->menuDuration(), 30.0);  // the first page's, at creation
    EXPECT_EQ(freshSubPage->itemArray().size(), 3);
}

TEST_F(DiscSideRebuildTest, MovedTitleKeepsItsItemAndItsSubPageFollows)
{
    const auto from = addPage();
    const auto to = addPage();
    addTitle(to, 1);
    const auto title = addTitle(from, 2);
    rebuild();
    const auto item = title->menuItem();
    const auto subPage = item->subPage();
    const QRectF frame(40, 60, 200, 150);
    item->setFrame(frame);
    item->setTitleVideoImageTime(seconds(3));
    ASSERT_EQ(subPage->superPage(), from->menuPage());

    moveTitle(title, to);
    rebuild();
    EXPECT_EQ(title->menuItem(), item);
    EXPECT_EQ(item->frame(), frame);
    EXPECT_EQ(item->titleVideoImageTime(), seconds(3));
    EXPECT_EQ(item->subPage(), subPage);
    EXPECT_EQ(subPage->superPage(), to->menuPage());
    EXPECT_FALSE(from->menuPage()->itemArray().contains(item));
    EXPECT_EQ(to->menuPage()->itemArray().mid(0, 2),
              (DVDPage::ItemList{to->titleDataArray().first()->menuItem(), item}));
    EXPECT_EQ(disc().pageArray(),
              (DVDResource::PageList{from->menuPage(), to->menuPage(), subPage}));
}

TEST_F(DiscSideRebuildTest, StaticTextsStayAfterTheTitleItemsInOrder)
{
    disc().setShowPlayButton(true);
    const auto page = addPage();
    const auto twoClips = addTitle(page, 2);
    rebuild();
    const auto menuPage = page->menuPage();
    const auto subPage = twoClips->menuItem()->subPage();
    const auto first = staticText();
    const auto second = staticText();
    const auto chapterText = staticText();
    const auto stray = std::make_shared<DVDPageItem>();  // an item of nothing on the list
    menuPage->setItemArray({second, stray, twoClips->menuItem(), first});
    subPage->setItemArray({chapterText, stray});

    for (int round = 0; round < 3; ++round) {
        addTitle(page, 1);
        rebuild();
        DVDPage::ItemList expected;
        for (const auto& title : page->titleDataArray()) {
            expected.append(title->menuItem());
        }
        expected << second << first << menuPage->playButtonItem();
        EXPECT_EQ(menuPage->itemArray(), expected) << "round " << round;
        const auto clips = twoClips->mediaDataArray();
        EXPECT_EQ(subPage->itemArray(),
                  (DVDPage::ItemList{clips[0]->menuItem(), clips[1]->menuItem(), chapterText,
                                     subPage->preButtonItem(), subPage->playButtonItem()}))
            << "round " << round;
    }
}

// Page layouts (titles per list page; -2 for one title of two clips) and the
// button types each page of the page list ends with.
TEST_F(DiscSideRebuildTest, NavigationButtonsFollowThePagePositions)
{
    const struct {
        const char* name;
        QList<int> titles;
        bool showPlay;
        QList<QList<qint64>> buttons;
    } cases[] = {
        {"one page", {1}, false, {{}}},
        {"one page with play", {1}, true, {{11}}},
        {"three pages", {1, 1, 1}, false, {{13}, {12, 13}, {12}}},
        {"three pages with play", {1, 1, 1}, true, {{13, 11}, {12, 13, 11}, {12, 11}}},
        {"a sub page", {-2}, true, {{11}, {12, 11}}},
        {"a sub page without play", {-2}, false, {{}, {12}}},
        {"an empty page among others", {1, 0, 1}, true, {{13, 11}, {}, {12, 11}}},
        {"only an empty page", {0}, true, {{11}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        disc().setShowPlayButton(c.showPlay);
        for (int titles : c.titles) {
            const auto page = addPage();
            if (titles < 0) {
                addTitle(page, -titles);
            }
            for (int t = 0; t < titles; ++t) {
                addTitle(page, 1);
            }
        }
        rebuild();
        ASSERT_EQ(disc().pageArray().size(), c.buttons.size());
        for (qsizetype p = 0; p < c.buttons.size(); ++p) {
            QList<qint64> buttons;
            for (qint64 type : itemTypes(*disc().pageArray()[p])) {
                if (type >= 11) {
                    buttons.append(type);
                }
            }
            EXPECT_EQ(buttons, c.buttons[p]) << "page " << p;
        }
        TearDown();
    }
}

TEST_F(DiscSideRebuildTest, ButtonsComeAndGoWithoutARebuild)
{
    const auto first = addPage();
    const auto second = addPage();
    addTitle(first, 1);
    addTitle(second, 1);
    rebuild();
    const auto page = first->menuPage();
    // Stale buttons of a former position are taken away; present ones stay once.
    page->setItemArray({page->itemArray().first(), page->preButtonItem(), page->nextButtonItem()});
    disc().setShowPlayButton(true);
    rebuilder().updatePreNextButtonForDVDPageArray();
    EXPECT_EQ(itemTypes(*page), (QList<qint64>{1, 13, 11}));
    disc().setShowPlayButton(false);
    rebuilder().updatePreNextButtonForDVDPageArray();
    EXPECT_EQ(itemTypes(*page), (QList<qint64>{1, 13}));
    EXPECT_EQ(itemTypes(*second->menuPage()), (QList<qint64>{1, 12}));
}

TEST_F(DiscSideRebuildTest, NewPagesTakeTheFirstPagesDurationOrFifteenSeconds)
{
    EXPECT_EQ(rebuilder().getCurrentDVDMenuDuration(), 15.0);  // no page at all
    const auto page = addPage();
    rebuild();
    EXPECT_EQ(page->menuPage()->menuDuration(), 15.0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double first;
        bool followMusic;
        double expected;
    } cases[] = {
        {30.0, false, 30.0}, {1.0, false, 15.0}, {0.5, false, 15.0}, {1.01, false, 1.01},
        {30.0, true, 15.0},  {nan, false, 15.0}, {inf, false, 15.0}, {-4.0, false, 15.0},
    };
    for (const auto& c : cases) {
        page->menuPage()->setMenuDuration(c.first);
        disc().setUseBackMusicLengthAsPageDuration(c.followMusic);
        const auto added = addPage();
        rebuild();
        EXPECT_EQ(added->menuPage()->menuDuration(), c.expected)
            << c.first << (c.followMusic ? " following the music" : "");
        EXPECT_EQ(rebuilder().getANewDVDPage()->menuDuration(), c.expected);
    }
}

TEST_F(DiscSideRebuildTest, ClipsAndTitlesWithoutTheirPartsDoNotStopTheRebuild)
{
    const auto page = addPage();
    const auto empty = addTitle(page, 0);
    const auto sectionless = addTitle(page, 2);
    sectionless->mediaDataArray().first()->setSectionItem(nullptr);
    page->titleDataArray().append(nullptr);
    sectionless->mediaDataArray().append(nullptr);
    services->media->addDvdPageToArray(nullptr);
    rebuild();

    ASSERT_TRUE(empty->menuItem());
    EXPECT_FALSE(empty->menuItem()->hasSubPage());
    const auto item = sectionless->mediaDataArray().first()->menuItem();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->titleVideoImageTime(), DVDPageItem().titleVideoImageTime());
    EXPECT_EQ(disc().pageArray().size(), 2);
    EXPECT_EQ(page->menuPage()->itemArray(),
              (DVDPage::ItemList{empty->menuItem(), sectionless->menuItem()}));
}

TEST_F(DiscSideRebuildTest, NothingHappensWithoutAProject)
{
    DiscSideRebuild none(nullptr, nullptr);
    none.flushDVDResourceBeforeEdit();
    none.updatePreNextButtonForDVDPageArray();
    EXPECT_EQ(none.getCurrentDVDMenuDuration(), 15.0);
    EXPECT_EQ(none.getANewDVDPage()->menuDuration(), 15.0);
}

}  // namespace
