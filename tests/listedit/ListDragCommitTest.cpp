// The end of a row dragged inside the title list: pages and titles moved
// among their siblings, clips moved into other titles, new titles, merged
// clips or merged into another clip, the drops that change nothing (and keep
// the clip's section with it), the current page kept through a reorder, and
// a release outside the list deleting the entry.

#include <gtest/gtest.h>

#include "../model/DataResourceTestFixture.h"
#include "ListStateMakers.h"
#include "ListTreeText.h"
#include "listedit/core/ListDragCommit.h"
#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListSelection.h"
#include "model/DVDFileSource.h"
#include "model/DVDPageItem.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

using namespace listtest;

namespace {

// Four named pages of one project, each with no titles.
struct FourPages {
    std::shared_ptr<DataResource> project = std::make_shared<DataResource>();
    QList<std::shared_ptr<DVDPageData>> pages;
    FourPages()
    {
        for (const char* name : {"P1", "P2", "P3", "P4"}) {
            auto page = std::make_shared<DVDPageData>();
            page->setName(name);
            project->addDvdPageToArray(page);
            pages.append(page);
        }
    }
    QString text() const { return treeText(*project); }
};

TEST(ListDragCommitTest, PagesMoveAmongThePages)
{
    struct Case {
        int dragged;
        int after;  // -1: "FirstPage"
        const char* result;
    };
    const Case cases[] = {
        {0, 2, "P2[] P3[] P1[] P4[]"}, {3, -1, "P4[] P1[] P2[] P3[]"},
        {1, 0, "P1[] P2[] P3[] P4[]"},  // already there
        {2, 2, "P1[] P2[] P3[] P4[]"},  // after itself
        {0, 3, "P2[] P3[] P4[] P1[]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        FourPages four;
        const auto dragged = four.pages.at(c.dragged);
        ListSelection selection = selecting(ListSelection::Page, dragged);
        selection.currentDVDPage = dragged;
        const auto anchor = c.after < 0 ? ListDropState::firstPage()
                                        : std::shared_ptr<Object>(four.pages.at(c.after));
        ListDragCommit(*four.project, selection).commitInside(insertUnder(1, anchor));
        EXPECT_EQ(four.text(), c.result);
        // A moved current page stays current.
        EXPECT_EQ(selection.currentDVDPage.lock(), dragged);
    }
}

TEST(ListDragCommitTest, TitlesMoveWithinAndBetweenPages)
{
    struct Case {
        int dragged;
        int after;  // -1: the top of the other page
        const char* result;
    };
    const Case cases[] = {
        {0, 2, "P[T2(b),T3(c),T1(a),T4(d)] Q[Tq(q)]"},
        {2, 1, "P[T1(a),T2(b),T3(c),T4(d)] Q[Tq(q)]"},  // already there
        {0, -1, "P[T2(b),T3(c),T4(d)] Q[T1(a),Tq(q)]"},
        {3, 0, "P[T1(a),T4(d),T2(b),T3(c)] Q[Tq(q)]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        auto project = std::make_shared<DataResource>();
        const auto page = [&](const char* name) {
            auto made = std::make_shared<DVDPageData>();
            made->setName(name);
            project->addDvdPageToArray(made);
            return made;
        };
        const auto P = page("P");
        const auto Q = page("Q");
        QList<std::shared_ptr<DVDTitleData>> titles;
        const auto title = [&](const std::shared_ptr<DVDPageData>& in, const char* name,
                               const char* clip) {
            auto made = ListTree::title(in);
            made->setName(name);
            ListTree::clip(made)->setName(clip);
            return made;
        };
        for (const auto& [name, clip] :
             {std::pair{"T1", "a"}, {"T2", "b"}, {"T3", "c"}, {"T4", "d"}}) {
            titles.append(title(P, name, clip));
        }
        title(Q, "Tq", "q");
        ListSelection selection = selecting(ListSelection::Title, titles.at(c.dragged));
        const auto anchor =
            c.after < 0 ? std::shared_ptr<Object>(Q) : std::shared_ptr<Object>(titles.at(c.after));
        ListDragCommit(*project, selection).commitInside(insertUnder(2, anchor));
        EXPECT_EQ(treeText(*project), c.result);
    }
}

// Start: P0[T0(A,B,G{S0,S1,S2}),T1(C)] P1[T2(D)].
TEST(ListDragCommitTest, ClipsMoveAndMerge)
{
    struct Case {
        const char* name;
        std::function<MediaData::Ptr(NamedListTree&)> dragged;
        std::function<ListDropState(NamedListTree&)> state;
        const char* result;
    };
    const Case cases[] = {
        {"the only clip of a title to a page row", [](auto& t) { return t.C; },
         [](auto& t) { return insertUnder(2, t.P1); }, "P0[T0(A,B,G{S0,S1,S2})] P1[new(C),T2(D)]"},
        {"a clip into a new title after a clip's title", [](auto& t) { return t.A; },
         [](auto& t) { return insertUnder(2, t.C); },
         "P0[T0(B,G{S0,S1,S2}),T1(C),new(A)] P1[T2(D)]"},
        {"a clip to the top of a title", [](auto& t) { return t.D; },
         [](auto& t) { return insertUnder(3, t.T0); }, "P0[T0(D,A,B,G{S0,S1,S2}),T1(C)] P1[]"},
        {"a clip after a clip", [](auto& t) { return t.A; },
         [](auto& t) { return insertUnder(3, t.C); }, "P0[T0(B,G{S0,S1,S2}),T1(C,A)] P1[T2(D)]"},
        {"a sub-clip out of its merged clip", [](auto& t) { return t.S1; },
         [](auto& t) { return insertUnder(3, t.A); }, "P0[T0(A,S1,B,G{S0,S2}),T1(C)] P1[T2(D)]"},
        {"a sub-clip among its siblings", [](auto& t) { return t.S0; },
         [](auto& t) { return insertUnder(4, t.S2); }, "P0[T0(A,B,G{S1,S2,S0}),T1(C)] P1[T2(D)]"},
        {"a sub-clip to the top of its merged clip", [](auto& t) { return t.S2; },
         [](auto& t) { return insertUnder(4, t.G); }, "P0[T0(A,B,G{S2,S0,S1}),T1(C)] P1[T2(D)]"},
        {"a clip among sub-clips", [](auto& t) { return t.C; },
         [](auto& t) { return insertUnder(4, t.S0); }, "P0[T0(A,B,G{S0,C,S1,S2})] P1[T2(D)]"},
        {"a merged clip to another title", [](auto& t) { return t.G; },
         [](auto& t) { return insertUnder(3, t.D); }, "P0[T0(A,B),T1(C)] P1[T2(D,G{S0,S1,S2})]"},
        {"a plain clip onto a plain clip", [](auto& t) { return t.C; },
         [](auto& t) { return mergeInto(t.A); }, "P0[T0(A{A,C},B,G{S0,S1,S2})] P1[T2(D)]"},
        {"a plain clip onto a merged clip", [](auto& t) { return t.A; },
         [](auto& t) { return mergeInto(t.G); }, "P0[T0(B,G{S0,S1,S2,A}),T1(C)] P1[T2(D)]"},
        {"a merged clip onto a plain clip", [](auto& t) { return t.G; },
         [](auto& t) { return mergeInto(t.D); }, "P0[T0(A,B),T1(C)] P1[T2(D{D,S0,S1,S2})]"},
        {"a sub-clip onto its own merged clip", [](auto& t) { return t.S0; },
         [](auto& t) { return mergeInto(t.G); }, "P0[T0(A,B,G{S1,S2,S0}),T1(C)] P1[T2(D)]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NamedListTree tree;
        const auto dragged = c.dragged(tree);
        ListSelection selection = selecting(ListSelection::Clip, dragged);
        const auto result = ListDragCommit(*tree.project, selection).commitInside(c.state(tree));
        EXPECT_TRUE(result.changed);
        EXPECT_EQ(tree.text(), c.result);
        EXPECT_EQ(selection.selectedType, ListSelection::Nothing);
    }
}

// Merged sub-clips [P1, P2] dropped on a merged clip [Q1, Q2] follow its own.
TEST(ListDragCommitTest, MergedClipOntoMergedClip)
{
    NamedListTree tree;
    tree.B->setHasSubMedia(true);
    for (const char* name : {"Q1", "Q2"}) {
        ListTree::member(tree.B)->setName(name);
    }
    tree.G->subMediaArray().removeLast();
    tree.S0->setName("P1");
    tree.S1->setName("P2");
    ListSelection selection = selecting(ListSelection::Clip, tree.G);
    ListDragCommit(*tree.project, selection).commitInside(mergeInto(tree.B));
    EXPECT_EQ(tree.text(), "P0[T0(A,B{Q1,Q2,P1,P2}),T1(C)] P1[T2(D)]");
}

// Every drop that places nothing leaves the tree, and the dragged clip with
// its section, as they were.
TEST(ListDragCommitTest, DropsOnItselfChangeNothing)
{
    struct Case {
        const char* name;
        std::function<MediaData::Ptr(NamedListTree&)> dragged;
        std::function<ListDropState(NamedListTree&)> state;
    };
    const Case cases[] = {
        {"a merged clip among its own sub-clips", [](auto& t) { return t.G; },
         [](auto& t) { return insertUnder(4, t.S1); }},
        {"a merged clip at the top of itself", [](auto& t) { return t.G; },
         [](auto& t) { return insertUnder(4, t.G); }},
        {"a clip merged into itself", [](auto& t) { return t.A; },
         [](auto& t) { return mergeInto(t.A); }},
        {"a sub-clip below its own middle", [](auto& t) { return t.S1; },
         [](auto& t) { return insertUnder(4, t.S1); }},
        {"no target", [](auto& t) { return t.A; },
         [](auto& t) {
             ListDropState state = insertUnder(3, t.C);
             state.insertOrMerge = 0;
             return state;
         }},
        {"a page level", [](auto& t) { return t.A; }, [](auto& t) { return insertUnder(1, t.P0); }},
        {"an anchor no longer listed", [](auto& t) { return t.A; },
         [](auto& t) {
             t.P1->titleDataArray().clear();
             return insertUnder(3, t.D);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NamedListTree tree;
        const auto dragged = c.dragged(tree);
        const auto section = std::make_shared<MediaSectionItem>();
        const auto own = dragged->hasSubMedia() ? tree.S1 : dragged;
        own->setSectionItem(section);
        section->setAssociatedMedia(own);
        const ListDropState state = c.state(tree);
        const QString before = tree.text();
        ListSelection selection = selecting(ListSelection::Clip, dragged);
        const auto result = ListDragCommit(*tree.project, selection).commitInside(state);
        EXPECT_FALSE(result.changed);
        EXPECT_EQ(tree.text(), before);
        EXPECT_EQ(own->sectionItem(), section);
        EXPECT_EQ(section->associatedMedia(), own);
    }
}

// The clip that arrives is a copy for the move: it takes the section over,
// keeps the chosen audio stream and, in a title, the chapter button with its
// picture settings, which now shows the copy.
TEST(ListDragCommitTest, MovedClipKeepsSectionAudioAndChapterButton)
{
    NamedListTree tree;
    const auto section = std::make_shared<MediaSectionItem>();
    tree.A->setSectionItem(section);
    section->setAssociatedMedia(tree.A);
    tree.A->setAudioTreamTag(2);
    const auto item = std::make_shared<DVDPageItem>();
    item->setMedia(tree.A);
    tree.A->setMenuItem(item);

    ListSelection selection = selecting(ListSelection::Clip, tree.A);
    ListDragCommit(*tree.project, selection).commitInside(insertUnder(3, tree.C));
    const auto moved = tree.T1->mediaDataArray().last();
    ASSERT_NE(moved, tree.A);
    EXPECT_EQ(moved->sectionItem(), section);
    EXPECT_EQ(section->associatedMedia(), moved);
    EXPECT_EQ(moved->audioTreamTag(), 2);
    EXPECT_EQ(moved->menuItem(), item);
    EXPECT_EQ(item->media(), moved);

    // Merged into another clip it keeps its stream as a sub-clip.
    selection = selecting(ListSelection::Clip, moved);
    ListDragCommit(*tree.project, selection).commitInside(mergeInto(tree.D));
    const auto member = tree.D->subMediaArray().last();
    EXPECT_EQ(member->audioTreamTag(), 2);
    EXPECT_EQ(member->sectionItem(), section);
}

TEST(ListDragCommitTest, ReleaseOutsideDeletes)
{
    NamedListTree tree;
    ListSelection selection = selecting(ListSelection::Clip, tree.S0);
    ListDragCommit(*tree.project, selection).commitOutside();
    EXPECT_EQ(tree.text(), "P0[T0(A,B,G{S1,S2}),T1(C)] P1[T2(D)]");
    selection = selecting(ListSelection::Title, tree.T1);
    ListDragCommit(*tree.project, selection).commitOutside();
    EXPECT_EQ(tree.text(), "P0[T0(A,B,G{S1,S2})] P1[T2(D)]");

    // The only page gives way to a new empty one, which becomes current.
    FourPages four;
    four.project->setDvdPageArray({four.pages.first()});
    selection = selecting(ListSelection::Page, four.pages.first());
    selection.currentDVDPage = four.pages.first();
    ListDragCommit(*four.project, selection).commitOutside();
    ASSERT_EQ(four.project->dvdPageArray().size(), 1);
    EXPECT_NE(four.project->dvdPageArray().first(), four.pages.first());
    EXPECT_EQ(selection.currentDVDPage.lock(), four.project->dvdPageArray().first());
}

// With real clips: the audio stream chosen for a clip stays chosen after
// the clip was dragged to another title and then merged into a clip, and
// after the project was saved and opened again.
class ListDragCommitMediaTest : public mediatest::OpenProjectTest {};

TEST_F(ListDragCommitMediaTest, AudioChoiceSurvivesMovesASaveAndAReopen)
{
    DataResource& project = *services->media;
    ListSelection selection;
    const auto page = ListMediaFactory::addMenuPageToArray(project, selection);
    const auto chosen = ListMediaFactory::createMediaDataWithPath(project, clip("chosen.mp4", 1.5));
    const auto other = ListMediaFactory::createMediaDataWithPath(project, clip("other.mp4", 1.5));
    ASSERT_TRUE(chosen && other);
    for (const auto& made : {chosen, other}) {
        ListMediaFactory::appendTitleToPage(ListMediaFactory::createDVDTitleDataWithMedia(made),
                                            page);
    }
    chosen->setAudioTreamTag(1);

    selection = selecting(ListSelection::Clip, chosen);
    ListDragCommit(project, selection).commitInside(insertUnder(3, other));
    ASSERT_EQ(page->titleDataArray().size(), 1);
    const auto moved = page->titleDataArray().first()->mediaDataArray().last();
    selection = selecting(ListSelection::Clip, moved);
    ListDragCommit(project, selection).commitInside(mergeInto(other));
    ASSERT_EQ(other->subMediaArray().size(), 2);
    EXPECT_EQ(other->subMediaArray().last()->audioTreamTag(), 1);

    const mediatest::Project reopened =
        mediatest::unarchiveProject(mediatest::archiveProject(services->media, services->disc));
    ASSERT_TRUE(reopened.media);
    const auto merged =
        reopened.media->dvdPageArray().value(0)->titleDataArray().value(0)->mediaDataArray().value(
            0);
    ASSERT_TRUE(merged && merged->hasSubMedia());
    ASSERT_EQ(merged->subMediaArray().size(), 2);
    const auto member = merged->subMediaArray().last();
    EXPECT_EQ(member->audioTreamTag(), 1);
    ASSERT_TRUE(member->sectionItem());
    EXPECT_TRUE(reopened.media->sectionDataResourceArray().contains(
        member->sectionItem()->superResource()));
    EXPECT_EQ(merged->subMediaArray().first()->audioTreamTag(), 99);
}

}  // namespace
