// Rows dragged on the offscreen list with real mouse events: the drag starts
// at the first move with the button held, shows its picture and the drop
// place, moves the entry at the release, deletes it when released outside
// the list, and never starts from an edit button.
//
// The tree (list coordinates, y down): P0 10, T0 65, A 115, B 190,
// G 265 (S0 340, S1 415, S2 490), T1 565, C 615, P1 690, T2 745, D 795.

#include <QLabel>
#include <QMimeData>
#include <QScrollArea>
#include <QTest>

#include "ListTreeOnScreenTest.h"
#include "TestSupport.h"
#include "common/ViewDraggingItemImp.h"
#include "listedit/DVDPageDataView.h"
#include "listedit/InsertLineView.h"
#include "listedit/MediaDataView.h"
#include "listedit/VideoEditBtnView.h"

using namespace listtest;

namespace {

class ListOwnDragTest : public ListTreeOnScreenTest {
protected:
    void SetUp() override
    {
        ListTreeOnScreenTest::SetUp();
        calls().clear();
    }
    void TearDown() override
    {
        while (QGuiApplication::overrideCursor()) {
            QGuiApplication::restoreOverrideCursor();
        }
        ListEditTest::TearDown();
    }
    static QWidget* row(const MediaData::Ptr& clip)
    {
        return dynamic_cast<QWidget*>(clip->mediaDataView());
    }
    static QWidget* row(const std::shared_ptr<DVDPageData>& page)
    {
        return dynamic_cast<DVDPageDataView*>(page->dvdPageView().get());
    }

    // A mouse event at a point of the list (or a point on the screen),
    // delivered to the widget that holds the press, as Qt's grab does.
    void send(QWidget* receiver, QEvent::Type type, const QPointF& screen, Qt::MouseButton button,
              Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, receiver->mapFromGlobal(screen), screen, button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(receiver, &event);
    }
    QPointF screen(const QPointF& listPoint) const { return list().mapToGlobal(listPoint); }
    void press(QWidget* receiver, const QPointF& listPoint)
    {
        grabber = receiver;
        send(receiver, QEvent::MouseButtonPress, screen(listPoint), Qt::LeftButton, Qt::LeftButton);
    }
    void moveTo(const QPointF& listPoint)
    {
        send(grabber, QEvent::MouseMove, screen(listPoint), Qt::NoButton, Qt::LeftButton);
    }
    void releaseAtScreen(const QPointF& screenPoint)
    {
        send(grabber, QEvent::MouseButtonRelease, screenPoint, Qt::LeftButton, Qt::NoButton);
    }
    void releaseAt(const QPointF& listPoint) { releaseAtScreen(screen(listPoint)); }

    QPointer<QWidget> grabber;
};

TEST_F(ListOwnDragTest, ADragShowsItsPlaceAndMovesTheClipAtTheRelease)
{
    press(row(tree.A), {300, 130});
    EXPECT_EQ(controller->selectedData(), tree.A);
    EXPECT_FALSE(list().isOwnDragging());  // a press alone starts nothing

    moveTo({300, 132});
    ASSERT_TRUE(list().isOwnDragging());
    const auto* data = qobject_cast<const ViewDraggingItemImp*>(list().ownDragData());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->writableTypesForPasteboard(), QStringList{"private.ListDragNoneItemType"});
    EXPECT_TRUE(data->dragItem().toByteArray().isEmpty());
    QLabel* picture = list().dragPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_TRUE(picture->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(picture->size(), row(tree.A)->size());
    // Over its own row the clip shows no outline.
    EXPECT_FALSE(list().lineView()->isVisible());
    EXPECT_EQ(list().insertOrMerge(), 2);

    // Over another clip: the outline around it; the picture follows.
    moveTo({300, 220});
    EXPECT_EQ(list().mergeMedia(), tree.B);
    EXPECT_TRUE(list().lineView()->isVisible());
    EXPECT_EQ(list().lineView()->geometry(), QRect(120, 190, list().width() - 120, 60));
    // It keeps the place where the pointer held the row.
    EXPECT_EQ(picture->pos(), screen({0, 205}).toPoint());
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);

