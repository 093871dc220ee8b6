// Putting clips into the title list at the place a drop state names: the
// places of every insert level and anchor kind, the places that are none,
// the merge into a clip (with a copy of a clip not merged yet, keeping its
// section and audio stream), the chapter merge without a copy, and the list
// view's two placing operations as the chapter editor calls them.

#include <QDialog>
#include <QThread>
#include <thread>

#include "ListEditTestFixture.h"
#include "ListStateMakers.h"
#include "ListTreeText.h"
#include "listedit/MediaDataView.h"
#include "listedit/core/ListMediaPlacement.h"
#include "model/MediaSectionItem.h"

using namespace listtest;

namespace {

// Every place of the table, with two clips X and Y.
TEST(ListPlacementTest, ClipsGoWhereTheDropStateSays)
{
    struct Case {
        const char* name;
        std::function<ListDropState(NamedListTree&)> state;
        const char* tree;
    };
    const Case cases[] = {
        {"titles at the top of a page", [](auto& t) { return insertUnder(2, t.P1); },
         "P0[T0(A,B,G{S0,S1,S2}),T1(C)] P1[new(X),new(Y),T2(D)]"},
        {"titles after a clip's title", [](auto& t) { return insertUnder(2, t.A); },
         "P0[T0(A,B,G{S0,S1,S2}),new(X),new(Y),T1(C)] P1[T2(D)]"},
        {"titles after a sub-clip's title", [](auto& t) { return insertUnder(2, t.S1); },
         "P0[T0(A,B,G{S0,S1,S2}),new(X),new(Y),T1(C)] P1[T2(D)]"},
        {"titles after the last title", [](auto& t) { return insertUnder(2, t.D); },
         "P0[T0(A,B,G{S0,S1,S2}),T1(C)] P1[T2(D),new(X),new(Y)]"},
        {"clips at the top of a title", [](auto& t) { return insertUnder(3, t.T1); },
         "P0[T0(A,B,G{S0,S1,S2}),T1(X,Y,C)] P1[T2(D)]"},
        {"clips after a clip", [](auto& t) { return insertUnder(3, t.A); },
         "P0[T0(A,X,Y,B,G{S0,S1,S2}),T1(C)] P1[T2(D)]"},
        {"clips after a sub-clip's merged clip", [](auto& t) { return insertUnder(3, t.S0); },
         "P0[T0(A,B,G{S0,S1,S2},X,Y),T1(C)] P1[T2(D)]"},
        {"clips after a merged clip", [](auto& t) { return insertUnder(3, t.G); },
         "P0[T0(A,B,G{S0,S1,S2},X,Y),T1(C)] P1[T2(D)]"},
        {"sub-clips at the top of a merged clip", [](auto& t) { return insertUnder(4, t.G); },
         "P0[T0(A,B,G{X,Y,S0,S1,S2}),T1(C)] P1[T2(D)]"},
        {"sub-clips after a sub-clip", [](auto& t) { return insertUnder(4, t.S1); },
         "P0[T0(A,B,G{S0,S1,X,Y,S2}),T1(C)] P1[T2(D)]"},
        {"sub-clips after the last sub-clip", [](auto& t) { return insertUnder(4, t.S2); },
         "P0[T0(A,B,G{S0,S1,S2,X,Y}),T1(C)] P1[T2(D)]"},
        {"merged into a merged clip", [](auto& t) { return mergeInto(t.G); },
         "P0[T0(A,B,G{S0,S1,S2,X,Y}),T1(C)] P1[T2(D)]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NamedListTree tree;
        const auto X = NamedListTree::loose("X");
        const auto Y = NamedListTree::loose("Y");
        ListMediaPlacement placement(*tree.project);
        const ListDropState state = c.state(tree);
        EXPECT_TRUE(placement.canPlace(state));
        EXPECT_TRUE(placement.addMediaArrayToList(state, {X, Y}));
        EXPECT_EQ(tree.text(), c.tree);
    }
}

// Drop states that name no place change nothing, whatever clips are given.
TEST(ListPlacementTest, NoPlaceChangesNothing)
{
    struct Case {
        const char* name;
        std::function<ListDropState(NamedListTree&)> state;
    };
    const Case cases[] = {
        {"no target",
         [](auto& t) {
             ListDropState state = insertUnder(2, t.P0);
             state.insertOrMerge = 0;
             return state;
         }},
        {"page level", [](auto& t) { return insertUnder(1, t.P0); }},
        {"before the first page", [](auto&) { return insertUnder(2, ListDropState::firstPage()); }},
        {"a title at title level", [](auto& t) { return insertUnder(2, t.T0); }},
        {"a page at clip level", [](auto& t) { return insertUnder(3, t.P0); }},
        {"a plain clip at sub-clip level", [](auto& t) { return insertUnder(4, t.A); }},
        {"a title at sub-clip level", [](auto& t) { return insertUnder(4, t.T0); }},
        {"level 5", [](auto& t) { return insertUnder(5, t.A); }},
        {"an anchor no longer listed",
         [](auto& t) {
             t.P0->titleDataArray().removeAll(t.T1);
             return insertUnder(3, t.C);
         }},
        {"a page no longer listed",
         [](auto& t) {
             t.project->removeDvdPageFromArray(t.P1);
             return insertUnder(2, t.P1);
         }},
        {"an anchor gone", [](auto&) { return insertUnder(3, NamedListTree::loose("gone")); }},
        {"a merge into a sub-clip", [](auto& t) { return mergeInto(t.S0); }},
        {"a merge into no clip", [](auto&) { return mergeInto(nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NamedListTree tree;
        const auto X = NamedListTree::loose("X");
        ListMediaPlacement placement(*tree.project);
        const ListDropState state = c.state(tree);
        const QString before = tree.text();
        EXPECT_FALSE(placement.canPlace(state));
        EXPECT_FALSE(placement.addMediaArrayToList(state, {X}));
        EXPECT_EQ(tree.text(), before);
        EXPECT_FALSE(X->superTitleData() || X->superMediaData());
    }
    NamedListTree tree;
    EXPECT_FALSE(
        ListMediaPlacement(*tree.project).addMediaArrayToList(insertUnder(2, tree.P0), {}));
    EXPECT_EQ(tree.text(), NamedListTree::Start);
}

// A clip not merged yet becomes a merged clip in its place: a copy of it
// first, holding its section and its audio stream, then the new clips.
TEST(ListPlacementTest, MergeIntoAPlainClipCopiesItFirst)
{
    NamedListTree tree;
    const auto section = std::make_shared<MediaSectionItem>();
    tree.A->setSectionItem(section);
    section->setAssociatedMedia(tree.A);
    tree.A->setAudioTreamTag(1);
    const auto X = NamedListTree::loose("X");

    ASSERT_TRUE(ListMediaPlacement(*tree.project).addMediaArrayToList(mergeInto(tree.A), {X}));
    EXPECT_EQ(tree.text(), "P0[T0(A{A,X},B,G{S0,S1,S2}),T1(C)] P1[T2(D)]");
    EXPECT_EQ(tree.T0->mediaDataArray().first(), tree.A);
    const auto copy = tree.A->subMediaArray().first();
    EXPECT_NE(copy, tree.A);
    EXPECT_EQ(copy->sectionItem(), section);
    EXPECT_EQ(section->associatedMedia(), copy);
    EXPECT_EQ(tree.A->sectionItem(), nullptr);
    EXPECT_EQ(copy->audioTreamTag(), 1);
}

// The chapter editor's merge takes the clips as the sub-clips, no copy.
TEST(ListPlacementTest, ChapterMergeAppendsWithoutACopy)
{
    NamedListTree tree;
    ListMediaPlacement placement(*tree.project);
    const auto X = NamedListTree::loose("X");
    const auto Y = NamedListTree::loose("Y");
    ASSERT_TRUE(placement.mergeMediaArrayIntoMedia(tree.A, {X, Y}));
    EXPECT_EQ(tree.text(), "P0[T0(A{X,Y},B,G{S0,S1,S2}),T1(C)] P1[T2(D)]");
    ASSERT_TRUE(placement.mergeMediaArrayIntoMedia(tree.G, {NamedListTree::loose("Z")}));
    EXPECT_EQ(tree.text(), "P0[T0(A{X,Y},B,G{S0,S1,S2,Z}),T1(C)] P1[T2(D)]");

    // A sub-clip cannot hold sub-clips, and an unlisted clip is no place.
    const QString before = tree.text();
    EXPECT_FALSE(placement.mergeMediaArrayIntoMedia(tree.S0, {NamedListTree::loose("W")}));
    EXPECT_FALSE(
        placement.mergeMediaArrayIntoMedia(NamedListTree::loose("V"), {NamedListTree::loose("W")}));
    EXPECT_FALSE(placement.mergeMediaArrayIntoMedia(nullptr, {NamedListTree::loose("W")}));
    EXPECT_EQ(tree.text(), before);
}

// The list view's operations, called as the chapter editor calls them: from
// the main thread or any other, with the chapter editor's own sheet up.
class ListPlacementViewTest : public ListEditTest {
protected:
    void SetUp() override
    {
        ListEditTest::SetUp();
        makeController();
        project()->setDvdPageArray(tree.project->dvdPageArray());
        controller->reloadListTableView();
        chapterSheet = new QDialog(&window, Qt::Sheet);
        chapterSheet->setWindowModality(Qt::WindowModal);
        chapterSheet->open();
        calls().clear();
    }
    void TearDown() override
    {
        delete chapterSheet;
        ListEditTest::TearDown();
    }

    ListTableView& list() const { return *controller->listTableView(); }
    // Whether a reload met the clip: it has a row in the list.
    bool listed(const MediaData::Ptr& clip) const
    {
        auto* row = dynamic_cast<MediaDataView*>(clip->mediaDataView());
        return row && row->parentWidget() == &list() && row->isVisible();
    }

    NamedListTree tree;
    QDialog* chapterSheet = nullptr;
};

TEST_F(ListPlacementViewTest, ChapterInsertPlacesReloadsAndLeavesTheSheetsAlone)
{
    const auto X = NamedListTree::loose("X");
    const auto Y = NamedListTree::loose("Y");
    list().setInsertOrMerge(1);
    list().setInsertedType(4);
    list().setInsertUnderData(tree.S0);
    list().addMediaArrayToList({X, Y});

    EXPECT_EQ(tree.G->subMediaArray(), (MediaData::ClipList{tree.S0, X, Y, tree.S1, tree.S2}));
    EXPECT_TRUE(listed(X) && listed(Y));
    EXPECT_TRUE(calls().contains("setDocumentEdited:YES"));
    EXPECT_EQ(list().insertOrMerge(), 0);  // the reload reset the drop state
    EXPECT_TRUE(chapterSheet->isVisible());
    EXPECT_EQ(controller->importWindow(), nullptr);

    // From another thread the work still runs on the main thread, and the
    // call returns once it is done.
    const auto Z = NamedListTree::loose("Z");
    list().setInsertOrMerge(1);
    list().setInsertedType(3);
    list().setInsertUnderData(tree.C);
    bool returned = false;
    std::thread caller([&] {
        list().addMediaArrayToList({Z});
        returned = true;
    });
    ASSERT_TRUE(waitFor([&] { return returned; }));
    caller.join();
    EXPECT_EQ(tree.T1->mediaDataArray(), (MediaData::ClipList{tree.C, Z}));
    EXPECT_TRUE(listed(Z));
    EXPECT_TRUE(chapterSheet->isVisible());
}

TEST_F(ListPlacementViewTest, ChapterMergeMakesTheClipsItsSubClips)
{
    const auto X = NamedListTree::loose("X");
    const auto Y = NamedListTree::loose("Y");
    list().setInsertOrMerge(2);
    list().setMergeMedia(tree.B);
    list().clipEditControllerMergeMediaArrayToList({X, Y});
    EXPECT_TRUE(tree.B->hasSubMedia());
    EXPECT_EQ(tree.B->subMediaArray(), (MediaData::ClipList{X, Y}));
    EXPECT_TRUE(listed(X) && listed(Y));
    EXPECT_TRUE(calls().contains("setDocumentEdited:YES"));
    EXPECT_TRUE(chapterSheet->isVisible());

    // No listed place: nothing placed, the list still reloads.
    const QString before = treeText(*project());
    calls().clear();
    list().setInsertOrMerge(1);
    list().setInsertedType(1);
    list().setInsertUnderData(tree.P0);
    list().addMediaArrayToList({NamedListTree::loose("W")});
    EXPECT_EQ(treeText(*project()), before);
    EXPECT_TRUE(calls().contains("setDocumentEdited:YES"));
}

}  // namespace
