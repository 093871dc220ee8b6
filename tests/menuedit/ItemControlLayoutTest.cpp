// The item bar's rules: its titles, its go-to button, its place beside the
// item and the place of a dialog on the screen.
#include <gtest/gtest.h>

#include "menuedit/core/ItemControlLayout.h"
#include "model/DVDPageItem.h"

namespace {

const QRectF canvas(0, 0, 854, 480);

TEST(ItemControlLayout, EditTitleByType)
{
    struct Case {
        qint64 type;
        const char* title;
    } cases[] = {{1, "Edit Frame"},   {4, "Edit Frame"},   {2, "Edit Text"},
                 {11, "Edit Button"}, {12, "Edit Button"}, {13, "Edit Button"},
                 {0, "Edit"},         {3, "Edit"},         {14, "Edit"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ItemControlLayout::controlEditTitle(c.type), QString(c.title)) << c.type;
    }
}

TEST(ItemControlLayout, GotoSubMenuOnlyForItemsWithASubPage)
{
    DVDPageItem item;
    EXPECT_FALSE(ItemControlLayout::controlGotoSubMenuEnable(nullptr));
    EXPECT_FALSE(ItemControlLayout::controlGotoSubMenuEnable(&item));
    item.setHasSubPage(true);
    EXPECT_TRUE(ItemControlLayout::controlGotoSubMenuEnable(&item));
    item.setType(4);
    EXPECT_TRUE(ItemControlLayout::controlGotoSubMenuEnable(&item));
    // A static text never offers it, whatever its flag says.
    item.setType(2);
    EXPECT_FALSE(ItemControlLayout::controlGotoSubMenuEnable(&item));
}

TEST(ItemControlLayout, ButtonsSitAtTheirPlaces)
{
    EXPECT_EQ(ItemControlLayout::barSize(true), QSizeF(257, 40));
    EXPECT_EQ(ItemControlLayout::barSize(false), QSizeF(117, 40));
    EXPECT_DOUBLE_EQ(ItemControlLayout::editButtonFrame(true).x(), 3);
    EXPECT_DOUBLE_EQ(ItemControlLayout::gotoButtonFrame().x(), 116);
    EXPECT_DOUBLE_EQ(ItemControlLayout::editButtonFrame(false).x(), 4);
    // Each button inside its bar.
    EXPECT_LE(ItemControlLayout::editButtonFrame(false).right(), 117);
    EXPECT_LE(ItemControlLayout::editButtonFrame(true).right(), 116);
    EXPECT_LE(ItemControlLayout::gotoButtonFrame().right(), 257);
}

TEST(ItemControlLayout, BarBelowAboveOrBelowAndClamped)
{
    struct Case {
        const char* what;
        QRectF item;
        bool offered;
        QRectF expected;
    } cases[] = {
        // Centre (400, 200 - 75 - 20 - 5 = 100).
        {"below by default", {300, 125, 200, 150}, true, {271.5, 80, 257, 40}},
        {"narrow without the go-to button", {300, 125, 200, 150}, false, {341.5, 80, 117, 40}},
        // Below would reach y -25: above, 5 units over the item's top (170).
        {"above near the lower edge", {300, 20, 200, 150}, true, {271.5, 175, 257, 40}},
        // As tall as the canvas: neither fits, below clamped into the canvas.
        {"below and clamped", {300, 0, 200, 480}, true, {271.5, 0, 257, 40}},
        // Sideways the canvas counts 200 wider, and the clamp pulls the bar in.
        {"at the right edge", {754, 200, 100, 50}, true, {597, 155, 257, 40}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ItemControlLayout::barFrame(c.item, canvas, c.offered), c.expected) << c.what;
    }
}

TEST(ItemControlLayout, DialogEndsAtTheScreensRightEdgeAtTheLatest)
{
    struct Case {
        double itemRight;
        double screenRight;
        double width;
        float expected;
    } cases[] = {
        {300, 1280, 400, 350},
        {900, 1280, 400, 880},
        {1270, 1280, 400, 880},
        // A second screen to the right of the first.
        {1500, 2560, 400, 1550},
        {2500, 2560, 400, 2160},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(ItemControlLayout::dialogX(c.itemRight, c.screenRight, c.width),
                        c.expected);
    }
}

}  // namespace
