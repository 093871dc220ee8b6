#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <atomic>
#include <mutex>

#include "SlideshowRenderTestSupport.h"
#include "TransitionTestSupport.h"
#include "media/QuillonRenderer.h"
#include "media/RenderController.h"
#include "media/SlideshowRenderController.h"
#include "media/SlideshowRenderer.h"

namespace {

const QString TimeKey = QStringLiteral("Time");
constexpr double Sentinel = -1000.0;

// Marks the index composition's time so that a slot refresh shows as a change.
void markIndexTime(SlideshowRenderController& controller)
{
    controller.oIndexsRenderer()->setValueForInputKey(Value(Sentinel), TimeKey);
}

double indexTime(const SlideshowRenderController& controller)
{
    return controller.oIndexsRenderer()->valueForInputKey(TimeKey).toDouble().value_or(Sentinel);
}

QList<int> loadedSlots(const SlideshowRenderController& controller)
{
    QList<int> loaded;
    for (int i = 0; i < controller.mtAryImageDics().size(); ++i) {
        if (controller.mtAryImageDics()[i].contains("Image")) {
            loaded.append(i);
        }
    }
    return loaded;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < timeoutMs) {
        QThread::msleep(2);
    }
    return condition();
}

class SlideshowRenderControllerTest : public ::testing::Test {
protected:
    slideshowtest::PhotoFolder photos;
    SlideshowRenderController controller;
};

}  // namespace

TEST_F(SlideshowRenderControllerTest, OnePhotoHasTwoPositions)
{
    const auto item = photos.slideshow(1);
    controller.setupWith(item, QSizeF(320, 180), 0.0);
    ASSERT_NE(controller.oSlideshowRenderer(), nullptr);
    ASSERT_NE(controller.oIndexsRenderer(), nullptr);
    EXPECT_EQ(controller.oIndexsRenderer()->valueForInputKey("Count").toInt(), 2);
    EXPECT_EQ(controller.mtAryImageDics().size(), 2);
    EXPECT_EQ(controller.duration(), 10.0);
    EXPECT_FALSE(controller.imageAtTime(1.0).isNull());
}

TEST_F(SlideshowRenderControllerTest, SlotsHoldExactlyThePositionsTheIndexNames)
{
    const auto item = photos.slideshow(6);
    controller.setupWith(item, QSizeF(320, 180), 0.0);
    bool sawPartial = false;
    for (double t : {0.0, 4.9, 7.5, 12.0, 17.5, 22.0, 29.9}) {
        SCOPED_TRACE(t);
        controller.imageAtTime(t, false);
        const auto indexes = controller.oIndexsRenderer()->valueForOutputKey("Indexs").dictionary();
        ASSERT_FALSE(indexes.isEmpty());
        int lo = 1000;
        int hi = 0;
        for (const Value& v : indexes) {
            lo = std::min<int>(lo, static_cast<int>(v.toInt().value_or(-1)));
            hi = std::max<int>(hi, static_cast<int>(v.toInt().value_or(-1)));
        }
        QList<int> expected;
        for (int i = lo; i <= hi; ++i) {
            expected.append(i);
        }
        EXPECT_EQ(loadedSlots(controller), expected);
        sawPartial = sawPartial || expected.size() < 6;
        // The main composition was handed the same slots.
        const auto images = controller.oSlideshowRenderer()->valueForInputKey("Images").array();
        ASSERT_EQ(images.size(), 6);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(images[i].dictionary().contains("Image"), expected.contains(i)) << i;
        }
    }
    EXPECT_TRUE(sawPartial) << "every photo stayed decoded";
}

TEST_F(SlideshowRenderControllerTest, CompositionsRunAtTheUsersPace)
{
    const auto item = photos.slideshow(3);
    item->oSlideshowItem()->setDDuration(10.0);
    item->oSlideshowItem()->setDBestDuration(5.0);
    controller.setupWith(item, QSizeF(320, 180), 0.0);
    EXPECT_DOUBLE_EQ(controller.compositionTime(12.0), 6.0);
    std::atomic<int> frames{0};
    controller.setBlkFeedBack([&frames](const QImage&) { ++frames; });
    controller.seekAtTime(12.0);
    ASSERT_TRUE(waitFor([&] { return frames == 1; }));
    EXPECT_DOUBLE_EQ(indexTime(controller), 6.0);
}

