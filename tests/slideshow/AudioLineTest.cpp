// The slideshow music window: its layout arithmetic, the trim bar under real
// mouse events, rows playing through the one preview player, file drops and
// row drags with real drag and drop events, Delete, reloads and closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "TestSupport.h"
#include "media/MediaItem.h"
#include "media/MoviePlayer.h"
#include "media/VCMovie.h"
#include "slideshow/AudioEditItemView.h"
#include "slideshow/AudioEditView.h"
#include "slideshow/AudioLineCtrl.h"
#include "slideshow/EditPlayerProgressView.h"
#include "slideshow/core/AudioLineLayout.h"

namespace {

constexpr qint64 Second = MediaItem::TimeBase;

std::shared_ptr<MediaItem> named(const QString& name)
{
    return MediaItem::mediaItemWithPath("/m/" + name);
}

QStringList names(const AudioLineLayout::Items& items)
{
    QStringList result;
    for (const auto& item : items) {
        result << item->name();
    }
    return result;
}

QString tone(const QString& folder, const QString& name, double seconds)
{
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(testsupport::generateMedia(
        path, {"-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
               "-ac", "2"}));
    return path;
}

void dropFiles(AudioEditView* strip, const QStringList& paths, const QPoint& at)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    data.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_TRUE(strip->dragItem());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &drop);
    EXPECT_FALSE(strip->dragItem());
}

// A line over real tones, shown offscreen.
struct Line {
    QTemporaryDir dir = testsupport::makeTempDir();
    AudioLineCtrl line;
    AudioLineLayout::Items items;

    explicit Line(int count)
    {
        for (int i = 0; i < count; ++i) {
            items << MediaItem::itemWithPath(tone(dir.path(), QStringLiteral("t%1.wav").arg(i), 3));
        }
        line.window()->show();
        line.loadViewWithItems(items);
    }
    AudioEditView* strip() const { return line.audioEditView(); }
    AudioEditItemView* row(int i) const { return strip()->rows().value(i); }
};

}  // namespace

TEST(AudioLineLayoutTest, InsertPositionsRowsAndMarker)
{
    EXPECT_EQ(AudioLineLayout::insertPosition(10, 3), 0);
    EXPECT_EQ(AudioLineLayout::insertPosition(10 + 348 * 1.4, 3), 1);
    EXPECT_EQ(AudioLineLayout::insertPosition(10 + 348 * 1.6, 3), 2);
    EXPECT_EQ(AudioLineLayout::insertPosition(5000, 3), 3);  // capped at the count
    EXPECT_LT(AudioLineLayout::insertPosition(-400, 3), 0);
    EXPECT_EQ(AudioLineLayout::rowRect(2, 170), QRectF(716, 20, 340, 130));
    EXPECT_EQ(AudioLineLayout::markerRect(1, 170), QRectF(355, 30, 6, 110));
    EXPECT_EQ(AudioLineLayout::stripWidth(3, 500), 20 + 348 * 3);
    EXPECT_EQ(AudioLineLayout::stripWidth(1, 500), 500);
}

TEST(AudioLineLayoutTest, InsertsAndMoves)
{
    const AudioLineLayout::Items list{named("a"), named("b"), named("c"), named("d")};
    const AudioLineLayout::Items block{named("x"), named("y")};
    EXPECT_EQ(names(AudioLineLayout::inserted(list, block, 9)),
              QStringList({"a", "b", "c", "d", "x", "y"}));
    EXPECT_EQ(names(AudioLineLayout::inserted(list, block, -1)),
              QStringList({"a", "b", "c", "d", "x", "y"}));
    EXPECT_EQ(names(AudioLineLayout::inserted(list, block, 2)),
              QStringList({"a", "b", "x", "y", "c", "d"}));
    // Row 2 released at 3 (right after itself) stays; at 0 it goes first.
    EXPECT_EQ(AudioLineLayout::moveTarget(2, 3), 2);
    EXPECT_EQ(names(AudioLineLayout::moved(list, 2, AudioLineLayout::moveTarget(2, 3))),
              names(list));
    EXPECT_EQ(names(AudioLineLayout::moved(list, 2, AudioLineLayout::moveTarget(2, 0))),
              QStringList({"c", "a", "b", "d"}));
    EXPECT_EQ(names(AudioLineLayout::moved(list, 2, 7)), names(list));
}

