// Where a long title is cut into pieces: even shares on whole groups of
// pictures, and the frame times the pieces start at.

#include <gtest/gtest.h>

#include "production/TitlePieces.h"

namespace {

struct CutCase {
    const char* name;
    int64_t frames;
    int count;
    int64_t group;
    QList<int64_t> expected;
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
    };
    for (const CutCase& c : cases) {
        EXPECT_EQ(TitlePieces::cutFrames(c.frames, c.count, c.group), c.expected) << c.name;
    }
}

TEST(TitlePieces, FrameTimesCountAsTheConvertersClock)
{
    EXPECT_EQ(TitlePieces::frameTimeOf(83, 25, 1), 3320000);
    // NTSC frames fall between microseconds: rounded down, as the clock does.
    EXPECT_EQ(TitlePieces::frameTimeOf(1, 30000, 1001), 33366);
    EXPECT_EQ(TitlePieces::frameTimeOf(3, 30000, 1001), 100100);
}

}  // namespace
