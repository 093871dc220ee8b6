#pragma once
// The list edit fixture with the named tree (ListTreeText.h) as the
// project's pages, shown in a host window tall enough that the whole tree
// lies inside the scroll area, for the tests that drag onto the list.
//
// The tree (list coordinates, y down): P0 10, T0 65, A 115, B 190,
// G 265 (S0 340, S1 415, S2 490), T1 565, C 615, P1 690, T2 745, D 795.

#include "ListEditTestFixture.h"
#include "ListTreeText.h"
#include "listedit/ListTableView.h"

namespace listtest {

class ListTreeOnScreenTest : public ListEditTest {
protected:
    void SetUp() override
    {
        ListEditTest::SetUp();
        makeController();
        window.resize(1000, 1100);
        controller->view()->setGeometry(window.rect());
        project()->setDvdPageArray(tree.project->dvdPageArray());
        controller->reloadListTableView();
        settle();
    }

    ListTableView& list() const { return *controller->listTableView(); }

    NamedListTree tree;
};

}  // namespace listtest
