// The sort sheet on real widgets: thumbnails made under the busy sheet, the
// close box, selection by click, modifier-click and rubber band with real
// mouse events, moves, the Delete key and what the completion block gets.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTest>

#include "../media/SlideshowRenderTestSupport.h"
#include "SlideshowEditTestSupport.h"
#include "media/PhotoItem.h"
#include "slideshow/BusyWindowController.h"
#include "slideshow/ResortableBackView.h"
#include "slideshow/ResortableThumbnailView.h"
#include "slideshow/SortWndCtrl.h"
#include "slideshow/core/ResortableGrid.h"
#include "slideshow/core/UpCoordinates.h"

namespace {

using Photos = ISortWndCtrl::Photos;
using slideshowedit::waitUntil;

class SortSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow.resize(900, 700);
        mainWindow.show();
        for (const QString& path : folder.photos(5)) {
            photos.append(PhotoItem::itemWithPhotoPath(path));
        }
        original = photos;
        sheet.setBlkSortCompleted([this](const Photos& removed) { completions.append(removed); });
    }

    void TearDown() override
    {
        sheet.changeRatio(1.0);  // the zoom is shared by every tile
    }

    void open()
    {
        ASSERT_TRUE(sheet.beginResortingItems(photos));
        ASSERT_TRUE(waitUntil([this] { return sheet.isReady(); }));
        ASSERT_TRUE(waitUntil([] {
            return !BusyWindowController::sharedBusyWindowController()->window()->isVisible();
        }));
        ASSERT_EQ(sheet.mtAryViews().size(), photos.size());
    }

    ResortableThumbnailView* tile(int i) const { return sheet.mtAryViews()[i]; }
    QList<bool> selection() const
    {
        QList<bool> selected;
        for (auto* t : sheet.mtAryViews()) {
            selected.append(t->bIsChoosen());
        }
        return selected;
    }

    // A mouse event at a Qt point of a widget.
    static void mouse(QWidget* widget, QEvent::Type type, const QPointF& at,
                      Qt::KeyboardModifiers modifiers = {})
    {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, widget->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          modifiers);
        QApplication::sendEvent(widget, &event);
    }
    static void click(QWidget* widget, const QPointF& at, Qt::KeyboardModifiers modifiers = {})
    {
        mouse(widget, QEvent::MouseButtonPress, at, modifiers);
        mouse(widget, QEvent::MouseButtonRelease, at, modifiers);
    }
    static QPointF middle(QWidget* widget) { return QRectF(widget->rect()).center(); }

    QWidget mainWindow;
    slideshowtest::PhotoFolder folder;
    Photos photos;
    Photos original;
    QList<Photos> completions;
    SortWndCtrl sheet{&mainWindow};
};

TEST_F(SortSheet, TheCloseBoxShowsOnceTheGridIsReady)
{
    ASSERT_TRUE(sheet.beginResortingItems(photos));
    EXPECT_FALSE(sheet.closeBoxShown());
    EXPECT_FALSE(sheet.windowHasCloseBox());
    ASSERT_TRUE(waitUntil([this] { return sheet.isReady(); }));
    EXPECT_TRUE(sheet.closeBoxShown());
    EXPECT_TRUE(sheet.windowHasCloseBox());
    for (int i = 0; i < 5; ++i) {
        // Made for 160 × 120 (the photo's stored thumbnail, fitted).
        EXPECT_NEAR(tile(i)->imgThumb().width(), 160, 1) << i;
        EXPECT_EQ(tile(i)->imgThumb().height(), 120) << i;
    }
    // The close box ends the sort like Done.
    sheet.window()->reject();
    EXPECT_FALSE(sheet.window()->isVisible());
    ASSERT_EQ(completions.size(), 1);
    EXPECT_TRUE(completions[0].isEmpty());
    EXPECT_EQ(photos, original);
    EXPECT_FALSE(sheet.bDidChange());
}

