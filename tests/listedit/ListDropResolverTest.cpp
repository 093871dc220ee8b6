// Where a drag over the title list would land, on a fixed tree laid out as
// the list lays it out:
//   P0 10-50, T0 65-100, A 115-175, B 190-250, G 265-325 (S0 340-400,
//   S1 415-475, S2 490-550), T1 565-600, C 615-675, P1 690-730, T2 745-780,
//   D 795-855; content height 870; list width 900.

#include <gtest/gtest.h>

#include "ListTreeText.h"
#include "listedit/core/ListDropResolver.h"
#include "listedit/core/ListTableLayout.h"
#include "listedit/core/ListTreeQuery.h"

using namespace listtest;

namespace {

constexpr double Width = 900.0;
using Variant = ListDropResolver::Variant;

// The entry's name in the fixture, "FirstPage", or "-" for none.
QString anchorName(const std::shared_ptr<Object>& anchor)
{
    if (!anchor) {
        return "-";
    }
    if (ListDropState::isFirstPage(anchor)) {
        return ListDropState::firstPageName();
    }
    if (const auto page = std::dynamic_pointer_cast<DVDPageData>(anchor)) {
        return page->name();
    }
    if (const auto title = std::dynamic_pointer_cast<DVDTitleData>(anchor)) {
        return title->name();
    }
    return std::dynamic_pointer_cast<MediaData>(anchor)->name();
}

// The drop target as text: "insert 2 P0", "merge B" or "none".
QString targetText(const ListDropState& state)
{
    switch (state.insertOrMerge) {
        case ListDropState::Insert:
            return QString("insert %1 %2")
                .arg(state.insertedType)
                .arg(anchorName(state.insertUnderData.lock()));
        case ListDropState::Merge:
            return "merge " + anchorName(state.mergeMedia.lock());
        default:
            return "none";
    }
}

struct DropCase {
    Variant variant;
    QPointF point;
    quint64 kind;
    const char* target;
    QRectF marker;
};

class ListDropResolverTest : public ::testing::Test {
protected:
    ListDropResolver resolver() const
    {
        const auto& pages = tree.project->dvdPageArray();
        return ListDropResolver(pages, Width, ListTableLayout::contentHeight(pages));
    }
    // One update of an own drag (reset first) carrying `dragged`.
    void check(const DropCase& c, const Object* dragged = nullptr)
    {
        SCOPED_TRACE(QString("at %1, %2").arg(c.point.x()).arg(c.point.y()).toStdString());
        ListDropState state;
        const QRectF marker = resolver().resolve(c.variant, state, c.point, dragged);
        EXPECT_EQ(state.dragToType, c.kind);
        EXPECT_EQ(targetText(state), c.target);
        EXPECT_EQ(marker, c.marker);
    }
    static QRectF line(double x, double y) { return QRectF(x, y, Width - x, 1.0); }