    // In the gap below the last clip of T1, right of x 120: a clip after it.
    moveTo({121, 680});
    const InsertLineView* line = list().lineView();
    EXPECT_EQ(line->lineFrame(), QRectF(120, 682.5, list().width() - 120, 1));
    EXPECT_EQ(line->geometry(), QRect(120, 682, list().width() - 120, 1));
    EXPECT_EQ(list().children().last(), line);  // above the rows
    EXPECT_TRUE(line->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(line->dragType(), 1u);
    QImage shot = list().grab(QRect(0, 560, list().width(), 200)).toImage();
    testsupport::writeArtifact(shot, "list-drag-insert-line.png");
    EXPECT_EQ(shot.pixelColor(400, 122), InsertLineView::lineColor());

    releaseAt({121, 680});
    EXPECT_FALSE(list().isOwnDragging());
    EXPECT_EQ(list().dragPicture(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(tree.T0->mediaDataArray(), (MediaData::ClipList{tree.B, tree.G}));
    ASSERT_EQ(tree.T1->mediaDataArray().size(), 2);
    const auto moved = tree.T1->mediaDataArray().last();
    EXPECT_EQ(moved->name(), tree.C->name().replace("_0", "_1"));
    EXPECT_NE(dynamic_cast<MediaDataView*>(moved->mediaDataView()), nullptr);
    EXPECT_FALSE(line->isVisible());
    EXPECT_EQ(list().insertOrMerge(), 0);
    EXPECT_FALSE(list().isOnlyMove());
    EXPECT_EQ(controller->selectedType(), 0u);
    EXPECT_TRUE(calls().contains("setDocumentEdited:YES"));
}

// A page dragged below the next one keeps being the current page.
TEST_F(ListOwnDragTest, CurrentPageStaysCurrentAfterItsReorder)
{
    press(row(tree.P0), {300, 30});
    ASSERT_EQ(controller->currentDVDPage(), tree.P0);
    moveTo({300, 40});
    moveTo({300, 800});
    EXPECT_EQ(list().lineView()->lineFrame(), QRectF(0, 862.5, list().width(), 1));
    releaseAt({300, 800});
    EXPECT_EQ(project()->dvdPageArray(), (DataResource::PageList{tree.P1, tree.P0}));
    EXPECT_EQ(controller->currentDVDPage(), tree.P0);
}

TEST_F(ListOwnDragTest, ReleaseOutsideTheListDeletes)
{
    const QPointF outside = controller->listScrollView()->mapToGlobal(QPointF(-40, 30));
    press(row(tree.B), {300, 200});
    moveTo({300, 205});
    send(grabber, QEvent::MouseMove, outside, Qt::NoButton, Qt::LeftButton);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BitmapCursor);
    releaseAtScreen(outside);
    EXPECT_EQ(tree.T0->mediaDataArray(), (MediaData::ClipList{tree.A, tree.G}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // The only page gives way to a new empty one.
    project()->setDvdPageArray({tree.P1});
    controller->reloadListTableView();
    press(row(tree.P1), {300, 30});
    moveTo({300, 35});
    send(grabber, QEvent::MouseMove, outside, Qt::NoButton, Qt::LeftButton);
    releaseAtScreen(outside);
    ASSERT_EQ(project()->dvdPageArray().size(), 1);
    const auto page = project()->dvdPageArray().first();
    EXPECT_NE(page, tree.P1);
    EXPECT_TRUE(page->titleDataArray().isEmpty());
    EXPECT_EQ(controller->currentDVDPage(), page);
    ASSERT_NE(row(page), nullptr);
    EXPECT_TRUE(row(page)->isVisible());
}

// A press on an edit button, or a release with no move in between, selects
// and nothing more.
TEST_F(ListOwnDragTest, EditButtonPressesAndClicksNeverDrag)
{
    const QString before = treeText(*project());
    auto* mediaRow = qobject_cast<MediaDataView*>(row(tree.A));
    QWidget* button = mediaRow->videoEditBtnView();
    grabber = button;
    send(button, QEvent::MouseButtonPress, button->mapToGlobal(button->rect().center()),
         Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(controller->selectedData(), tree.A);
    EXPECT_FALSE(list().isClickWndBtn());
    grabber = mediaRow;
    moveTo({300, 400});
    moveTo({300, 680});
    EXPECT_FALSE(list().isOwnDragging());
    EXPECT_EQ(list().dragPicture(), nullptr);
    EXPECT_FALSE(list().lineView()->isVisible());
    releaseAt({300, 680});
    EXPECT_EQ(treeText(*project()), before);

    press(row(tree.D), {300, 800});
    releaseAt({300, 800});
    EXPECT_EQ(controller->selectedData(), tree.D);
    EXPECT_FALSE(list().isOwnDragging());
    EXPECT_FALSE(calls().contains("setDocumentEdited:YES"));

    // A right press on an edit button leaves the next left press free to drag.
    send(button, QEvent::MouseButtonPress, button->mapToGlobal(button->rect().center()),
         Qt::RightButton, Qt::RightButton);
    send(button, QEvent::MouseButtonRelease, button->mapToGlobal(button->rect().center()),
         Qt::RightButton, Qt::NoButton);
    EXPECT_FALSE(list().isClickWndBtn());
    press(row(tree.D), {300, 800});
    moveTo({300, 805});
    EXPECT_TRUE(list().isOwnDragging());
    releaseAt({300, 805});
}

}  // namespace
