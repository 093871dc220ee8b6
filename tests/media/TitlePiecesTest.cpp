// Where a long title is cut into pieces: even shares on whole groups of
// pictures, moved back towards the source's key frames, and the frame times
// the pieces start at.

#include <gtest/gtest.h>

#include "media/TitlePieces.h"

namespace {

struct CutCase {
    const char* name;
    int64_t frames;
    int count;
    int64_t group;
    QList<int64_t> expected;
    QList<int64_t> chapters = {};
};

TEST(TitlePieces, CutsAreEvenSharesOnWholeGroups)
{
    const CutCase cases[] = {
        {"PAL groups", 250, 3, 14, {0, 84, 168}},
        {"NTSC groups", 9000, 4, 18, {0, 2250, 4500, 6750}},
        {"shares shorter than a group", 20, 3, 14, {0, 14}},
        {"a last share of less than a group", 30, 2, 14, {0, 14}},
        {"no group size", 10, 2, 0, {0, 5}},
        {"one piece", 250, 1, 14, {0}},
        {"a chapter just after a cut takes it", 250, 3, 14, {0, 84, 170}, {120, 170}},
        {"a chapter just before a cut takes it", 250, 3, 14, {0, 80, 168}, {80}},
        {"the nearest of two chapters", 250, 3, 14, {0, 86, 168}, {78, 86}},
        {"a chapter a group away leaves the cut", 250, 3, 14, {0, 84, 168}, {69, 99, 120}},
    };
    for (const CutCase& c : cases) {
        EXPECT_EQ(TitlePieces::cutFrames(c.frames, c.count, c.group, c.chapters), c.expected)
            << c.name;
    }
}

TEST(TitlePieces, EachPieceOpensGroupsOnItsChaptersAndBeforeAChapterAfterIt)
{
    const QList<int64_t> chapters{120, 170};
    // The second chapter starts the next piece: the piece plans up to its end.
    EXPECT_EQ(TitlePieces::pieceKeyFrameTimes(84, 170, chapters, 25, 1),
              (QList<LMMediaTime>{36 * 40000, 86 * 40000}));
    EXPECT_EQ(TitlePieces::pieceKeyFrameTimes(0, 84, chapters, 25, 1), QList<LMMediaTime>());
    // A piece that starts on a chapter opens its group anyway.
    EXPECT_EQ(TitlePieces::pieceKeyFrameTimes(170, 250, chapters, 25, 1), QList<LMMediaTime>());
    // Chapter times find their frames as the writer does: the nearest.
    EXPECT_EQ(TitlePieces::frameAt(6800000, 25, 1), 170);
    EXPECT_EQ(TitlePieces::frameAt(1001000 - 1, 30000, 1001), 30);
}

TEST(TitlePieces, FrameTimesCountAsTheConvertersClock)
{
    EXPECT_EQ(TitlePieces::frameTimeOf(83, 25, 1), 3320000);
    // NTSC frames fall between microseconds: rounded down, as the clock does.
    EXPECT_EQ(TitlePieces::frameTimeOf(1, 30000, 1001), 33366);
    EXPECT_EQ(TitlePieces::frameTimeOf(3, 30000, 1001), 100100);
}

}  // namespace

TEST(TitlePieces, ACutMovesOntoAKeyFrameWhenThatCostsLessThanTheFramesDecodedForNothing)
{
    struct Case {
        const char* name;
        int64_t cut, before, after, expected;
    };
    // Groups of 14, the piece before starting at 28, the next cut at 252.
    const Case cases[] = {
        {"a key frame in the cut's own group", 126, 120, -1, 126},
        {"a key frame on the cut", 126, 126, -1, 126},
        {"a key frame far before, none after", 126, 30, -1, 126},
        {"a key frame far before, one just after: onto its group", 126, 40, 130, 140},
        {"one after, but further than the frames it saves", 126, 100, 200, 126},
        {"one after, past the next cut", 126, 0, 245, 126},
        {"one after, none known before", 126, -1, 130, 126},
        {"none known", 126, -1, -1, 126},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TitlePieces::cutNearKeyFrames(c.cut, c.before, c.after, 14, 28, 252), c.expected)
            << c.name;
    }
}
