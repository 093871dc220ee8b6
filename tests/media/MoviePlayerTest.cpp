#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <thread>

#include "MoviePlayerTestFakes.h"
#include "media/MoviePlayer.h"

using namespace playertest;

namespace {

void pumpEvents()
{
    QCoreApplication::processEvents();
}

struct Fixture {
    std::shared_ptr<FakeMovie> movie = std::make_shared<FakeMovie>(30.0);
    VCMovie::Ptr item = itemOver(movie, 10.0, 20.0);
    MoviePlayer player;

    Fixture()
    {
        player.setVcMovie(item);
        player.play();
    }
    // One tick with the movie at `at` seconds; answers the position after it.
    double tickAt(double at)
    {
        movie->position = sec(at);
        player.timerUpdateImageMethod();
        return seconds(movie->position);
    }
};

}  // namespace

TEST(MoviePlayerTest, PreviewKeepsThePositionInTheKeptRange)
{
    struct Case {
        double at;
        double expected;
    } cases[] = {
        {9.95, 9.95},   // within 0.1 s before the start: left alone
        {9.85, 10.0},   // further before: to the start
        {0.0, 10.0},    //
        {15.0, 15.0},   //
        {20.0, 20.0},   // exactly at the stop keeps playing
        {20.05, 10.0},  // past it: back to the start
        {29.0, 10.0},   //
    };
    for (const Case& c : cases) {
        Fixture f;
        f.player.setIsPreview(true);
        EXPECT_NEAR(f.tickAt(c.at), c.expected, 1e-5) << c.at;
        EXPECT_TRUE(f.player.isPlay()) << c.at;
    }
}

TEST(MoviePlayerTest, PlayOutsidePreviewLoopsOverTheWholeMovie)
{
    struct Case {
        double at;
        double expected;
    } cases[] = {{0.0, 0.0}, {5.0, 5.0}, {25.0, 25.0}, {30.0, 30.0}, {30.05, 0.0}};
    for (const Case& c : cases) {
        Fixture f;
        EXPECT_NEAR(f.tickAt(c.at), c.expected, 1e-5) << c.at;
    }
}

TEST(MoviePlayerTest, MovieThatStopsAtItsEndStartsAgain)
{
    // A file's clock stops at its end instead of running past it; the player
    // still loops, in preview (range ending at the movie's end) and without.
    for (const bool preview : {false, true}) {
        Fixture f;
        f.movie->stopsAtEnd = true;
        f.item->setTrimStop(f.movie->length);
        f.player.setIsPreview(preview);
        f.movie->position = f.movie->length + sec(1);
        EXPECT_TRUE(f.player.isPlay());
        f.player.timerUpdateImageMethod();
        EXPECT_NEAR(seconds(f.movie->position), preview ? 10.0 : 0.0, 1e-5) << preview;
        EXPECT_TRUE(f.movie->playing) << preview;
        EXPECT_TRUE(f.player.isPlay()) << preview;
    }
}

TEST(MoviePlayerTest, PausedMovieAtItsEndStaysThere)
{
    Fixture f;
    f.movie->stopsAtEnd = true;
    f.player.pause();
    f.movie->position = f.movie->length;
    EXPECT_FALSE(f.player.isPlay());
    f.player.timerUpdateImageMethod();
    EXPECT_EQ(f.movie->position, f.movie->length);
    EXPECT_FALSE(f.movie->playing);
}

TEST(MoviePlayerTest, PreviewVolumeFollowsTheFades)
{
    struct Case {
        double start, stop, fadeIn, fadeOut, at, volume;
    } cases[] = {
        {10, 20, 2, 4, 11.0, 0.5},   // half-way through the fade-in
        {10, 20, 2, 4, 10.0, 0.0},   // its start
        {10, 20, 2, 4, 18.0, 0.5},   // half-way through the fade-out
        {10, 20, 2, 4, 15.0, 1.0},   // between the fades
        {10, 20, 2, 4, 9.95, 1.0},   // before the start, outside the fade-out
        {10, 11, 0, 5, 9.95, 0.21},  // before the start but inside the fade-out
        {10, 20, 0, 0, 10.0, 1.0},   // fades of 0: no fade, no division by 0
        {10, 20, 0, 0, 20.0, 1.0},   //
        {0, 5, 4, 4, 2.0, 0.5},      // both apply: the fade-in wins
    };
    for (const Case& c : cases) {
        Fixture f;
        f.item->setTrimStart(sec(c.start));
        f.item->setTrimStop(sec(c.stop));
        f.item->setFadeIn(sec(c.fadeIn));
        f.item->setFadeOut(sec(c.fadeOut));
        f.player.setIsPreview(true);
        f.tickAt(c.at);
        ASSERT_FALSE(f.movie->volumes.isEmpty());
        EXPECT_NEAR(f.movie->volumes.last(), c.volume, 1e-6) << c.at;
    }
}

TEST(MoviePlayerTest, VolumeIsFullOutsidePreviewOnEveryTick)
{
    Fixture f;
    f.item->setFadeIn(sec(5));
    f.tickAt(11.0);
    f.tickAt(12.0);
    EXPECT_EQ(f.movie->volumes, (QList<double>{1.0, 1.0}));
}

TEST(MoviePlayerTest, ZeroFadesDivideByOneTick)
{
    EXPECT_FLOAT_EQ(MoviePlayer::fadeVolume(sec(10), sec(10), sec(20), 0, 0), 1.0f);
    // A one-tick fade-in at one tick in: full volume.
    EXPECT_FLOAT_EQ(MoviePlayer::fadeVolume(sec(10) + 1, sec(10), sec(20), 1, 0), 1.0f);
    // Huge media times keep their precision.
    const LMMediaTime big = sec(3600.0 * 100);
    EXPECT_NEAR(MoviePlayer::fadeVolume(big - sec(1), 0, big, 0, sec(4)), 0.25f, 1e-6);
}