TEST(AudioLineLayoutTest, FadesAndTimes)
{
    EXPECT_EQ(AudioLineLayout::fadeIndex(Second * 26 / 10, 11), 3);
    EXPECT_EQ(AudioLineLayout::fadeIndex(Second * 24 / 10, 11), 2);
    EXPECT_EQ(AudioLineLayout::fadeIndex(40 * Second, 11), 10);
    EXPECT_EQ(AudioLineLayout::fadeIndex(-Second, 11), 0);
    EXPECT_EQ(AudioLineLayout::progressString(0, double(3725 * Second)), "00:00/02:05");
    EXPECT_EQ(AudioLineLayout::progressString(double(Second * 615 / 10), double(90 * Second)),
              "01:02/01:30");
}

TEST(EditPlayerProgressViewTest, HandlesBarAndEmptyCases)
{
    EditPlayerProgressView bar;
    bar.resize(120, 22);
    bar.setDuration(10);
    bar.setTrimLeft(2);
    bar.setTrimRight(6);
    QList<qint64> trims;
    QList<double> seeks;
    bar.onTrimSeek = [&](qint64 t) { trims << t; };
    bar.onSeek = [&](double t) { seeks << t; };
    bar.show();

    // The bar: 100 wide from x 10, 7 high in the middle.
    EXPECT_EQ(bar.progressRect(), QRectF(10, 7.5, 100, 7));
    EXPECT_EQ(bar.timeAtPointX(60), 5);
    EXPECT_EQ(bar.timeAtPointX(500), 10);

    // The right handle dragged left of the left one stops on it.
    const QPoint right = bar.trimButtonRect(false).center().toPoint();
    QTest::mousePress(&bar, Qt::LeftButton, {}, right);
    QTest::mouseMove(&bar, QPoint(15, right.y()));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(15, right.y()));
    EXPECT_EQ(bar.trimRight(), 2);
    EXPECT_EQ(trims.last(), 2);

    // Overlapping handles: the left one wins.
    const QPoint both = bar.trimButtonRect(false).topLeft().toPoint() + QPoint(0, 2);
    EXPECT_EQ(bar.actionAt(both), EditPlayerProgressView::ActionLeft);

    // A click on the bar seeks at release; outside the bar nothing.
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(90, 11));
    ASSERT_EQ(seeks.size(), 1);
    EXPECT_DOUBLE_EQ(seeks.last(), 8);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(90, 1));
    EXPECT_EQ(seeks.size(), 1);

    bar.setDisabled(true);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(50, 11));
    EXPECT_EQ(seeks.size(), 1);

    // Duration 0 and a bar narrower than its insets.
    bar.setDisabled(false);
    bar.setDuration(0);
    EXPECT_EQ(bar.timeAtPointX(80), 0);
    EXPECT_EQ(bar.currentTimeRate(), 0);
    bar.resize(15, 22);
    EXPECT_TRUE(bar.progressRect().isEmpty());
    EXPECT_EQ(bar.actionAt(QPointF(7, 11)), EditPlayerProgressView::ActionNone);
    EXPECT_FALSE(bar.grab().isNull());
}

TEST(AudioLineTest, HandleDragTrimsTheItemAndLoadsItsRow)
{
    Line l(2);
    ASSERT_EQ(l.strip()->rows().size(), 2);
    l.row(0)->audioPreviewButton();
    EXPECT_EQ(l.line.currentPlayView(), l.row(0));

    AudioEditItemView* row = l.row(1);
    EditPlayerProgressView* bar = row->audioTrimView();
    EXPECT_EQ(row->progressText()->text(), "00:00/00:03");
    EXPECT_EQ(row->playButtonImage(), "audio-edit-play");
    const QPoint left = bar->trimButtonRect(true).center().toPoint() + QPoint(2, 0);
    const int to = int(bar->progressRect().x() + bar->progressRect().width() / 3);
    QTest::mousePress(bar, Qt::LeftButton, {}, left);
    QTest::mouseMove(bar, QPoint(to, left.y()));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(to, left.y()));
    EXPECT_NEAR(double(l.items[1]->trimStart()), double(Second), Second * 0.05);
    EXPECT_EQ(l.items[1]->getVcMovie()->trimStart(), l.items[1]->trimStart());
    EXPECT_EQ(l.line.currentPlayView(), row);
    EXPECT_EQ(row->player(), l.line.audioPlayer());
    EXPECT_EQ(l.row(0)->player(), nullptr);
}

