// What follows each kind of object on a disc (menus, buttons, titles, the
// auto-play chain), row by row over the fixture disc of DVDLibraryTestFakes.

#include <gtest/gtest.h>

#include "DVDLibraryTestFakes.h"

using namespace disctest;

namespace {

struct JumpRow {
    const char* flags;
    qsizetype warningAt;  // -1: no warning title
    const char* from;     // "nil": the start of the disc
    const char* expected;
};

QString nameOf(const Disc& disc, const ObjectPtr& object)
{
    if (!object) {
        return "nil";
    }
    for (auto it = disc.objects.cbegin(); it != disc.objects.cend(); ++it) {
        if (it.value() == object) {
            return it.key();
        }
    }
    return "?";
}

void PrintTo(const JumpRow& row, std::ostream* os)
{
    *os << "[" << row.flags << "] warning@" << row.warningAt << " " << row.from << " -> "
        << row.expected;
}

class JumpForActionItem : public ::testing::TestWithParam<JumpRow> {};

TEST_P(JumpForActionItem, follows)
{
    const JumpRow& row = GetParam();
    Disc disc(row.warningAt);
    applyFlags(*disc.library, row.flags);
    EXPECT_EQ(nameOf(disc, disc.library->jumpForActionItem(disc[row.from])), row.expected);
}

const JumpRow kJumpRows[] = {
    // The start of the disc.
    {"", -1, "nil", "P0"},
    {"noMenu", -1, "nil", "T0"},
    {"playFirstTitle", -1, "nil", "T0"},
    {"noMenu,playFirstTitle", -1, "nil", "T0"},
    {"noMenu", 0, "nil", "T0"},
    {"playFirstTitle", 0, "nil", "T0"},
    {"menuLoop,playTitleSequence", 0, "nil", "P0"},
    // A page.
    {"menuAutoJumpVideo", -1, "P0", "c00"},
    {"menuAutoJumpVideo,menuLoop", -1, "P0", "c00"},
    {"menuAutoJumpVideo", -1, "P1", "nil"},  // its first element has no chapter
    {"menuAutoJumpVideo", -1, "S1", "P0"},
    {"menuAutoJumpVideo", -1, "E", "nil"},  // no elements
    {"menuLoop", -1, "P0", "P0"},
    {"menuLoop", -1, "X", "X"},
    {"", -1, "P0", "P1"},
    {"", -1, "P1", "P0"},  // siblings wrap
    {"", -1, "S0", "S1"},
    {"", -1, "S1", "S0"},
    {"", -1, "X", "P0"},  // not on the disc: the first top-level page
    // An element: its resolved target.
    {"", -1, "e0a", "c00"},
    {"", -1, "e0b", "S0"},
    {"", -1, "e0c", "nil"},
    {"", -1, "e0d", "R2"},
    {"", -1, "e0e", "X"},
    {"", -1, "e1a", "nil"},
    {"", -1, "e1b", "nil"},  // a title video counts only through linked chapters
    {"", -1, "s0a", "c10"},
    {"noMenu,playTitleSequence,menuLoop", -1, "s1a", "P0"},
    // A chapter, and anything else.
    {"playTitleSequence,loopSingleVideo", -1, "c00", "nil"},
    {"noMenu", -1, "Z", "nil"},
    // A title.
    {"loopSingleVideo", -1, "T1", "c10"},
    {"loopSingleVideo,noMenu,playTitleSequence,loopVideo", -1, "T0", "c00"},
    {"loopSingleVideo", -1, "R2", "R2"},
    {"loopSingleVideo", -1, "T3", "nil"},  // no chapters
    {"loopSingleVideo", 0, "W", "w0"},
    {"loopSingleVideo", -1, "Q", "Q"},
    {"", -1, "T0", "nil"},
    {"playTitleSequence", -1, "T0", "c10"},
    {"noMenu", -1, "T0", "c10"},
    {"playTitleSequence", -1, "T1", "R2"},
    {"playTitleSequence", -1, "R2", "nil"},  // T3 has no chapter
    {"playTitleSequence", 2, "T1", "R2"},    // the warning title is skipped
    {"playTitleSequence", -1, "T3", "nil"},
    {"playTitleSequence,loopVideo", -1, "T3", "c00"},
    {"loopVideo", -1, "T3", "nil"},
    {"noMenu", -1, "T3", "c00"},
    {"", 0, "W", "nil"},
    {"playTitleSequence", 0, "W", "nil"},
    {"playTitleSequence,loopVideo", 0, "W", "c00"},
    {"noMenu", 0, "W", "c00"},
    {"noMenu", 4, "W", "c00"},
    {"playTitleSequence,loopVideo", -1, "Q", "c00"},  // not on the disc: as the last
    {"", -1, "Q", "nil"},
};

INSTANTIATE_TEST_SUITE_P(Rows, JumpForActionItem, ::testing::ValuesIn(kJumpRows));

class AutoPlayChain : public ::testing::TestWithParam<JumpRow> {};

TEST_P(AutoPlayChain, follows)
{
    const JumpRow& row = GetParam();
    Disc disc(row.warningAt);
    applyFlags(*disc.library, row.flags);
    EXPECT_EQ(nameOf(disc, disc.library->jumpForAutoPlayVideoPostItem(disc[row.from])),
              row.expected);
}

const JumpRow kChainRows[] = {
    {"autoPlayVideos=0", -1, "T0", "nil"},
    {"autoPlayVideos=0,loopAutoPlayVideos", -1, "T0", "c00"},
    {"autoPlayVideos=1", -1, "T0", "nil"},
    {"autoPlayVideos=1,loopAutoPlayVideos", -1, "T0", "c00"},
    {"autoPlayVideos=2", -1, "T0", "c10"},
    {"autoPlayVideos=2", -1, "T1", "nil"},
    {"autoPlayVideos=2,loopAutoPlayVideos", -1, "T1", "c00"},
    {"autoPlayVideos=3", -1, "T1", "R2"},
    {"autoPlayVideos=4", -1, "R2", "nil"},  // T3 has no chapter
    {"autoPlayVideos=-1", -1, "T0", "c10"},
    {"autoPlayVideos=-1", -1, "T1", "R2"},
    {"autoPlayVideos=-5", -1, "R2", "nil"},
    {"autoPlayVideos=-1", -1, "T3", "nil"},
    {"autoPlayVideos=-1,loopAutoPlayVideos", -1, "T3", "c00"},
    {"autoPlayVideos=-1", 0, "W", "nil"},
    {"autoPlayVideos=-1,loopAutoPlayVideos", 0, "W", "c00"},
    {"autoPlayVideos=2", 0, "T0", "c10"},  // counted over normal titles
    {"autoPlayVideos=-1,loopSingleVideo,noMenu", -1, "T0", "c10"},
    {"autoPlayVideos=-1", -1, "Q", "nil"},
};

INSTANTIATE_TEST_SUITE_P(Rows, AutoPlayChain, ::testing::ValuesIn(kChainRows));

TEST(Navigation, startWithoutNormalTitlesIsNothing)
{
    DVDLibrary library;
    library.setNoMenu(true);
    EXPECT_EQ(library.jumpForActionItem(nullptr), nullptr);
    library.setTitles({title({chapter(1)}, true)});
    EXPECT_EQ(library.jumpForActionItem(nullptr), nullptr);
    library.setNoMenu(false);
    EXPECT_EQ(library.jumpForActionItem(nullptr), nullptr);  // no menus either
}

TEST(Navigation, menusNeverLeadToAChapterAtTheStart)
{
    Disc disc;
    applyFlags(*disc.library, "menuAutoJumpVideo,playTitleSequence");
    EXPECT_EQ(disc.library->jumpForActionItem(nullptr), disc["P0"]);
}

TEST(Navigation, resolvedTargetOfAnElement)
{
    Disc disc;
    auto resolve = [&](const char* name) {
        return disc.library->getJumpObjForMenuElement(
            std::dynamic_pointer_cast<DVDMenuElement>(disc[name]));
    };
    EXPECT_EQ(resolve("e0a"), disc["c00"]);
    EXPECT_EQ(resolve("e0b"), disc["S0"]);
    EXPECT_EQ(resolve("e0d"), disc["R2"]);
    EXPECT_EQ(resolve("e0c"), nullptr);
    EXPECT_EQ(resolve("e1a"), nullptr);
    EXPECT_EQ(disc.library->getJumpObjForMenuElement(nullptr), nullptr);
}

}  // namespace