// Whatever the best duration, the photos change where the slideshow's spans
// do: a best duration as short as the seconds per photo (composition time is
// slideshow time) shows every photo, not only the first one. Frames are asked
// for in play order, as the converter asks for them.
TEST_F(SlideshowRenderControllerTest, EveryPhotoShowsInItsSpanAtAnyBestDuration)
{
    const QList<QColor> colours{Qt::red, Qt::green, Qt::blue};
    for (const auto& [seconds, best] : QList<std::pair<double, double>>{
             {1.0, 1.0}, {0.75, 0.75}, {5.0, 5.0}, {1.0, 3.0}, {6.0, 3.0}, {2.0, 0.5}}) {
        SCOPED_TRACE(QString("%1 s per photo, best %2 s").arg(seconds).arg(best).toStdString());
        const auto item = photos.slideshow(3, seconds, best);
        item->oSlideshowItem()->setDFirstRatio(1.5);
        controller.setupWith(item, QSizeF(160, 90), 0.0);
        const QList<double> starts{0.0, 1.5 * seconds, 2.5 * seconds};
        for (int i = 0; i < 3; ++i) {
            const QImage frame = controller.imageAtTime(starts[i] + 0.1 * seconds);
            ASSERT_FALSE(frame.isNull());
            const QColor centre = frame.pixelColor(80, 45);
            EXPECT_LT(std::abs(centre.red() - colours[i].red()) +
                          std::abs(centre.green() - colours[i].green()) +
                          std::abs(centre.blue() - colours[i].blue()),
                      90)
                << "photo " << i << " shows " << qPrintable(centre.name());
        }
    }
}

TEST_F(SlideshowRenderControllerTest, PlaybackRefreshesSlotsOncePerCompositionSecond)
{
    const auto item = photos.slideshow(3);
    controller.setupWith(item, QSizeF(160, 90), 0.0);
    struct Step {
        double time;
        bool linear;
        bool refreshes;
        qint64 flushTime;
    };
    const QList<Step> steps{
        {0.5, true, false, 0}, {1.0, true, false, 0}, {1.2, true, true, 1},
        {2.0, true, false, 1}, {2.01, true, true, 2}, {2.01, false, true, 2},
        {0.5, false, true, 0}, {1.0, true, false, 0}, {7.0, true, true, 7},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.time);
        markIndexTime(controller);
        EXPECT_FALSE(controller.imageAtTime(step.time, step.linear).isNull());
        EXPECT_EQ(indexTime(controller) != Sentinel, step.refreshes);
        EXPECT_EQ(controller.iFlushTime(), step.flushTime);
    }
    // A set-up at a later time still records 0.
    controller.setupWith(item, QSizeF(160, 90), 9.0);
    EXPECT_EQ(controller.iFlushTime(), 0);
    markIndexTime(controller);
    controller.imageAtTime(9.0);
    EXPECT_EQ(indexTime(controller), 9.0);
    EXPECT_EQ(controller.iFlushTime(), 9);
}

TEST_F(SlideshowRenderControllerTest, QueuedRequestsRenderInOrder)
{
    const auto item = photos.slideshow(4);
    controller.setupWith(item, QSizeF(160, 90), 0.0);
    std::mutex lock;
    QList<double> times;
    controller.setBlkFeedBack([&](const QImage& frame) {
        EXPECT_FALSE(frame.isNull());
        std::lock_guard<std::mutex> guard(lock);
        times.append(indexTime(controller));
    });
    for (double t : {1.0, 6.0, 3.0, 12.0, 0.5}) {
        controller.seekAtTime(t);
    }
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard<std::mutex> guard(lock);
        return times.size() == 5;
    }));
    EXPECT_EQ(times, (QList<double>{1.0, 6.0, 3.0, 12.0, 0.5}));
    EXPECT_TRUE(controller.bEnableFlag());
}

TEST_F(SlideshowRenderControllerTest, CancelAndWaitLetsOnlyTheRunningStepFinish)
{
    const auto item = photos.slideshow(3);
    controller.setupWith(item, QSizeF(160, 90), 0.0);
    std::atomic<int> started{0};
    std::atomic<int> finished{0};
    controller.setBlkFeedBack([&](const QImage&) {
        ++started;
        QThread::msleep(150);
        ++finished;
    });
    for (int i = 0; i < 6; ++i) {
        controller.playAtTime(0.1 * i);
    }
    ASSERT_TRUE(waitFor([&] { return started == 1; }));
    controller.cancelAndWait();
    EXPECT_EQ(finished.load(), 1);
    QThread::msleep(200);
    EXPECT_EQ(started.load(), 1);
}