TEST(AudioLineTest, PlayAndPreviewSwitchWithoutAPause)
{
    Line l(1);
    AudioEditItemView* row = l.row(0);
    QTest::mouseClick(row->previewButton(), Qt::LeftButton);
    ASSERT_TRUE(row->isButtonPreview());
    EXPECT_EQ(row->previewButtonImage(), "audio-edit-preview-pause");
    QTest::mouseClick(row->playButton(), Qt::LeftButton);
    EXPECT_TRUE(row->isPlayerPlay());
    EXPECT_TRUE(row->isButtonPlay());
    EXPECT_EQ(row->playButtonImage(), "audio-edit-pause");
    QTest::mouseClick(row->previewButton(), Qt::LeftButton);
    EXPECT_TRUE(row->isButtonPreview());
    QTest::mouseClick(row->previewButton(), Qt::LeftButton);
    EXPECT_FALSE(row->isPlayerPlay());
}

TEST(AudioLineTest, FadePopUpsWriteTheItem)
{
    Line l(1);
    l.items[0]->setFadeIn(Second * 26 / 10);
    l.line.loadAudioItemsToView();
    AudioEditItemView* row = l.row(0);
    EXPECT_EQ(row->fadeInButton()->currentIndex(), 3);
    row->fadeOutButton()->setCurrentIndex(4);
    emit row->fadeOutButton()->activated(4);
    EXPECT_EQ(l.items[0]->fadeOut(), 4 * Second);
}

TEST(AudioLineTest, DeletingThePlayingRowStopsThePlayer)
{
    Line l(2);
    AudioEditItemView* row = l.row(1);
    QTest::mouseClick(row->playButton(), Qt::LeftButton);
    ASSERT_TRUE(row->isPlayerPlay());
    QTest::mouseClick(l.strip(), Qt::LeftButton, {}, row->geometry().topLeft() + QPoint(30, 8));
    ASSERT_EQ(l.strip()->selectedAudioItemView(), row);
    QTest::keyClick(l.strip(), Qt::Key_Delete);
    EXPECT_EQ(names(l.line.getAudioItems()), QStringList{"t0"});
    EXPECT_EQ(l.line.audioPlayer()->vcMovie(), nullptr);
    EXPECT_FALSE(l.line.audioPlayer()->isPlay());
    EXPECT_EQ(l.line.currentPlayView(), nullptr);
    EXPECT_EQ(l.strip()->rows().size(), 1);
}

TEST(AudioLineTest, ReloadingTheSameListReusesRowsAndListsAreNew)
{
    Line l(2);
    const auto before = l.strip()->rows();
    const auto list = l.line.getAudioItems();
    l.line.loadViewWithItems(l.items);
    EXPECT_EQ(l.strip()->rows(), before);
    l.line.moveItemAt(1, 0);
    EXPECT_EQ(names(list), QStringList({"t0", "t1"}));  // the old list is untouched
    EXPECT_EQ(names(l.line.getAudioItems()), QStringList({"t1", "t0"}));
    EXPECT_EQ(l.strip()->rows(), QList<AudioEditItemView*>({before[1], before[0]}));
    EXPECT_EQ(l.row(0)->geometry().x(), 20);
    EXPECT_EQ(l.row(1)->geometry().x(), 368);
}

TEST(AudioLineTest, DroppedFilesAreInsertedAsABlockAndRefusalsSkipped)
{
    Line l(2);
    const QString a = tone(l.dir.path(), "a.wav", 1);
    const QString b = tone(l.dir.path(), "b.wav", 1);
    const QString tiny = tone(l.dir.path(), "tiny.wav", 0.2);
    dropFiles(l.strip(), {a, tiny, b}, QPoint(10 + 348 + 5, 60));
    EXPECT_EQ(names(l.line.getAudioItems()), QStringList({"t0", "a", "b", "t1"}));
    dropFiles(l.strip(), {a}, QPoint(10 + 348 * 9, 60));
    EXPECT_EQ(names(l.line.getAudioItems()), QStringList({"t0", "a", "b", "t1", "a"}));
    EXPECT_EQ(l.strip()->rows().size(), 5);
}

