// Moving the selected entry up and down: the enable flags at both ends of
// every kind of sibling list, the swap, the selection staying on the moved
// entry, and sub-clips staying inside their merged clip.

#include <gtest/gtest.h>
#include <QPushButton>

#include "ListEditTestFixture.h"
#include "ListStateMakers.h"
#include "ListTreeFixture.h"
#include "listedit/ListEditView.h"
#include "listedit/core/ListEntryMover.h"
#include "listedit/core/ListSelection.h"

using namespace listtest;

namespace {

TEST(ListMoveTest, EnableFlagsAtTheEnds)
{
    ListTree tree;
    struct Case {
        const char* name;
        quint64 type;
        std::shared_ptr<Object> data;
        bool up;
        bool down;
    };
    const Case cases[] = {
        {"nothing selected", ListSelection::Nothing, tree.A, false, false},
        {"first clip", ListSelection::Clip, tree.A, false, true},
        {"middle clip", ListSelection::Clip, tree.B, true, true},
        {"merged clip, last of its title", ListSelection::Clip, tree.G, true, false},
        {"only clip of a title", ListSelection::Clip, tree.C, false, false},
        {"first sub-clip", ListSelection::Clip, tree.S0, false, true},
        {"last sub-clip", ListSelection::Clip, tree.S2, true, false},
        {"first title", ListSelection::Title, tree.T0, false, true},
        {"last title", ListSelection::Title, tree.T1, true, false},
        {"only title of a page", ListSelection::Title, tree.T2, false, false},
        {"first page", ListSelection::Page, tree.P0, false, true},
        {"last page", ListSelection::Page, tree.P1, true, false},
        {"type and data disagree", ListSelection::Page, tree.A, false, false},
        {"page not in the project", ListSelection::Page, std::make_shared<DVDPageData>(), false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ListSelection selection = selecting(c.type, c.data);
        EXPECT_EQ(ListEntryMover::isHasPreviousOrNextDataExist(*tree.project, selection, true),
                  c.up);
        EXPECT_EQ(ListEntryMover::isHasPreviousOrNextDataExist(*tree.project, selection, false),
                  c.down);
    }

    ListTree single;
    single.project->removeDvdPageFromArray(single.P1);
    const ListSelection onlyPage = selecting(ListSelection::Page, single.P0);
    EXPECT_FALSE(ListEntryMover::isHasPreviousOrNextDataExist(*single.project, onlyPage, true));
    EXPECT_FALSE(ListEntryMover::isHasPreviousOrNextDataExist(*single.project, onlyPage, false));
}

TEST(ListMoveTest, SwapsWithinTheSiblingList)
{
    ListTree tree;
    const auto project = tree.project;

    // A clip swaps with its neighbour and stays in its title.
    ListSelection selection = selecting(ListSelection::Clip, tree.A);
    EXPECT_TRUE(ListEntryMover::moveSelectedData(*project, selection, false));
    EXPECT_EQ(tree.T0->mediaDataArray(), (MediaData::ClipList{tree.B, tree.A, tree.G}));
    EXPECT_EQ(selection.selectedData, tree.A);
    EXPECT_TRUE(ListEntryMover::isHasPreviousOrNextDataExist(*project, selection, true));
    EXPECT_TRUE(ListEntryMover::moveSelectedData(*project, selection, true));
    EXPECT_EQ(tree.T0->mediaDataArray(), (MediaData::ClipList{tree.A, tree.B, tree.G}));

    // A clip at the end of its title does not move into the next title.
    selection = selecting(ListSelection::Clip, tree.G);
    EXPECT_FALSE(ListEntryMover::moveSelectedData(*project, selection, false));
    EXPECT_EQ(tree.T0->mediaDataArray(), (MediaData::ClipList{tree.A, tree.B, tree.G}));
    EXPECT_EQ(tree.T1->mediaDataArray(), (MediaData::ClipList{tree.C}));

    // A sub-clip moves among the sub-clips only, never out of its merged clip.
    selection = selecting(ListSelection::Clip, tree.S2);
    EXPECT_FALSE(ListEntryMover::moveSelectedData(*project, selection, false));
    EXPECT_TRUE(ListEntryMover::moveSelectedData(*project, selection, true));
    EXPECT_EQ(tree.G->subMediaArray(), (MediaData::ClipList{tree.S0, tree.S2, tree.S1}));
    EXPECT_TRUE(ListEntryMover::moveSelectedData(*project, selection, true));
    EXPECT_FALSE(ListEntryMover::moveSelectedData(*project, selection, true));
    EXPECT_EQ(tree.G->subMediaArray(), (MediaData::ClipList{tree.S2, tree.S0, tree.S1}));
    EXPECT_EQ(tree.T0->mediaDataArray(), (MediaData::ClipList{tree.A, tree.B, tree.G}));
    EXPECT_EQ(tree.S2->superMediaData(), tree.G);

    // Titles move within their page.
    selection = selecting(ListSelection::Title, tree.T1);
    EXPECT_TRUE(ListEntryMover::moveSelectedData(*project, selection, true));
    EXPECT_EQ(tree.P0->titleDataArray(), (DVDPageData::TitleList{tree.T1, tree.T0}));
    EXPECT_FALSE(ListEntryMover::moveSelectedData(*project, selection, true));
    EXPECT_EQ(tree.P1->titleDataArray(), (DVDPageData::TitleList{tree.T2}));

    // Pages move in a changed copy that replaces the project's list.
    const DataResource::PageList before = project->dvdPageArray();
    selection = selecting(ListSelection::Page, tree.P1);
    EXPECT_TRUE(ListEntryMover::moveSelectedData(*project, selection, true));
    EXPECT_EQ(project->dvdPageArray(), (DataResource::PageList{tree.P1, tree.P0}));
    EXPECT_EQ(before, (DataResource::PageList{tree.P0, tree.P1}));
    EXPECT_EQ(selection.selectedData, tree.P1);
}

class ListMoveButtonsTest : public ListEditTest {};

// The buttons follow the flags announced under their keys, and act on the
// selection.
TEST_F(ListMoveButtonsTest, ButtonsFollowTheSelection)
{
    ListEditViewController& list = makeController();
    ListEditView* view = list.listEditView();
    settle();
    EXPECT_FALSE(view->moveUpButton()->isEnabled());
    EXPECT_FALSE(view->moveDownButton()->isEnabled());

    const auto first = list.currentDVDPage();
    list.addMenuPageAction();
    list.setSelectedType(ListSelection::Page);
    list.setSelectedData(first);
    QStringList announced;
    QObject::connect(&list, &PropertyNotifier::willChangeValue,
                     [&](const QString& key) { announced << key; });
    list.selectedTypeDataChanged();
    EXPECT_EQ(announced, (QStringList{"moveUpButtonEnable", "moveDownButtonEnable"}));
    settle();
    EXPECT_FALSE(view->moveUpButton()->isEnabled());
    EXPECT_TRUE(view->moveDownButton()->isEnabled());

    view->moveDownButton()->click();
    settle();
    EXPECT_EQ(project()->dvdPageArray().last(), first);
    EXPECT_EQ(list.selectedData(), first);
    EXPECT_TRUE(view->moveUpButton()->isEnabled());
    EXPECT_FALSE(view->moveDownButton()->isEnabled());
}

}  // namespace
