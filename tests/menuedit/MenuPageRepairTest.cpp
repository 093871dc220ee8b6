// The page repairs a reload runs: default frames, spreading stacked titles
// and the pictures of titles that lead to a chapter sub-menu.
#include "MenuEditTestFixture.h"
#include "menuedit/core/MenuPageLayout.h"
#include "menuedit/core/MenuPageRepair.h"

using namespace menutest;

namespace {

class MenuPageRepairTest : public MenuEditorTest {};

TEST_F(MenuPageRepairTest, ZeroFrameTitlesTakeTheFreePlacesInOrder)
{
    auto page = topPage();
    const QRectF kept(10, 10, 120, 90);
    auto text = textItem(QRectF());
    auto play = page->playButtonItem();
    auto first = item(1, QRectF());
    auto second = item(1, QRectF());
    auto placed = item(1, kept);
    page->setItemArray({text, play, first, second, placed});
    open({page});

    // The text and the button before them take no place.
    const QList<QRectF> places = MenuPageLayout::titlePlaces(disc().menuCanvasSize());
    EXPECT_EQ(first->frame(), places.at(0));
    EXPECT_EQ(first->lastTimeTitleFrame(), first->frame());
    EXPECT_EQ(second->frame(), places.at(1));
    EXPECT_EQ(second->lastTimeTitleFrame(), second->frame());
    EXPECT_EQ(placed->frame(), kept);
    EXPECT_EQ(placed->lastTimeTitleFrame(), QRectF());
    // Only title pictures get a frame.
    EXPECT_EQ(text->frame(), QRectF());
}

TEST_F(MenuPageRepairTest, StackedTitlesStepApartPartlyOverlappingStay)
{
    auto page = topPage();
    const QRectF stack(100, 200, 200, 150);
    auto a = item(1, stack);
    auto b = item(1, stack);
    auto c = item(1, stack);
    // Half over the stack: not stacked.
    const QRectF partly(450, 200, 200, 150);
    auto d = item(1, partly);
    auto e = item(1, partly.translated(100, 0));
    // A text on a title is never looked at.
    auto text = textItem(stack);
    page->setItemArray({a, b, c, d, e, text});
    open({page});

    // In page order: a lies on b and steps once; b then lies on a's new
    // frame as well as on c and steps twice; c lies on nothing any more.
    EXPECT_EQ(a->frame(), stack.translated(16, -10));
    EXPECT_EQ(b->frame(), stack.translated(32, -20));
    EXPECT_EQ(c->frame(), stack);
    EXPECT_EQ(a->lastTimeTitleFrame(), a->frame());
    EXPECT_EQ(b->lastTimeTitleFrame(), b->frame());
    EXPECT_EQ(d->frame(), partly);
    EXPECT_EQ(e->frame(), partly.translated(100, 0));
    EXPECT_EQ(text->frame(), stack);
    for (const auto& title : {a, b, c, d, e}) {
        EXPECT_FALSE(MenuPageRepair::isItemOverlapOtherItem(*title, *page));
    }
}

TEST_F(MenuPageRepairTest, SpreadingStopsAfterFiftySteps)
{
    auto page = topPage();
    // A small title inside a large one: each step moves it 16 right, and it
    // would leave the large one only at step 51 (x 816 + 15 > 820).
    auto small = item(1, QRectF(0, 460, 20, 20));
    auto large = item(1, QRectF(0, 0, 820, 480));
    page->setItemArray({small, large});
    open({page});

    EXPECT_DOUBLE_EQ(small->frame().x(), 16.0 * 50);
    EXPECT_DOUBLE_EQ(small->frame().y(), 0);  // clamped at the lower edge on the way
    EXPECT_TRUE(MenuPageRepair::isItemOverlapOtherItem(*small, *page));
    EXPECT_EQ(large->frame(), QRectF(0, 0, 820, 480));
}

TEST_F(MenuPageRepairTest, SubMenuPictureComesFromTheFirstChapterWithAClip)
{
    auto page = topPage();
    auto withChapters = item(1, {50, 200, 200, 150});
    auto textTitle = item(4, {300, 200, 200, 150});
    auto noClips = item(1, {550, 200, 200, 150});
    page->setItemArray({withChapters, textTitle, noClips});

    auto chapters = subPage(page, withChapters);
    auto empty = item(1, {0, 0, 100, 75});
    auto green = item(1, {100, 0, 100, 75});
    green->setMedia(clip(Qt::green));
    auto red = item(4, {200, 0, 100, 75});
    red->setMedia(clip(Qt::red));
    auto decoration = textItem({0, 300, 50, 20});
    chapters->setItemArray({decoration, empty, green, red});

    auto textChapters = subPage(page, textTitle);
    auto blue = item(4, {0, 0, 100, 75});
    blue->setMedia(clip(Qt::blue));
    textChapters->setItemArray({blue});

    auto bare = subPage(page, noClips);
    bare->setItemArray({item(1, {0, 0, 100, 75})});
    noClips->setMenuStaticImage(disctest::solid(4, 4, Qt::yellow));

    open({page, chapters, textChapters, bare});

    EXPECT_EQ(withChapters->menuStaticImage().pixelColor(1, 1), QColor(Qt::green));
    EXPECT_EQ(textTitle->menuStaticImage().pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_TRUE(noClips->menuStaticImage().isNull());
}

}  // namespace
