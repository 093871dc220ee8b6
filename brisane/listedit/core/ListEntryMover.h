#pragma once
// Moving the title list's selected entry up or down among its siblings: a
// sub-clip among the sub-clips of its merged clip, any other clip among the
// clips of its title, a title among the titles of its page, a page among the
// project's pages. An entry never leaves its sibling list this way.
//
// Main thread only.

class DataResource;
struct ListSelection;

class ListEntryMover {
public:
    ListEntryMover() = delete;

    // Whether the selected entry has a sibling directly before it (`isPre`)
    // or after it; false when nothing is selected or the entry is not in its
    // sibling list.
    static bool isHasPreviousOrNextDataExist(const DataResource& project,
                                             const ListSelection& selection, bool isPre);
    // Swaps the selected entry with that sibling. Clips, sub-clips and titles
    // move inside their lists; the pages move in a changed copy of the
    // project's page list, which then replaces it. The selection stays on the
    // entry. False, with nothing changed, when there is no such sibling.
    static bool moveSelectedData(DataResource& project, const ListSelection& selection, bool up);
};
