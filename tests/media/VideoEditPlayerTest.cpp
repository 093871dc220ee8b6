#include <gtest/gtest.h>

#include "MoviePlayerTestFakes.h"
#include "media/VideoEditPlayer.h"

using namespace playertest;

namespace {

// A clip over [10 s, 20 s] of its source.
struct Clip {
    std::shared_ptr<FakeMovie> movie = std::make_shared<FakeMovie>(30.0);
    VCMovie::Ptr item = itemOver(movie, 10, 20);
    VideoEditPlayer player;

    Clip()
    {
        player.setOldMovieTrimStart(item->trimStart());
        player.setOldMovieTrimStop(item->trimStop());
        player.setVcMovie(item);
    }
    // One tick at clip time `at`; answers the clip time after it.
    double tickAt(double at)
    {
        player.seek(sec(at));
        player.timerUpdateImageMethod();
        return seconds(player.currentTime());
    }
};

}  // namespace

TEST(VideoEditPlayerTest, TimelineIsTheClip)
{
    Clip c;
    EXPECT_EQ(c.player.duration(), sec(10));
    c.player.seek(sec(2));
    EXPECT_EQ(c.movie->position, sec(12));
    EXPECT_EQ(c.player.currentTime(), sec(2));
    EXPECT_EQ(c.player.originVideoRect(), QRectF(0, 0, 40, 20));
}

TEST(VideoEditPlayerTest, PreviewPlaysOnlyTheSegments)
{
    struct Case {
        double at;
        double expected;
    } cases[] = {
        {1.5, 1.5},      // inside the first segment
        {2.0, 2.0},      // at its stop
        {3.0, 5.0},      // in the gap: to the next segment
        {4.995, 4.995},  // within 0.01 s before it: left alone
        {4.98, 5.0},     //
        {0.5, 1.0},      // before the first
        {6.0, 6.0},      //
        {6.05, 1.0},     // past the last: back to the first
    };
    for (const Case& k : cases) {
        Clip c;
        c.item->setTrimArray(
            {std::make_shared<MovieTrimItem>(1.0, 1.0), std::make_shared<MovieTrimItem>(5.0, 1.0)});
        c.player.setIsPreview(true);
        c.player.play();
        EXPECT_NEAR(c.tickAt(k.at), k.expected, 1e-5) << k.at;
    }
}

TEST(VideoEditPlayerTest, ClipWithoutSegmentsPreviewsItsWholeRange)
{
    struct Case {
        double at;
        double expected;
    } cases[] = {{0.0, 0.0}, {9.0, 9.0}, {10.0, 10.0}, {10.05, 0.0}};
    for (const Case& k : cases) {
        Clip c;
        c.player.setIsPreview(true);
        c.player.play();
        EXPECT_NEAR(c.tickAt(k.at), k.expected, 1e-5) << k.at;
        ASSERT_TRUE(c.player.currentTrim());
        EXPECT_NEAR(c.player.currentTrim()->start(), 0.0, 1e-5);
        EXPECT_NEAR(c.player.currentTrim()->duration(), 10.0, 1e-5);
    }
}

TEST(VideoEditPlayerTest, WithoutPreviewTheWholeClipLoops)
{
    struct Case {
        double at;
        double expected;
    } cases[] = {{3.0, 3.0}, {10.0, 10.0}, {10.05, 0.0}};
    for (const Case& k : cases) {
        Clip c;
        c.item->setTrimArray({std::make_shared<MovieTrimItem>(1.0, 1.0)});
        c.player.play();
        EXPECT_NEAR(c.tickAt(k.at), k.expected, 1e-5) << k.at;
    }
}

TEST(VideoEditPlayerTest, ClipEndingAtTheFileEndLoopsThoughTheFileStops)
{
    Clip c;
    c.movie->stopsAtEnd = true;
    c.player.setOldMovieTrimStop(c.movie->length);
    c.player.play();
    c.movie->position = c.movie->length + sec(0.3);
    c.player.timerUpdateImageMethod();
    EXPECT_EQ(c.player.currentTime(), 0);
    EXPECT_TRUE(c.movie->playing);
}
