// Titles and chapters of the disc: lengths, and how the chapters' pieces are
// flattened into what plays, with adjacent unedited pieces of one file joined.

#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "lumenta/LMFFMovie.h"
#include "media/DVDChapterVideo.h"
#include "media/DVDTitleVideo.h"
#include "media/VCMovie.h"

namespace {

constexpr LMMediaTime kSecond = 1000000;

LMMediaTime seconds(double s)
{
    return static_cast<LMMediaTime>(s * kSecond);
}

// Two tiny clips, generated once for the whole suite.
class TitleJoin : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir(testsupport::makeTempDir());
        ASSERT_TRUE(testsupport::makeTestClip(s_dir->filePath("a.mp4"), 0.5, 64, 48));
        ASSERT_TRUE(testsupport::makeTestClip(s_dir->filePath("b.mp4"), 0.5, 64, 48));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    // A section of a file over its own movie, as a clip's segment movies are.
    static VCMovie::Ptr section(const QString& file, double start, double stop)
    {
        auto item = VCMovie::movieWithPath(s_dir->filePath(file));
        EXPECT_TRUE(item);
        if (!item) {
            return VCMovie::create();
        }
        item->setTrimStart(seconds(start));
        item->setTrimStop(seconds(stop));
        return item;
    }

    static brisane::DVDChapterVideo::Ptr chapter(const QList<VCMovie::Ptr>& movies)
    {
        auto c = brisane::DVDChapterVideo::create();
        c->setMovies(movies);
        return c;
    }

    static QTemporaryDir* s_dir;
};

QTemporaryDir* TitleJoin::s_dir = nullptr;

// A movie-like source that is not a media file.
class DrawnMovie : public IMovie {
public:
    LMMediaTime duration() const override { return 100 * kSecond; }
};

struct JoinCase {
    const char* name;
    double secondStart;
    std::function<void(VCMovie& first, VCMovie& second)> edit;
    int pieces;
};

TEST_F(TitleJoin, AdjacentSectionsJoinOnlyWhenNothingSetsThemApart)
{
    const QList<JoinCase> cases = {
        {"adjacent, unedited", 20.0, nullptr, 1},
        {"gap of 0.02 s", 20.02, nullptr, 2},
        {"gap of 0.005 s", 20.005, nullptr, 1},
        {"overlap of 0.005 s", 19.995, nullptr, 1},
        {"second rotated", 20.0, [](VCMovie&, VCMovie& b) { b.movie()->setRotate(90.0f); }, 2},
        {"rotation within 0.1 degree", 20.0,
         [](VCMovie&, VCMovie& b) { b.movie()->setRotate(0.05f); }, 1},
        {"second cropped", 20.0,
         [](VCMovie&, VCMovie& b) {
             b.movie()->setCropRect({0, 0, 32, 24});
         },
         2},
        {"second flipped", 20.0, [](VCMovie&, VCMovie& b) { b.movie()->setHflip(true); }, 2},
        {"second brighter", 20.0, [](VCMovie&, VCMovie& b) { b.movie()->setBrightness(0.6f); }, 2},
        {"second with an effect", 20.0,
         [](VCMovie&, VCMovie& b) { b.movie()->setEffectName("Sepia"); }, 2},
        {"second zoomed otherwise", 20.0, [](VCMovie&, VCMovie& b) { b.movie()->setZoomType(5); },
         2},
        {"other output size", 20.0,
         [](VCMovie&, VCMovie& b) {
             b.movie()->setOutputVideoSize({640, 480});
         },
         2},
        {"second fades in", 20.0, [](VCMovie&, VCMovie& b) { b.setFadeIn(kSecond); }, 2},
        {"second fades out", 20.0, [](VCMovie&, VCMovie& b) { b.setFadeOut(kSecond); }, 2},
        {"first fades out", 20.0, [](VCMovie& a, VCMovie&) { a.setFadeOut(kSecond); }, 1},
        {"first fades in", 20.0, [](VCMovie& a, VCMovie&) { a.setFadeIn(kSecond); }, 1},
    };
    for (const JoinCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto first = section("a.mp4", 10, 20);
        auto second = section("a.mp4", c.secondStart, 30);
        if (c.edit) {
            c.edit(*first, *second);
        }
        const auto pieces =
            brisane::DVDTitleVideo::vcmoviesForChapters({chapter({first}), chapter({second})});
        ASSERT_EQ(pieces.size(), c.pieces);
        EXPECT_EQ(pieces.first()->trimStart(), seconds(10));
        EXPECT_EQ(pieces.last()->trimStop(), seconds(30));
        // The chapters' own items are never changed.
        EXPECT_EQ(first->trimStop(), seconds(20));
        EXPECT_NE(pieces.first(), first);
        if (c.pieces == 1) {
            // The first piece's fades stay on the joined piece.
            EXPECT_EQ(pieces.first()->fadeOut(), first->fadeOut());
            EXPECT_EQ(pieces.first()->fadeIn(), first->fadeIn());
        }
    }
}