TEST(MoviePlayerTest, OnlyThePlayerThatStartedTheItemPlaysIt)
{
    Fixture f;
    MoviePlayer other;
    other.setVcMovie(f.item);
    other.setIsPreview(true);
    f.player.setIsPreview(true);
    other.play();
    EXPECT_TRUE(other.isPlay());
    EXPECT_FALSE(f.player.isPlay());
    EXPECT_NEAR(f.tickAt(25.0), 25.0, 1e-5);  // the idle player leaves it alone
    other.timerUpdateImageMethod();
    EXPECT_NEAR(seconds(f.movie->position), 10.0, 1e-5);
}

TEST(MoviePlayerTest, PicturesOfItemsWithoutVideo)
{
    auto movie = std::make_shared<FakeMovie>(30.0, false);
    auto item = itemOver(movie, 0, 30);
    QImage thumbnail(8, 6, QImage::Format_ARGB32);
    thumbnail.fill(Qt::green);
    item->setThumbnail(thumbnail);
    MoviePlayer player;
    CountingDelegate delegate;
    player.setDelegate(&delegate);
    player.setVcMovie(item);

    // Outside preview: the thumbnail.
    player.seek(sec(3));
    EXPECT_TRUE(player.showThumbnail());
    EXPECT_EQ(player.effectImage(), item->thumbnail());
    EXPECT_EQ(player.originImage(), item->thumbnail());
    EXPECT_EQ(player.effectVideoRect(), QRectF(0, 0, 8, 6));
    EXPECT_EQ(delegate.flushes, 2);  // the new item, then the seek

    // In preview: black of the output size.
    player.setIsPreview(true);
    player.updateImage();
    EXPECT_FALSE(player.showThumbnail());
    EXPECT_EQ(player.effectImage().size(), QSize(32, 24));
    EXPECT_EQ(player.effectImage().pixelColor(5, 5), QColor(Qt::black));
    EXPECT_EQ(movie->decodes.size(), 0);
}

TEST(MoviePlayerTest, FramesAreAskedForAtThePositionAndShownWhenTheyArrive)
{
    auto movie = std::make_shared<FakeMovie>(30.0);
    movie->answerAtOnce = false;
    MoviePlayer player;
    CountingDelegate delegate;
    player.setDelegate(&delegate);
    player.setVcMovie(itemOver(movie, 0, 30));
    player.seek(sec(7));
    EXPECT_EQ(movie->decodes.last(), sec(7));
    EXPECT_TRUE(player.effectImage().isNull());
    const int before = delegate.flushes;

    // The answer comes from another thread; the paused picture is redrawn.
    std::thread([&] { movie->answerWaiting(); }).join();
    EXPECT_EQ(player.effectImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(player.originImage().size(), QSize(32, 24));
    EXPECT_EQ(player.imageData().size(), 0);  // the fake hands over no raw buffer
    pumpEvents();
    EXPECT_GT(delegate.flushes, before);
    EXPECT_EQ(player.originVideoRect(), QRectF(0, 0, 40, 20));
    EXPECT_EQ(player.effectVideoRect(), QRectF(0, 0, 32, 24));
}

TEST(MoviePlayerTest, TicksDoNotQueueFramesBehindASlowDecoder)
{
    auto movie = std::make_shared<FakeMovie>(30.0);
    movie->answerAtOnce = false;
    MoviePlayer player;
    player.setVcMovie(itemOver(movie, 0, 30));
    player.play();
    const qsizetype asked = movie->decodes.size();
    for (int i = 0; i < 10; ++i) {
        player.timerUpdateImageMethod();
    }
    EXPECT_LE(movie->decodes.size(), 2);
    EXPECT_GE(movie->decodes.size(), asked);
    movie->answerWaiting();
    player.timerUpdateImageMethod();
    EXPECT_EQ(movie->waiting.size(), 1);
    movie->answerWaiting();
}

TEST(MoviePlayerTest, ClearPlayerDropsTheItemAndTheTimerIdles)
{
    Fixture f;
    f.player.clearPlayer();
    EXPECT_EQ(f.player.vcMovie(), nullptr);
    EXPECT_FALSE(f.player.isPlay());
    EXPECT_EQ(f.player.currentTime(), 0);
    EXPECT_TRUE(f.player.timer()->isActive());
    f.player.timerUpdateImageMethod();
    EXPECT_TRUE(f.player.effectImage().isNull());
}

TEST(MoviePlayerTest, NothingReachesADestroyedPlayer)
{
    auto movie = std::make_shared<FakeMovie>(30.0);
    movie->answerAtOnce = false;
    auto item = itemOver(movie, 0, 30);
    CountingDelegate delegate;
    auto* player = new MoviePlayer;
    player->setDelegate(&delegate);
    player->setVcMovie(item);
    player->play();
    player->timerUpdateImageMethod();
    QPointer<QTimer> timer = player->timer();
    ASSERT_FALSE(movie->waiting.isEmpty());
    delete player;

    EXPECT_TRUE(timer.isNull());
    EXPECT_FALSE(movie->playing);  // no sound left without a player
    const int flushes = delegate.flushes;
    std::thread([&] { movie->answerWaiting(); }).join();  // answers to the gone player
    pumpEvents();
    EXPECT_EQ(delegate.flushes, flushes);
}
