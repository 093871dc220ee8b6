// The title list of the program's own main window in the middle of a row
// drag: the insert line where the clip would go in, and the outline around
// the clip it would merge into, with the row's picture under the pointer.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include "LaunchedShellTest.h"
#include "TestSupport.h"
#include "app/ApplicationParts.h"
#include "listedit/InsertLineView.h"
#include "listedit/ListEditViewController.h"
#include "listedit/ListTableView.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "shell/ControllerFunction.h"

namespace {

class ListDragScreenshotTest : public LaunchedShellTest {
protected:
    // A mouse event at a point of the list, sent to the row that holds the
    // press, with its buttons stated.
    void send(QWidget* row, QEvent::Type type, const QPointF& listPoint, Qt::MouseButton button,
              Qt::MouseButtons buttons)
    {
        const QPointF screen = listEditor()->listTableView()->mapToGlobal(listPoint);
        QMouseEvent event(type, row->mapFromGlobal(screen), screen, button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(row, &event);
    }

    // The window as it shows now, with the drag's picture where it floats.
    QImage shot(QWidget* window) const
    {
        QImage image = window->grab().toImage();
        if (QLabel* picture = listEditor()->listTableView()->dragPicture()) {
            QPainter painter(&image);
            painter.drawPixmap(window->mapFromGlobal(picture->pos()), picture->grab());
        }
        return image;
    }
};

}  // namespace

TEST_F(ListDragScreenshotTest, MainWindowMidDrag)
{
    const QString media = shell->folders.root() + "/media";
    ASSERT_TRUE(QDir().mkpath(media));
    const QStringList clips{media + "/harbour.mp4", media + "/meadow.mp4"};
    for (const QString& clip : clips) {
        ASSERT_TRUE(testsupport::makeTestClip(clip, 1.5));
    }
    listEditor()->setOpenPanel([clips](const MediaOpenPanel::Request&, QWidget*,
                                       MediaOpenPanel::Completion done) { done(clips); });
    listEditor()->addVideoToListAction();
    const auto page = listEditor()->currentDVDPage();
    ASSERT_TRUE(page);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listEditor()->isImporting(); }, 60000));
    ASSERT_EQ(page->titleDataArray().size(), 2);
    const auto first = page->titleDataArray().at(0)->mediaDataArray().first();
    const auto second = page->titleDataArray().at(1)->mediaDataArray().first();

    MainWindowController* controller = shell->controller();
    controller->showWindow();
    QWidget* window = controller->window();
    window->resize(1024, 720);
    QCoreApplication::processEvents();
    ListTableView* list = listEditor()->listTableView();
    const InsertLineView* line = list->lineView();

    // The first clip (row at y 115) pressed and dragged below the second
    // (row at y 240), right of x 120: it would follow that clip.
    auto* row = dynamic_cast<QWidget*>(first->mediaDataView());
    ASSERT_NE(row, nullptr);
    send(row, QEvent::MouseButtonPress, {400, 140}, Qt::LeftButton, Qt::LeftButton);
    send(row, QEvent::MouseMove, {400, 150}, Qt::NoButton, Qt::LeftButton);
    send(row, QEvent::MouseMove, {300, 307}, Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(list->isOwnDragging());
    EXPECT_EQ(line->lineFrame(), QRectF(120, 307.5, list->width() - 120, 1));
    const QImage insert = shot(window);
    testsupport::writeArtifact(insert, "main-window-drag-insert-line.png");
    const QPoint onLine = line->mapTo(window, QPoint(600, 0));
    EXPECT_EQ(window->grab().toImage().pixelColor(onLine), InsertLineView::lineColor());

    // Over the second clip's row: the outline around it.
    send(row, QEvent::MouseMove, {500, 260}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(line->lineFrame(), QRectF(120, 240, list->width() - 120, 60));
    const QImage merge = shot(window);
    testsupport::writeArtifact(merge, "main-window-drag-merge-outline.png");
    const QImage plain = window->grab().toImage();
    for (const QPoint& edge : {QPoint(0, 30), QPoint(400, 0), QPoint(400, 59)}) {
        EXPECT_EQ(plain.pixelColor(line->mapTo(window, edge)), InsertLineView::lineColor());
    }

    // Let go over its own row: a merge into itself changes nothing.
    send(row, QEvent::MouseMove, {500, 140}, Qt::NoButton, Qt::LeftButton);
    send(row, QEvent::MouseButtonRelease, {500, 140}, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(list->isOwnDragging());
    EXPECT_EQ(page->titleDataArray().at(0)->mediaDataArray(), MediaData::ClipList{first});
    EXPECT_EQ(page->titleDataArray().at(1)->mediaDataArray(), MediaData::ClipList{second});
}
