#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "MoviePlayerTestFakes.h"
#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"
#include "media/MoviePlayer.h"

using namespace playertest;

namespace {

void runEventLoopFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

// A generated clip plays headless (the silent sink keeps the clock) under the
// player's own timer: the position advances with the wall clock and frames
// arrive for the view.
TEST(MoviePlayerPlaybackTest, RealClipPlaysForHalfASecond)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("clip.mp4");
    ASSERT_TRUE(testsupport::makeTestClip(path, 2.0, 160, 120, true));
    const VCMovie::Ptr item = VCMovie::movieWithPath(path);
    ASSERT_TRUE(item);
    item->setVideoOutputSize(QSizeF(160, 120));

    MoviePlayer player;
    CountingDelegate delegate;
    player.setDelegate(&delegate);
    player.setVcMovie(item);
    player.setIsPreview(true);
    player.seek(0);
    player.play();
    ASSERT_TRUE(player.isPlay());
    runEventLoopFor(500);
    const double played = seconds(player.currentTime());
    player.pause();

    RecordProperty("playedMilliseconds", static_cast<int>(played * 1000));
    EXPECT_NEAR(played, 0.5, 0.2);
    EXPECT_GE(delegate.flushes, 5);  // ticks of 0.05 s

    // The first frame may take a while on a busy machine: opening the decoder.
    QElapsedTimer waited;
    waited.start();
    while (player.effectImage().isNull() && waited.elapsed() < 4000) {
        runEventLoopFor(20);
    }
    EXPECT_EQ(player.effectImage().size(), QSize(160, 120));
    EXPECT_EQ(player.imageData().size(), 160 * 120 * 4);
    EXPECT_FALSE(player.originImage().isNull());
}

// A new watermark on the movie shows at once on a paused picture.
TEST(MoviePlayerPlaybackTest, WatermarkChangeRedrawsThePausedPicture)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString path = dir.filePath("clip.mp4");
    ASSERT_TRUE(testsupport::makeTestClip(path, 0.5, 160, 120, false));
    const VCMovie::Ptr item = VCMovie::movieWithPath(path);
    ASSERT_TRUE(item);
    item->setVideoOutputSize(QSizeF(160, 120));

    CountingDelegate first;
    CountingDelegate second;
    MoviePlayer one;
    MoviePlayer two;  // two players on one movie are both told
    one.setDelegate(&first);
    two.setDelegate(&second);
    one.setVcMovie(item);
    two.setVcMovie(item);
    const int before = first.flushes + second.flushes;

    QImage mark(10, 10, QImage::Format_ARGB32);
    mark.fill(Qt::white);
    item->movie()->setWatermark(LMPicture{mark, QPointF(0, 0)});
    EXPECT_GE(first.flushes + second.flushes, before + 2);
    EXPECT_GT(first.flushes, 0);

    // A player that dropped its item is not told any more.
    const int count = first.flushes;
    one.clearPlayer();
    item->movie()->setWatermark({});
    EXPECT_EQ(first.flushes, count + 1);  // clearing itself redrew once
}
