// List pages and titles: the tree archived with its back links, and the disc
// side reading it through its roles.

#include "DataResourceTestFixture.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"
#include "model/MenuClip.h"
#include "model/MenuListPage.h"
#include "model/MenuTitle.h"
#include "model/PageRowView.h"

using namespace mediatest;

namespace {

class PageDataTest : public MediaSideTest {};

struct Tree {
    std::shared_ptr<DVDPageData> page;
    std::shared_ptr<DVDTitleData> title;
    MediaData::Ptr first;
    MediaData::Ptr second;
};

Tree makeTree(bool withMenu)
{
    Tree tree;
    tree.page = std::make_shared<DVDPageData>();
    tree.page->setName("Menu Page_1");
    tree.title = std::make_shared<DVDTitleData>();
    tree.title->setName("Title_1");
    tree.title->setSuperPage(tree.page);
    tree.page->titleDataArray().append(tree.title);
    for (auto* clip : {&tree.first, &tree.second}) {
        *clip = std::make_shared<MediaData>();
        (*clip)->flushSuperTitleData(tree.title);
        tree.title->mediaDataArray().append(*clip);
    }
    if (withMenu) {
        auto menu = std::make_shared<DVDPage>();
        menu->setMedia(tree.page);
        tree.page->setMenuPage(menu);
        auto button = std::make_shared<DVDPageItem>();
        button->setMedia(tree.title);
        menu->setItemArray({button});
        tree.title->setMenuItem(button);
        auto chapter = std::make_shared<DVDPageItem>();
        chapter->setMedia(tree.second);
        tree.second->setMenuItem(chapter);
        tree.second->setIsTitle(true);
    }
    return tree;
}

TEST_F(PageDataTest, DecodedBackLinksAreTheDecodedObjects)
{
    const Tree tree = makeTree(true);
    services->media->addDvdPageToArray(tree.page);
    services->disc->setPageArray({tree.page->menuPage()});
    const Project back = unarchiveProject(archiveProject(services->media, services->disc));
    ASSERT_TRUE(back.media && back.disc);
    ASSERT_EQ(back.media->dvdPageArray().size(), 1);
    const auto page = back.media->dvdPageArray().first();
    EXPECT_NE(page, tree.page);
    EXPECT_EQ(page->name(), "Menu Page_1");
    ASSERT_EQ(page->titleDataArray().size(), 1);
    const auto title = page->titleDataArray().first();
    EXPECT_EQ(title->superPage(), page);
    ASSERT_EQ(title->mediaDataArray().size(), 2);
    for (const auto& clip : title->mediaDataArray()) {
        EXPECT_EQ(clip->superTitleData(), title);
    }
    // The two halves meet: the menu page is the disc's page, its element leads
    // to the decoded title, the chapter button to the decoded clip.
    ASSERT_EQ(back.disc->pageArray().size(), 1);
    EXPECT_EQ(page->menuPage(), back.disc->pageArray().first());
    EXPECT_EQ(page->menuPage()->media(), page);
    ASSERT_TRUE(title->menuItem());
    EXPECT_EQ(title->menuItem()->media(), title);
    EXPECT_EQ(title->menuItem()->getMovieMediasForItem().size(), 2);
    const auto chapter = title->mediaDataArray()[1];
    ASSERT_TRUE(chapter->menuItem());
    EXPECT_EQ(chapter->menuItem()->media(), chapter);
    EXPECT_TRUE(chapter->isTitle());
}

TEST_F(PageDataTest, MissingMenuPageAndItemDecodeAsNone)
{
    const Tree tree = makeTree(false);
    services->media->addDvdPageToArray(tree.page);
    const Project back = unarchiveProject(archiveProject(services->media, services->disc));
    ASSERT_TRUE(back.media);
    const auto page = back.media->dvdPageArray().first();
    EXPECT_EQ(page->menuPage(), nullptr);
    EXPECT_EQ(page->titleDataArray().first()->menuItem(), nullptr);
    EXPECT_EQ(page->titleDataArray().first()->mediaDataArray().first()->menuItem(), nullptr);
}

TEST_F(PageDataTest, RolesTheDiscSideReads)
{
    const Tree tree = makeTree(false);
    const std::shared_ptr<Object> page = tree.page;
    const auto listPage = std::dynamic_pointer_cast<MenuListPage>(page);
    ASSERT_TRUE(listPage);
    EXPECT_EQ(listPage->menuTitleCount(), 1);
    const std::shared_ptr<Object> title = tree.title;
    const auto menuTitle = std::dynamic_pointer_cast<MenuTitle>(title);
    ASSERT_TRUE(menuTitle);
    EXPECT_EQ(menuTitle->menuClips(), (QList<std::shared_ptr<MenuClip>>{tree.first, tree.second}));

    // An empty list page is left out of the disc when another page has titles.
    auto empty = std::make_shared<DVDPageData>();
    auto full = std::make_shared<DVDPage>();
    full->setMedia(tree.page);
    auto blank = std::make_shared<DVDPage>();
    blank->setMedia(empty);
    services->disc->setPageArray({blank, full});
    EXPECT_EQ(services->disc->pageArrayForPreview(), (DVDResource::PageList{full}));
}

class RowView : public PageRowView {
public:
    DVDPageData* page = nullptr;
    int forgotten = 0;
    void setPage(DVDPageData* p) override
    {
        page = p;
        forgotten += p ? 0 : 1;
    }
};

TEST(PageDataTeardownTest, PageGoneLeavesItsRowWithoutPage)
{
    auto view = std::make_shared<RowView>();
    {
        auto page = std::make_shared<DVDPageData>();
        view->page = page.get();
        page->setDvdPageView(view);
    }
    EXPECT_EQ(view->page, nullptr);
    EXPECT_EQ(view->forgotten, 1);
}

}  // namespace