TEST_F(SortSheet, AnEmptyListIsReadyAtOnce)
{
    Photos none;
    ASSERT_TRUE(sheet.beginResortingItems(none));
    EXPECT_TRUE(sheet.closeBoxShown());
    EXPECT_TRUE(sheet.isReady());
    sheet.window()->reject();
    EXPECT_EQ(completions.size(), 1);
}

TEST_F(SortSheet, AListWithAMissingPhotoShowsNothing)
{
    Photos holed{photos[0], nullptr};
    EXPECT_FALSE(sheet.beginResortingItems(holed));
    EXPECT_FALSE(sheet.window()->isVisible());
    EXPECT_FALSE(sheet.bDidChange());
    EXPECT_TRUE(completions.isEmpty());
}

TEST_F(SortSheet, ClicksSelectAndModifierClicksToggle)
{
    open();
    click(tile(1), middle(tile(1)));
    EXPECT_EQ(selection(), QList<bool>({false, true, false, false, false}));
    click(tile(3), middle(tile(3)), Qt::ControlModifier);
    EXPECT_EQ(selection(), QList<bool>({false, true, false, true, false}));
    click(tile(2), middle(tile(2)));
    EXPECT_EQ(selection(), QList<bool>({false, false, true, false, false}));
    click(tile(2), {1, 1});  // beside the picture: unselected
    EXPECT_EQ(selection(), QList<bool>({false, false, false, false, false}));
}

TEST_F(SortSheet, AModifierClickOnASelectedTileUnselectsItAndStartsNoDrag)
{
    open();
    int drags = 0;
    for (auto* t : sheet.mtAryViews()) {
        QObject::connect(t, &ResortableThumbnailView::dragStarted, [&drags] { ++drags; });
    }
    click(tile(1), middle(tile(1)));
    ASSERT_TRUE(tile(1)->bIsChoosen());
    mouse(tile(1), QEvent::MouseButtonPress, middle(tile(1)), Qt::ControlModifier);
    mouse(tile(1), QEvent::MouseMove, middle(tile(1)) + QPointF(30, 10), Qt::ControlModifier);
    mouse(tile(1), QEvent::MouseButtonRelease, middle(tile(1)) + QPointF(30, 10),
          Qt::ControlModifier);
    EXPECT_FALSE(tile(1)->bIsChoosen());
    EXPECT_EQ(drags, 0);
    // Pressed without a modifier, the selected tile drags the selection.
    mouse(tile(1), QEvent::MouseButtonPress, middle(tile(1)));
    mouse(tile(1), QEvent::MouseMove, middle(tile(1)) + QPointF(30, 10));
    mouse(tile(1), QEvent::MouseButtonRelease, middle(tile(1)) + QPointF(30, 10));
    EXPECT_EQ(drags, 1);
}

TEST_F(SortSheet, AShiftRubberBandAppendsAPlainOneReplaces)
{
    open();
    ResortableBackView* grid = sheet.vBackView();
    const auto onGrid = [grid](ResortableThumbnailView* t, QPointF offset) {
        return QPointF(t->pos()) + offset;
    };
    click(tile(0), middle(tile(0)));
    // From the gap above-left of tile 3 into tile 4.
    const QPointF from = onGrid(tile(3), {-3, -3});
    const QPointF to = onGrid(tile(4), {40, 40});
    mouse(grid, QEvent::MouseButtonPress, from, Qt::ShiftModifier);
    mouse(grid, QEvent::MouseMove, to, Qt::ShiftModifier);
    EXPECT_FALSE(grid->rctChoosenFrame().isEmpty());
    mouse(grid, QEvent::MouseButtonRelease, to, Qt::ShiftModifier);
    EXPECT_TRUE(grid->rctChoosenFrame().isNull());
    EXPECT_EQ(selection(), QList<bool>({true, false, false, true, true}));

    // Without a modifier the press unselects all; the band selects what it touches.
    mouse(grid, QEvent::MouseButtonPress, onGrid(tile(1), {-3, -3}));
    mouse(grid, QEvent::MouseMove, onGrid(tile(1), {40, 40}));
    mouse(grid, QEvent::MouseButtonRelease, onGrid(tile(1), {40, 40}));
    EXPECT_EQ(selection(), QList<bool>({false, true, false, false, false}));
}

