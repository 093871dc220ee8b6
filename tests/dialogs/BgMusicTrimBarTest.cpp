// The page music trim bar: handle gaps, hit types, seeking and scrubbing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "PageDialogFixture.h"
#include "dialogs/BgMusicProgressView.h"
#include "dialogs/core/BgMusicTrimGeometry.h"
#include "model/MusicData.h"

using pagedialogs::ticks;

namespace {

// Bounds whose content is 400 wide from x = 10, middle line at y = 20.
const QRectF kBounds(0, 0, 420, 40);

TEST(BgMusicTrimGeometry, HandlesStayOneSecondApart)
{
    const BgMusicTrimGeometry bar(kBounds, ticks(100), ticks(20), ticks(30));
    EXPECT_FLOAT_EQ(bar.minimumGap(), 4.0f);
    const float startX = bar.mapping().timeToPoint(ticks(20));
    const float endX = bar.mapping().timeToPoint(ticks(30));
    // The left handle dragged far right stops 4 points before the right one.
    const qint64 start = bar.handleStep(1, 100, 400, startX, endX);
    EXPECT_NEAR(bar.mapping().timeToPoint(start), endX - 4.0f, 0.01);
    // The right handle dragged far left stops 4 points after the left one.
    const qint64 stop = bar.handleStep(2, 100, -400, startX, endX);
    EXPECT_NEAR(bar.mapping().timeToPoint(stop), startX + 4.0f, 0.01);
    // Beyond the ends the handles stop at 0 and at the duration.
    EXPECT_EQ(bar.handleStep(1, 100, -900, startX, endX), 0);
    EXPECT_EQ(bar.handleStep(2, 100, 900, startX, endX), ticks(100));
}

TEST(BgMusicTrimGeometry, MusicUnderOneSecondKeepsBothHandles)
{
    const qint64 d = ticks(0.8);
    const BgMusicTrimGeometry bar(kBounds, d, 0, d);
    EXPECT_FLOAT_EQ(bar.minimumGap(), 400.0f);
    const float startX = bar.mapping().timeToPoint(0);
    const float endX = bar.mapping().timeToPoint(d);
    for (double dx : {-50.0, 30.0, 200.0}) {
        EXPECT_EQ(bar.handleStep(1, 200, 200 + dx, startX, endX), 0) << dx;
        EXPECT_EQ(bar.handleStep(2, 200, 200 + dx, startX, endX), d) << dx;
    }
}

TEST(BgMusicTrimGeometry, DragTypesAndSeekTimes)
{
    const BgMusicTrimGeometry bar(kBounds, ticks(100), ticks(50), ticks(60));
    struct Case {
        QPointF point;
        int type;
    };
    const QRectF left = bar.leftTrimIconRect();
    const QRectF right = bar.rightTrimIconRect();
    const Case cases[] = {
        {left.center(), 1},    {right.center(), 2},     {QPointF(5, 20), 3},
        {QPointF(415, 20), 3}, {QPointF(4.5, 20), 4},   {QPointF(415.5, 20), 4},
        {QPointF(200, 13), 3}, {QPointF(200, 12.5), 4}, {QPointF(200, 27), 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bar.dragTypeAtPoint(c.point), c.type) << c.point.x() << "," << c.point.y();
    }
    EXPECT_EQ(bar.seekTimeAt(5), 0);
    EXPECT_EQ(bar.seekTimeAt(415), ticks(100));
    EXPECT_EQ(bar.seekTimeAt(210), ticks(50));
}

TEST(BgMusicProgressView, PressOnTheBarSeeksAndADragBesideItScrubs)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("tone.mp4");
    ASSERT_TRUE(testsupport::makeTestClip(path, 4.0));
    const auto music = MusicData::musicDataWithPath(path);
    ASSERT_TRUE(music);
    const auto item = music->vcmovie();
    const qint64 full = item->movie()->duration();
    item->setTrimStart(0);
    item->setTrimStop(full);
    BgMusicProgressView view;
    view.resize(420, 40);
    view.setTrimItem(item);
    QSignalSpy seeks(&view, &BgMusicProgressView::seekRequested);
    const auto x = [&](qint64 t) { return view.geometryNow().mapping().timeToPoint(t); };

    // A press on the bar seeks at once.
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(int(x(full / 2)), 20));
    ASSERT_EQ(seeks.count(), 1);
    EXPECT_NEAR(seeks.last().at(0).toLongLong(), full / 2, ticks(0.02));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(int(x(full / 2)), 20));

    // A press beside the bar seeks only when dragged.
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(200, 36));
    EXPECT_EQ(seeks.count(), 1);
    QMouseEvent drag(QEvent::MouseMove, QPointF(x(full / 4), 36),
                     view.mapToGlobal(QPointF(x(full / 4), 36)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&view, &drag);
    ASSERT_EQ(seeks.count(), 2);
    EXPECT_NEAR(seeks.last().at(0).toLongLong(), full / 4, ticks(0.02));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(int(x(full / 4)), 36));

    // Dragging the end handle moves the stop and the playhead with it.
    const QPointF handle = view.geometryNow().rightTrimIconRect().center();
    QTest::mousePress(&view, Qt::LeftButton, {}, handle.toPoint());
    const QPointF to(handle.x() - 100, handle.y());
    QMouseEvent pull(QEvent::MouseMove, to, view.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&view, &pull);
    EXPECT_EQ(item->trimStart(), 0);
    EXPECT_NEAR(item->trimStop(), full - ticks(1.0), ticks(0.02));
    EXPECT_EQ(view.currentTime(), item->trimStop());
    EXPECT_EQ(seeks.last().at(0).toLongLong(), item->trimStop());
}

TEST(BgMusicProgressView, WithoutMusicAPressDoesNothing)
{
    BgMusicProgressView view;
    view.resize(420, 40);
    QSignalSpy seeks(&view, &BgMusicProgressView::seekRequested);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(200, 20));
    EXPECT_EQ(seeks.count(), 0);
    EXPECT_EQ(view.duration(), 100);
    EXPECT_EQ(view.currentTime(), 0);
}

}  // namespace
