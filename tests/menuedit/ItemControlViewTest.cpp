// The floating item bar: shown for one selected item, titled by its type,
// placed beside it through the canvas transform, opening the matching dialog
// beside the item on the main window's screen, and leading into a sub-menu.
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "MenuEditTestFixture.h"
#include "menuedit/core/ItemControlLayout.h"

using namespace menutest;

namespace {

class ItemControlViewTest : public MenuEditorTest {
protected:
    void SetUp() override
    {
        MenuEditorTest::SetUp();
        page = topPage();
        chapterTitle = item(1, {100, 250, 200, 150});
        plainTitle = item(1, {400, 250, 200, 150});
        text = textItem({300, 420, 120, 40});
        text->setHasSubPage(true);  // a text never leads anywhere
        textTitle = item(4, {600, 300, 200, 60});
        play = page->playButtonItem();
        other = item(7, {700, 100, 60, 40});
        page->setItemArray({chapterTitle, plainTitle, text, textTitle, play, other});
        chapters = subPage(page, chapterTitle);
        chapters->setItemArray({item(1, {300, 200, 200, 150})});
        open({page, chapters});
    }

    QRect screen() const { return QGuiApplication::primaryScreen()->geometry(); }

    std::shared_ptr<DVDPage> page;
    std::shared_ptr<DVDPage> chapters;
    std::shared_ptr<DVDPageItem> chapterTitle, plainTitle, text, textTitle, play, other;
};

TEST_F(ItemControlViewTest, OneSelectedItemGetsATitledBarBesideIt)
{
    struct Case {
        std::shared_ptr<DVDPageItem> item;
        const char* title;
        bool gotoOffered;
    } cases[] = {{chapterTitle, "Edit Frame", true}, {plainTitle, "Edit Frame", false},
                 {text, "Edit Text", false},         {textTitle, "Edit Frame", false},
                 {play, "Edit Button", false},       {other, "Edit", false}};
    for (const auto& c : cases) {
        select({c.item});
        processEvents();
        ASSERT_TRUE(bar().isVisible()) << c.title;
        EXPECT_EQ(bar().controlEditBtn()->text(), QString(c.title));
        EXPECT_EQ(controller->controlEditBtn(), bar().controlEditBtn());
        EXPECT_EQ(bar().controlGotoSubMenuEnable(), c.gotoOffered) << c.title;
        EXPECT_EQ(bar().controlMenuBtn()->isVisible(), c.gotoOffered) << c.title;

        // Placed in canvas units, shown through the canvas's transform.
        const QRectF frame = bar().canvasFrame();
        EXPECT_EQ(frame, ItemControlLayout::barFrame(c.item->frame(), controller->menuCanvasRect(),
                                                     c.gotoOffered));
        EXPECT_EQ(bar().geometry(), canvas().viewGeometryFromCanvas(frame));
        // The buttons sit at x 3 and 116 in a wide bar, 4 alone, in bar units.
        const double scale = bar().width() / frame.width();
        const double editX = c.gotoOffered ? 3 : 4;
        EXPECT_NEAR(bar().controlEditBtn()->x(), editX * scale, 1.0) << c.title;
        if (c.gotoOffered) {
            EXPECT_NEAR(bar().controlMenuBtn()->x(), 116 * scale, 1.0);
        }
    }

    // Two items: no bar, and the key says so.
    select({chapterTitle, plainTitle});
    processEvents();
    EXPECT_FALSE(bar().isVisible());
    EXPECT_FALSE(controller->currentItem());
    EXPECT_FALSE(controller->hasSelectedOneItem());
}

TEST_F(ItemControlViewTest, BarGoesAboveAnItemNearTheLowerEdge)
{
    auto low = item(1, {300, 10, 200, 150});
    auto items = page->itemArray();
    items.append(low);
    page->setItemArray(items);
    select({low});
    EXPECT_DOUBLE_EQ(bar().canvasFrame().y(), 165);
    // Above on the screen too: y down.
    EXPECT_LT(bar().geometry().bottom(), canvas().viewRectFromCanvas(low->frame()).top());
}

TEST_F(ItemControlViewTest, GotoShowsTheSubPageAndTheBarGoes)
{
    select({chapterTitle});
    ASSERT_TRUE(bar().controlMenuBtn()->isVisible());
    QTest::mouseClick(bar().controlMenuBtn(), Qt::LeftButton);
    processEvents();
    EXPECT_EQ(controller->currentMenu(), chapters);
    EXPECT_TRUE(canvas().shapeView()->selectedItemArray().isEmpty());
    EXPECT_FALSE(bar().isVisible());
    EXPECT_TRUE(controller->hasLastMenu());
}

TEST_F(ItemControlViewTest, EditOpensTheMatchingDialog)
{
    struct Case {
        std::shared_ptr<DVDPageItem> item;
        QStringList title;
        QStringList button;
    } cases[] = {
        {plainTitle, {"updateWndSettingWhenEditTitleMedia"}, {}},
        {textTitle, {"updateWndSettingWhenEditTitleMedia"}, {}},
        {text, {"showStaticTextEditWindow"}, {}},
        {play, {}, {"updateButtonAttributes"}},
        {other, {}, {}},
    };
    for (const auto& c : cases) {
        factory->titleText->calls.clear();
        factory->button->calls.clear();
        select({c.item});
        QTest::mouseClick(bar().controlEditBtn(), Qt::LeftButton);
        EXPECT_EQ(factory->titleText->calls, c.title) << c.item->type();
        EXPECT_EQ(factory->button->calls, c.button) << c.item->type();
    }
}

TEST_F(ItemControlViewTest, DialogOpensRightOfTheItemButEndsAtTheScreenEdge)
{
    controller->view()->move(screen().topLeft());
    processEvents();
    QWidget& titleWindow = factory->titleText->widget;
    QWidget& buttonWindow = factory->button->widget;
    QWidget& textWindow = factory->titleText->staticText;
    for (QWidget* window : {&titleWindow, &buttonWindow, &textWindow}) {
        window->resize(300, 200);
        window->move(40, 70);
    }
    auto itemRight = [this](const DVDPageItem& item) {
        const QRectF onCanvas = canvas().viewRectFromCanvas(item.frame());
        return canvas().mapToGlobal(onCanvas.topLeft()).x() + onCanvas.width();
    };
    const int screenRight = screen().x() + screen().width();

    // Far from the edge: 50 points right of the item; y and size kept.
    select({chapterTitle});
    ASSERT_LT(itemRight(*chapterTitle) + 50 + 300, screenRight);
    bar().resetWndFrame();
    EXPECT_EQ(titleWindow.frameGeometry().x(), qRound(itemRight(*chapterTitle) + 50));
    EXPECT_EQ(titleWindow.frameGeometry().y(), 70);
    EXPECT_EQ(titleWindow.size(), QSize(300, 200));

    // Near the edge: the dialog ends at the screen's right edge.
    struct Case {
        std::shared_ptr<DVDPageItem> item;
        QWidget* window;
        void (ItemControlView::*place)();
    } cases[] = {{textTitle, &titleWindow, &ItemControlView::resetWndFrame},
                 {play, &buttonWindow, &ItemControlView::resetWndFrame},
                 {text, &textWindow, &ItemControlView::resetStaticTextWndFrame}};
    play->setFrame({760, 10, 80, 70});
    text->setFrame({700, 420, 120, 40});
    for (const auto& c : cases) {
        select({c.item});
        ASSERT_GT(itemRight(*c.item) + 50 + 300, screenRight);
        (bar().*c.place)();
        EXPECT_EQ(c.window->frameGeometry().x() + c.window->frameGeometry().width(), screenRight)
            << c.item->type();
    }
}

TEST_F(ItemControlViewTest, AResizeDropsTheBarUntilTheNextSelection)
{
    select({plainTitle});
    ASSERT_TRUE(bar().isVisible());
    const QRect before = bar().geometry();
    controller->view()->resize(700, 450);
    processEvents();
    EXPECT_FALSE(bar().isVisible());
    EXPECT_EQ(controller->currentItem(), plainTitle);  // the selection stays

    select({plainTitle});
    EXPECT_TRUE(bar().isVisible());
    EXPECT_LT(bar().width(), before.width());  // a smaller canvas, a smaller bar
    EXPECT_EQ(bar().geometry(), canvas().viewGeometryFromCanvas(bar().canvasFrame()));
}

}  // namespace