TEST_F(SortSheet, DroppingTheSelectionMovesItOnTheCallersList)
{
    open();
    click(tile(1), middle(tile(1)));
    click(tile(3), middle(tile(3)), Qt::ControlModifier);
    ResortableBackView* grid = sheet.vBackView();
    const QList<ResortableThumbnailView*> tiles = sheet.mtAryViews();
    QList<QRectF> frames;
    for (auto* t : tiles) {
        frames.append(t->frameUp());
    }
    // Past the last tile of the last row.
    const QRectF last = tile(4)->frameUp();
    grid->draggingUpdated({last.right() + 30, last.center().y()});
    EXPECT_EQ(grid->iInsertIndex(), 5);
    ASSERT_TRUE(grid->bzthInsertLine());
    grid->performDragOperation();
    grid->draggingEnded();
    EXPECT_FALSE(grid->bzthInsertLine());
    EXPECT_EQ(photos, Photos({original[0], original[2], original[4], original[1], original[3]}));
    // The tiles follow the items, each at the place of its new index.
    EXPECT_EQ(sheet.mtAryViews(),
              QList<ResortableThumbnailView*>({tiles[0], tiles[2], tiles[4], tiles[1], tiles[3]}));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tile(i)->frameUp(), frames[i]) << i;
    }
    EXPECT_TRUE(sheet.bDidChange());
    // To the front.
    grid->draggingUpdated({frames[0].x(), frames[0].center().y()});
    EXPECT_EQ(grid->iInsertIndex(), 0);
    grid->performDragOperation();
    EXPECT_EQ(photos, Photos({original[1], original[3], original[0], original[2], original[4]}));
    sheet.btnDone()->click();
    ASSERT_EQ(completions.size(), 1);
    EXPECT_TRUE(completions[0].isEmpty());
}

TEST_F(SortSheet, DeleteRemovesTheSelectionIntoTheCompletion)
{
    open();
    ResortableBackView* grid = sheet.vBackView();
    // Nothing selected: nothing removed, yet a change is reported.
    click(grid, {2, 2});
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(photos.size(), 5);
    EXPECT_TRUE(sheet.bDidChange());

    click(tile(2), middle(tile(2)));
    QTest::keyClick(tile(2), Qt::Key_Delete);
    EXPECT_EQ(photos, Photos({original[0], original[1], original[3], original[4]}));
    EXPECT_EQ(grid->iItemsCount(), 4);
    // Then everything, with a band over the whole grid.
    mouse(grid, QEvent::MouseButtonPress, {1, 1});
    mouse(grid, QEvent::MouseMove, QPointF(grid->width() - 1, grid->height() - 1));
    mouse(grid, QEvent::MouseButtonRelease, QPointF(grid->width() - 1, grid->height() - 1));
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_TRUE(photos.isEmpty());
    EXPECT_TRUE(sheet.mtAryViews().isEmpty());
    sheet.btnDone()->click();
    ASSERT_EQ(completions.size(), 1);
    EXPECT_EQ(completions[0],
              Photos({original[2], original[0], original[1], original[3], original[4]}));
}

TEST_F(SortSheet, ZoomingReflowsTheGrid)
{
    open();
    sheet.changeRatio(2.0);
    EXPECT_EQ(tile(0)->size(), QSize(250, 190));
    EXPECT_EQ(tile(0)->frameUp().x(), 20);
    const int columns = ResortableGrid::columns(sheet.scvBackView()->viewport()->width(), 2.0);
    if (columns > 1) {
        EXPECT_EQ(tile(1)->frameUp().x() - tile(0)->frameUp().right(), 20);
    }
    // Narrower than a tile: one column.
    sheet.window()->setMinimumSize(0, 0);
    sheet.window()->resize(200, 400);
    ASSERT_TRUE(waitUntil([this] { return sheet.scvBackView()->viewport()->width() < 250; }));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tile(i)->frameUp().x(), 20) << i;
    }
}

}  // namespace
