#include <gtest/gtest.h>

#include "MoviePlayerTestFakes.h"
#include "media/MultiMoviePlayer.h"

using namespace playertest;

namespace {

// Pieces of 4 s (from 1 s of the first movie) and 6 s (from 2 s of the second).
struct TwoPieces {
    std::shared_ptr<FakeMovie> first = std::make_shared<FakeMovie>(10.0);
    std::shared_ptr<FakeMovie> second = std::make_shared<FakeMovie>(10.0);
    MultiMoviePlayer player;

    TwoPieces() { player.playMovies({itemOver(first, 1, 5), itemOver(second, 2, 8)}); }
    std::shared_ptr<FakeMovie> current() const
    {
        return std::static_pointer_cast<FakeMovie>(player.movie());
    }
};

}  // namespace

TEST(MultiMoviePlayerTest, SeekChoosesThePieceOnTheJoinedTimeline)
{
    struct Case {
        double at;
        int piece;
        double local;   // on the piece's movie
        double joined;  // currentTime afterwards
    } cases[] = {
        {0.0, 0, 1.0, 0.0},   {4.0, 0, 5.0, 4.0},  // a boundary belongs to the earlier piece
        {4.5, 1, 2.5, 4.5},                        //
        {10.0, 1, 8.0, 10.0},                      // the end of the last piece
        {10.5, 0, 1.0, 0.0},                       // past the end: wraps to 0
    };
    for (const Case& c : cases) {
        TwoPieces t;
        EXPECT_EQ(t.player.duration(), sec(10));
        t.player.seek(sec(c.at));
        EXPECT_EQ(t.current(), c.piece == 0 ? t.first : t.second) << c.at;
        EXPECT_NEAR(seconds(t.current()->position), c.local, 1e-5) << c.at;
        EXPECT_NEAR(seconds(t.player.currentTime()), c.joined, 1e-5) << c.at;
        EXPECT_EQ(t.player.movieTimeOffset(), c.piece == 0 ? 0 : sec(4)) << c.at;
    }
}

TEST(MultiMoviePlayerTest, SwitchingPiecesKeepsPlayOrPause)
{
    for (const bool playing : {true, false}) {
        TwoPieces t;
        t.player.seek(sec(1));
        if (playing) {
            t.player.play();
        }
        t.player.seek(sec(6));
        EXPECT_EQ(t.current(), t.second);
        EXPECT_EQ(t.player.isPlay(), playing);
        EXPECT_EQ(t.second->playing, playing);
        EXPECT_FALSE(t.first->playing);
    }
}

TEST(MultiMoviePlayerTest, TrimSegmentsBecomePieces)
{
    auto movie = std::make_shared<FakeMovie>(20.0);
    auto item = itemOver(movie, 0, 20);
    item->setTrimArray(
        {std::make_shared<MovieTrimItem>(1.0, 2.0), std::make_shared<MovieTrimItem>(10.0, 3.0)});
    MultiMoviePlayer player;
    player.playMovies({item});
    EXPECT_EQ(player.movies().size(), 2);
    EXPECT_EQ(player.duration(), sec(5));
    player.seek(sec(2.5));
    EXPECT_NEAR(seconds(movie->position), 10.5, 1e-5);
}

TEST(MultiMoviePlayerTest, ThumbnailOnlyForASinglePieceWithoutVideo)
{
    auto a = std::make_shared<FakeMovie>(5.0, false);
    auto b = std::make_shared<FakeMovie>(5.0, false);
    MultiMoviePlayer two;
    two.playMovies({itemOver(a, 0, 5), itemOver(b, 0, 5)});
    two.seek(0);
    EXPECT_FALSE(two.showThumbnail());
    MultiMoviePlayer one;
    one.playMovies({itemOver(a, 0, 5)});
    one.seek(0);
    EXPECT_TRUE(one.showThumbnail());
}

TEST(MultiMoviePlayerTest, PreviewPlaysThePiecesInSequenceAndWraps)
{
    TwoPieces t;
    t.player.setIsPreview(true);
    t.player.seek(0);
    t.player.play();
    t.first->position = sec(5.05);  // past the first piece's stop
    t.player.timerUpdateImageMethod();
    EXPECT_EQ(t.current(), t.second);
    EXPECT_TRUE(t.second->playing);
    EXPECT_NEAR(seconds(t.second->position), 2.05, 1e-5);
    EXPECT_NEAR(seconds(t.player.currentTime()), 4.05, 1e-5);

    t.second->position = sec(8.05);  // past the last piece
    t.player.timerUpdateImageMethod();
    EXPECT_EQ(t.current(), t.first);
    EXPECT_TRUE(t.first->playing);
    EXPECT_FALSE(t.second->playing);
    EXPECT_NEAR(seconds(t.first->position), 1.0, 1e-5);
}

TEST(MultiMoviePlayerTest, PreviewMovesOnWhenAFileStopsAtItsEnd)
{
    auto first = std::make_shared<FakeMovie>(3.0);
    auto second = std::make_shared<FakeMovie>(3.0);
    first->stopsAtEnd = second->stopsAtEnd = true;
    MultiMoviePlayer player;
    player.setIsPreview(true);
    player.playMovies({itemOver(first, 0, 3), itemOver(second, 0, 3)});
    player.seek(0);
    player.play();
    first->position = sec(3.2);
    player.timerUpdateImageMethod();
    EXPECT_EQ(player.movie(), second);
    EXPECT_TRUE(second->playing);
    EXPECT_LT(seconds(second->position), 0.01);
}

TEST(MultiMoviePlayerTest, WithoutPreviewPassingThePieceStopStartsTheListAgain)
{
    TwoPieces t;
    t.player.seek(sec(5));
    t.player.play();
    t.second->position = sec(8.05);
    t.player.timerUpdateImageMethod();
    EXPECT_EQ(t.current(), t.first);
    EXPECT_NEAR(seconds(t.first->position), 1.0, 1e-5);
    EXPECT_TRUE(t.player.isPlay());
}

TEST(MultiMoviePlayerTest, ClearPlayerForgetsThePieces)
{
    TwoPieces t;
    t.player.seek(sec(5));
    t.player.clearPlayer();
    EXPECT_TRUE(t.player.movies().isEmpty());
    EXPECT_EQ(t.player.vcMovie(), nullptr);
    EXPECT_EQ(t.player.duration(), 0);
    t.player.seek(sec(1));  // nothing to choose: stays empty
    EXPECT_EQ(t.player.vcMovie(), nullptr);
}