TEST_F(SlideshowRenderControllerTest, FramesAreNullBeforeSetUpAndAfterClear)
{
    EXPECT_TRUE(controller.imageAtTime(1.0).isNull());
    std::atomic<int> nullFrames{0};
    controller.setBlkFeedBack([&](const QImage& frame) { nullFrames += frame.isNull() ? 1 : 0; });
    controller.seekAtTime(1.0);
    ASSERT_TRUE(waitFor([&] { return nullFrames == 1; }));

    controller.setupWith(photos.slideshow(2), QSizeF(160, 90), 0.0);
    EXPECT_FALSE(controller.imageAtTime(1.0).isNull());
    controller.clear();
    EXPECT_TRUE(controller.imageAtTime(1.0).isNull());
    EXPECT_EQ(controller.duration(), 0.0);
    controller.playAtTime(2.0);
    ASSERT_TRUE(waitFor([&] { return nullFrames == 2; }));

    // An unknown transition gives no renderers: nil frames.
    const auto item = photos.slideshow(2);
    item->oSlideshowItem()->setStrSlideshowName("No Such Transition.qtz");
    controller.setupWith(item, QSizeF(160, 90), 0.0);
    EXPECT_EQ(controller.oSlideshowRenderer(), nullptr);
    EXPECT_TRUE(controller.imageAtTime(1.0).isNull());
}

TEST_F(SlideshowRenderControllerTest, SpansLayThePhotosEndToEnd)
{
    const auto item = photos.slideshow(3);  // positions 0, 1, 2 at d = 5
    item->oSlideshowItem()->setDFirstRatio(1.5);
    item->oSlideshowItem()->setDLastRatio(2.0);
    controller.setupWith(item, QSizeF(160, 90), 0.0);
    EXPECT_DOUBLE_EQ(controller.renderDurationOfIndex(0), 7.5);
    EXPECT_DOUBLE_EQ(controller.renderDurationOfIndex(1), 5.0);
    EXPECT_DOUBLE_EQ(controller.renderDurationOfIndex(2), 10.0);
    EXPECT_DOUBLE_EQ(controller.duration(), 22.5);
    const QList<std::pair<double, qsizetype>> cases{{-1.0, 0},  {0.0, 0},  {7.49, 0}, {7.5, 1},
                                                    {12.49, 1}, {12.5, 2}, {22.5, 2}, {40.0, 2}};
    for (const auto& [time, index] : cases) {
        EXPECT_EQ(controller.indexForTime(time), index) << time;
        EXPECT_EQ(controller.itemForTime(time), controller.aryPhotoItems()[index]) << time;
    }
    controller.clear();
    EXPECT_EQ(controller.itemForTime(1.0), nullptr);
}

TEST_F(SlideshowRenderControllerTest, UnusableSpeedRatioCountsAsOne)
{
    const auto item = photos.slideshow(3);
    for (double best : {0.0, -2.0, std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(best);
        item->oSlideshowItem()->setDBestDuration(best);
        controller.setupWith(item, QSizeF(160, 90), 0.0);
        EXPECT_DOUBLE_EQ(controller.compositionTime(12.0), 12.0);
        EXPECT_FALSE(controller.imageAtTime(12.0).isNull());
        EXPECT_EQ(controller.iFlushTime(), 12);
    }
    item->oSlideshowItem()->setDBestDuration(5.0);
    item->oSlideshowItem()->setDDuration(0.0);
    controller.setupWith(item, QSizeF(160, 90), 0.0);
    EXPECT_DOUBLE_EQ(controller.compositionTime(3.0), 3.0);
}

TEST_F(SlideshowRenderControllerTest, TransitionWithoutIndexCompositionStillShowsItsPhotos)
{
    // A copy of the cube transition whose list names no index composition.
    const QString folder = photos.path() + "/Transitions/Cube";
    QDir().mkpath(folder);
    const QString shipped = transitiontest::shippedTransitionFolder() + "/01 Cube/";
    for (const QString name : {"Cube New.qtz", "Cube New.png"}) {
        ASSERT_TRUE(QFile::copy(shipped + name, folder + "/" + name));
    }
    QFile list(shipped + "Cube New.plist");
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(list.readAll());
    text.remove("<key>QuartzIndex</key>");
    text.remove("<string>Index.qtz</string>");
    QFile copy(folder + "/Cube New.plist");
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write(text.toUtf8());
    copy.close();

    RenderController registry(photos.path() + "/Transitions");
    ASSERT_EQ(registry.quartzsCount(), 1);
    SlideshowRenderController own(registry);
    const auto item = photos.slideshow(5);
    own.setupWith(item, QSizeF(160, 90), 0.0);
    ASSERT_NE(own.oSlideshowRenderer(), nullptr);
    EXPECT_EQ(own.oIndexsRenderer(), nullptr);
    EXPECT_FALSE(loadedSlots(own).isEmpty());
    EXPECT_LT(loadedSlots(own).size(), 5);
    // The picture is the first photo (red), not the black background.
    const QImage frame = own.imageAtTime(1.0);
    ASSERT_FALSE(frame.isNull());
    const QColor centre = frame.pixelColor(frame.width() / 2, frame.height() / 2);
    EXPECT_GT(centre.red(), 200);
    EXPECT_LT(centre.green(), 60);
}