TEST_F(TitleJoin, OnlyPiecesOfOneMediaFileJoin)
{
    auto slideshow = VCMovie::movieWithMovie(std::make_shared<DrawnMovie>(), 10 * kSecond);
    auto file = section("a.mp4", 10, 20);
    EXPECT_EQ(brisane::DVDTitleVideo::vcmoviesForChapters({chapter({slideshow, file})}).size(), 2);

    auto drawnAfterDrawn = VCMovie::movieWithMovie(slideshow->movie(), 10 * kSecond);
    drawnAfterDrawn->setTrimStart(10 * kSecond);
    drawnAfterDrawn->setTrimStop(20 * kSecond);
    EXPECT_EQ(
        brisane::DVDTitleVideo::vcmoviesForChapters({chapter({slideshow, drawnAfterDrawn})}).size(),
        2);

    EXPECT_EQ(brisane::DVDTitleVideo::vcmoviesForChapters(
                  {chapter({section("a.mp4", 10, 20), section("b.mp4", 20, 30)})})
                  .size(),
              2);
    EXPECT_FALSE(brisane::DVDTitleVideo::canJoinVideo(*file, nullptr));
}

TEST_F(TitleJoin, RunsOfAnyLengthJoinAndOneMovieMayBeShared)
{
    auto a = section("a.mp4", 10, 20);
    auto b = VCMovie::movieWithMovie(a->movie(), 30 * kSecond);
    b->setTrimStart(20 * kSecond);
    auto c = section("a.mp4", 30, 35);
    const auto pieces =
        brisane::DVDTitleVideo::vcmoviesForChapters({chapter({a, b}), chapter({c})});
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_EQ(pieces.first()->trimStart(), seconds(10));
    EXPECT_EQ(pieces.first()->trimStop(), seconds(35));
}

TEST_F(TitleJoin, PiecesWithTrimSegmentsAreAllKept)
{
    auto clip = section("a.mp4", 0, 0.5);
    clip->setTrimArray({std::make_shared<MovieTrimItem>(0.0, 0.1),
                        std::make_shared<MovieTrimItem>(0.2, 0.1)});
    // Both segments play; what starts where the last one stops continues it.
    auto next = section("a.mp4", 0.3, 0.4);
    const auto pieces = brisane::DVDTitleVideo::vcmoviesForChapters({chapter({clip, next})});
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_EQ(pieces.at(0)->trimStart(), seconds(0));
    EXPECT_EQ(pieces.at(0)->trimStop(), seconds(0.1));
    EXPECT_EQ(pieces.at(1)->trimStart(), seconds(0.2));
    EXPECT_EQ(pieces.at(1)->trimStop(), seconds(0.4));
    // A cut item never continues the piece before it.
    const auto cutSecond =
        brisane::DVDTitleVideo::vcmoviesForChapters({chapter({section("a.mp4", 0, 0.0), clip})});
    EXPECT_EQ(cutSecond.size(), 3);
}

TEST_F(TitleJoin, OnePieceGivesANewEqualPiece)
{
    auto only = section("a.mp4", 1, 4);
    auto title = brisane::DVDTitleVideo::create();
    title->setChapters({chapter({only})});
    const auto pieces = title->vcmovies();
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_NE(pieces.first(), only);
    EXPECT_EQ(pieces.first()->movie(), only->movie());
    EXPECT_EQ(pieces.first()->trimStart(), seconds(1));
    EXPECT_EQ(pieces.first()->trimStop(), seconds(4));
}

TEST(TitleVideo, LengthsAreSumsAndEmptyIsZero)
{
    auto empty = brisane::DVDChapterVideo::create();
    EXPECT_EQ(empty->duration(), 0.0);
    EXPECT_EQ(brisane::DVDChapterVideo::durationForVcMovies({}), 0);

    auto silence = VCMovie::movieWithEmptyFFMovie();
    silence->setTrimStop(seconds(2.5));
    auto more = VCMovie::movieWithEmptyFFMovie();
    more->setTrimStart(seconds(1));
    more->setTrimStop(seconds(2));
    auto full = brisane::DVDChapterVideo::create();
    full->setMovies({silence, more});
    EXPECT_DOUBLE_EQ(full->duration(), 3.5);

    auto title = brisane::DVDTitleVideo::create();
    EXPECT_EQ(title->duration(), 0.0);
    EXPECT_TRUE(title->vcmovies().isEmpty());
    EXPECT_FALSE(title->isWarningVideo());
    title->setChapters({full, empty, full});
    EXPECT_DOUBLE_EQ(title->duration(), 7.0);
    // Corvane sees the chapters through its own protocol.
    const std::shared_ptr<::DVDTitleVideo> seen = title;
    EXPECT_EQ(seen->chapters().size(), 3);
}

}  // namespace
