// The template tiles and their grid: the grid's columns, gaps and rows, the
// picture's place in a tile, the highlight of the item's template, and which
// clicks act.

#include <QScrollArea>
#include <QTest>

#include "DialogTestFixture.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "dialogs/SingleButtonView.h"
#include "dialogs/SingleFrameView.h"
#include "dialogs/TemplateTileGrid.h"

namespace {

using dialogtest::DialogTest;

TEST(TemplateTileGrid, ColumnsGapsAndRows)
{
    struct Case {
        double width;
        int tiles;
        int columns;
        double gap;
        int rows;
    };
    const Case cases[] = {
        {290, 7, 3, 5.0, 3}, {385, 7, 4, 5.0, 2},
        {300, 3, 3, 7.5, 1}, {60, 2, 1, -15.0, 2},  // narrower than a tile: still one column
        {0, 1, 1, -45.0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TemplateTileGrid::numberOfColumns(c.width), c.columns) << c.width;
        EXPECT_DOUBLE_EQ(TemplateTileGrid::horizontalGap(c.width), c.gap) << c.width;
        EXPECT_EQ(TemplateTileGrid::numberOfRows(c.width, c.tiles), c.rows) << c.width;
    }
    // Tile 4 of a 290-wide grid: second row, second column.
    EXPECT_EQ(TemplateTileGrid::grid(290).fromTop(4), QRectF(100, 100, 90, 90));
    EXPECT_DOUBLE_EQ(TemplateTileGrid::containerHeight(290, 7, 100), 3 * 90 + 4 * 5);
    EXPECT_DOUBLE_EQ(TemplateTileGrid::containerHeight(290, 2, 400), 400);
}

TEST(TemplateTileView, PictureIsFittedIntoTheInsetRectangle)
{
    const QRectF bounds(0, 0, 90, 90);
    const QRectF wide = TemplateTileView::pictureRect(QSizeF(140, 35), bounds);
    EXPECT_DOUBLE_EQ(wide.width(), 70);
    EXPECT_DOUBLE_EQ(wide.height(), 17.5);
    EXPECT_DOUBLE_EQ(wide.center().y(), 45);
    const QRectF small = TemplateTileView::pictureRect(QSizeF(10, 20), bounds);
    EXPECT_NEAR(small.height(), 70, 1e-4);
    EXPECT_NEAR(small.width(), 35, 1e-4);
    EXPECT_EQ(TemplateTileView::highlightRect(bounds), QRectF(3, 3, 84, 84));
}

class TemplateTilesTest : public DialogTest {
protected:
    // Whether the tile shows the yellow highlight: its stroke runs along
    // the inset rectangle's left edge.
    static bool highlighted(QWidget& tile)
    {
        const QImage picture = tile.grab().toImage();
        const QColor edge = picture.pixelColor(3, 45);
        return edge.red() > 200 && edge.green() > 200 && edge.blue() < 80;
    }
};

TEST_F(TemplateTilesTest, ClickingAFrameTileMovesTheHighlight)
{
    auto title = item(1, QRectF(100, 100, 200, 150));
    openPage({title});
    select({title});
    titleDialog().updateWndSettingWhenEditTitleMedia();
    const auto tiles =
        titleDialog().frameTableView()->findChildren<SingleFrameView*>(Qt::FindDirectChildrenOnly);
    ASSERT_GE(tiles.size(), 2);
    EXPECT_EQ(tiles.size(), services->library->frames().size());

    QTest::mouseClick(tiles[1], Qt::LeftButton);
    EXPECT_TRUE(title->frameResource()->isEqualToResource(tiles[1]->frameSource().get()));
    int lit = 0;
    for (SingleFrameView* tile : tiles) {
        lit += highlighted(*tile) ? 1 : 0;
    }
    EXPECT_EQ(lit, 1);
    EXPECT_TRUE(highlighted(*tiles[1]));
    testsupport::writeArtifact(tiles[1]->grab().toImage(), "frame-tile-chosen.png");
}

TEST_F(TemplateTilesTest, ButtonTilesActOnlyForNavigationButtons)
{
    auto play = item(11, QRectF(600, 40, 80, 40));
    auto title = item(1, QRectF(100, 100, 200, 150));
    openPage({play, title});
    select({play});
    buttonDialog().updateButtonAttributes();
    auto tiles = buttonDialog().buttonTabLeView()->findChildren<SingleButtonView*>(
        Qt::FindDirectChildrenOnly);
    ASSERT_GE(tiles.size(), 2);
    QTest::mouseClick(tiles[1], Qt::LeftButton);
    EXPECT_EQ(play->buttonResource(), tiles[1]->btnSource());

    // An image title in the dialog: its tiles do nothing.
    select({title});
    buttonDialog().updateButtonAttributes();
    EXPECT_FALSE(buttonDialog().isButtonType());
    const auto before = title->buttonResource();
    tiles = buttonDialog().buttonTabLeView()->findChildren<SingleButtonView*>(
        Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(tiles.isEmpty());
    QTest::mouseClick(tiles.last(), Qt::LeftButton);
    EXPECT_EQ(title->buttonResource(), before);
}

}  // namespace