    NamedListTree tree;
};

TEST_F(ListDropResolverTest, ClipDrags)
{
    const QRectF none;
    const DropCase cases[] = {
        {Variant::Media, {200, 9.9}, 1, "none", none},
        {Variant::Media, {200, 10}, 5, "insert 2 P0", line(70, 57.5)},
        {Variant::Media, {200, 100}, 4, "insert 3 T0", line(120, 107.5)},
        // Over a clip from its top edge to its bottom edge: merge, outline.
        {Variant::Media, {300, 190}, 3, "merge B", QRectF(120, 190, Width - 120, 60)},
        {Variant::Media, {300, 250}, 3, "merge B", QRectF(120, 190, Width - 120, 60)},
        // One point below, in the gap: an insert after it.
        {Variant::Media, {300, 251}, 3, "insert 3 B", line(120, 257.5)},
        // Below a clip that is not its title's last: a clip after it.
        {Variant::Media, {50, 180}, 3, "insert 3 A", line(120, 182.5)},
        // Below the last clip of a title: a title after it up to x 120.
        {Variant::Media, {120, 680}, 3, "insert 2 C", line(70, 682.5)},
        {Variant::Media, {121, 680}, 3, "insert 3 C", line(120, 682.5)},
        // Below a merged clip: sub-clips at its top.
        {Variant::Media, {300, 330}, 3, "insert 4 G", line(170, 332.5)},
        // Sub-clips: the upper half goes before it, the lower half after.
        {Variant::Media, {300, 350}, 2, "insert 4 G", line(170, 332.5)},
        {Variant::Media, {300, 430}, 2, "insert 4 S0", line(170, 407.5)},
        {Variant::Media, {300, 460}, 2, "insert 4 S1", line(170, 482.5)},
        // Below the last sub-clip the level follows x.
        {Variant::Media, {100, 555}, 2, "insert 2 S2", line(70, 557.5)},
        {Variant::Media, {150, 555}, 2, "insert 3 S2", line(120, 557.5)},
        {Variant::Media, {120, 555}, 2, "insert 4 S2", line(170, 557.5)},
        {Variant::Media, {200, 555}, 2, "insert 4 S2", line(170, 557.5)},
        {Variant::Media, {200, 700}, 5, "insert 2 P1", line(70, 737.5)},
        // Past the content height: a title after the very last one.
        {Variant::Media, {200, 870.5}, 8, "insert 2 D", line(70, 862.5)},
        // Exactly on the content height and beside the rows: nothing.
        {Variant::Media, {200, 870}, 0, "none", none},
        {Variant::Media, {Width, 200}, 0, "none", none},
    };
    for (const DropCase& c : cases) {
        check(c);
    }
    // Over its own row a dragged clip merges into itself: no outline.
    check({Variant::Media, {300, 200}, 3, "merge B", none}, tree.B.get());
}

TEST_F(ListDropResolverTest, TitleAndPageDrags)
{
    const QRectF none;
    const DropCase cases[] = {
        {Variant::Title, {200, 5}, 1, "none", none},
        {Variant::Title, {200, 30}, 5, "insert 2 P0", line(70, 57.5)},
        // The upper half of the first title's block: at the top of its page.
        {Variant::Title, {200, 70}, 6, "insert 2 P0", line(70, 57.5)},
        {Variant::Title, {200, 315}, 6, "insert 2 T0", line(70, 557.5)},
        {Variant::Title, {200, 600}, 6, "insert 2 T0", line(70, 557.5)},
        {Variant::Title, {200, 650}, 6, "insert 2 T1", line(70, 682.5)},
        {Variant::Title, {200, 871}, 8, "insert 2 T2", line(70, 862.5)},
        // The upper half of the first page's block, its last gap not counted.
        {Variant::Page, {200, 5}, 1, "insert 1 FirstPage", line(0, 5)},
        {Variant::Page, {200, 100}, 7, "insert 1 FirstPage", line(0, 5)},
        {Variant::Page, {200, 342.5}, 7, "insert 1 P0", line(0, 682.5)},
        {Variant::Page, {200, 700}, 7, "insert 1 P0", line(0, 682.5)},
        {Variant::Page, {200, 800}, 7, "insert 1 P1", line(0, 862.5)},
        {Variant::Page, {200, 871}, 8, "insert 1 P1", line(0, 862.5)},
        // Beside the list or on the content height: no page block, no place.
        {Variant::Page, {Width + 5, 400}, 0, "none", none},
        {Variant::Page, {200, 870}, 0, "none", none},
    };
    for (const DropCase& c : cases) {
        check(c);
    }
}

// File drags run without a reset: moved up into the top 10 points the drag
// keeps its target and marker; a page drag with no block under it does not
// take over an anchor left from before.
TEST_F(ListDropResolverTest, LeftOverStateAndGoneAnchors)
{
    ListDropState state;
    resolver().resolve(Variant::Media, state, {200, 10});
    const QRectF marker = resolver().resolve(Variant::Media, state, {200, 5});
    EXPECT_EQ(state.dragToType, 1u);
    EXPECT_EQ(targetText(state), "insert 2 P0");
    EXPECT_EQ(marker, line(70, 57.5));

    resolver().resolve(Variant::Media, state, {300, 200});
    ASSERT_EQ(targetText(state), "merge B");
    state.insertUnder(3, tree.A);
    EXPECT_TRUE(resolver().resolve(Variant::Page, state, {Width + 5, 400}).isEmpty());
    EXPECT_EQ(state.insertOrMerge, 0);

    // An anchor that has gone shows no marker, and the row it stood in no
    // longer gives a target.
    {
        auto gone = NamedListTree::loose("gone");
        state.insertUnder(3, gone);
        state.dragToType = ListDropState::ClipRow;
        state.dragToMedia = gone;
    }
    EXPECT_TRUE(resolver().insertLineFrameForDragMedia(state).isEmpty());
    state.reset();
    state.dragToType = ListDropState::ClipRow;
    resolver().updateDragMediaInformationWithPoint(state, {300, 200});
    EXPECT_EQ(state.insertOrMerge, 0);
}

TEST(ListTreeQueryTest, EndsOfTitlesMergedClipsAndTheList)
{
    NamedListTree tree;
    EXPECT_EQ(ListTreeQuery::preMediaBeforeSubMediaData(tree.S0), tree.G);
    EXPECT_EQ(ListTreeQuery::preMediaBeforeSubMediaData(tree.S2), tree.S1);
    EXPECT_EQ(ListTreeQuery::preMediaBeforeSubMediaData(tree.A), nullptr);
    EXPECT_EQ(ListTreeQuery::finalMediaForDVDTitleData(*tree.T0), tree.S2);
    EXPECT_EQ(ListTreeQuery::finalMediaForDVDTitleData(*tree.T1), tree.C);
    EXPECT_EQ(ListTreeQuery::finalMediaForAll(tree.project->dvdPageArray()), tree.D);
    const auto empty = tree.page();
    EXPECT_EQ(ListTreeQuery::finalMediaForAll(tree.project->dvdPageArray()), empty);
    EXPECT_EQ(ListTreeQuery::finalMediaForAll({}), nullptr);
}

}  // namespace