TEST(AudioLineTest, RowDragMovesOnlyWhenDroppedOnTheStrip)
{
    Line l(3);
    AudioEditView* strip = l.strip();
    // The drag a desktop would run: over the strip to x, then dropped there
    // (or released elsewhere).
    auto dragTo = [&](int row, std::optional<int> x) {
        strip->execDrag = [&](QDrag* drag) {
            const QPoint at(x.value_or(0), 60);
            QDragEnterEvent enter(at, Qt::MoveAction, drag->mimeData(), Qt::LeftButton, {});
            QApplication::sendEvent(strip, &enter);
            if (!x) {
                QDragLeaveEvent leave;
                QApplication::sendEvent(strip, &leave);
                return Qt::IgnoreAction;
            }
            QDragMoveEvent move(at, Qt::MoveAction, drag->mimeData(), Qt::LeftButton, {});
            QApplication::sendEvent(strip, &move);
            EXPECT_TRUE(strip->dragItem());
            QDropEvent drop(at, Qt::MoveAction, drag->mimeData(), Qt::LeftButton, {});
            QApplication::sendEvent(strip, &drop);
            return Qt::MoveAction;
        };
        const QPoint press = l.row(row)->geometry().topLeft() + QPoint(30, 8);
        QTest::mousePress(strip, Qt::LeftButton, {}, press);
        QTest::mouseMove(strip, press + QPoint(30, 0));
        QTest::mouseRelease(strip, Qt::LeftButton, {}, press + QPoint(30, 0));
        EXPECT_FALSE(strip->dragItem());
    };
    dragTo(2, 10 + 348 * 3);  // right after itself
    EXPECT_EQ(names(l.line.getAudioItems()), QStringList({"t0", "t1", "t2"}));
    dragTo(2, std::nullopt);  // released outside
    EXPECT_EQ(names(l.line.getAudioItems()), QStringList({"t0", "t1", "t2"}));
    dragTo(2, 10);
    EXPECT_EQ(names(l.line.getAudioItems()), QStringList({"t2", "t0", "t1"}));
}

TEST(AudioLineTest, ClosingStopsTheMusicAndAShotIsWritten)
{
    Line l(2);
    l.line.window()->resize(760, 260);
    QTest::mouseClick(l.strip(), Qt::LeftButton, {},
                      l.row(1)->geometry().topLeft() + QPoint(30, 8));
    QTest::mouseClick(l.row(1)->playButton(), Qt::LeftButton);
    l.row(1)->imageDidFlushInPlayer(l.line.audioPlayer());
    ASSERT_TRUE(l.row(1)->isPlayerPlay());
    testsupport::writeArtifact(l.line.window()->grab().toImage(), "music-line.png");
    l.line.window()->grab().save(QDir(l.dir.path()).filePath("shot.png"));
    if (qEnvironmentVariableIsSet("BRISANE_MUSICLINE_SHOT")) {
        l.line.window()->grab().save(qEnvironmentVariable("BRISANE_MUSICLINE_SHOT"));
    }
    QTimer::singleShot(0, l.line.window(), [&] { l.line.window()->close(); });
    l.line.openEditWindow();
    EXPECT_FALSE(l.line.audioPlayer()->isPlay());
    EXPECT_EQ(l.line.currentPlayView(), nullptr);
    EXPECT_EQ(l.line.getAudioItems().size(), 2);
}

// The music window opens no wider than the slideshow editor it belongs to.
TEST(AudioLineTest, TheWindowIsNoWiderThanItsParent)
{
    for (int parentWidth : {664, 1400}) {
        QDialog editor;
        editor.resize(parentWidth, 600);
        editor.show();
        AudioLineCtrl line;
        line.setWndSheetedWindow(&editor);
        int opened = 0;
        QTimer::singleShot(0, line.window(), [&] {
            opened = line.window()->width();
            line.window()->close();
        });
        line.openEditWindow();
        EXPECT_LE(opened, parentWidth);
        EXPECT_GE(opened, std::min(parentWidth, 3 * AudioLineLayout::RowPitch));
    }
}
