#pragma once
// The role a row of the title list plays for the list's core operations. The
// page, title and clip rows adopt it; the model objects point at their rows
// (DVDPageData::dvdPageView, DVDTitleData::titleDataView,
// MediaData::mediaDataView), and the core reaches a row only through them.
//
// Main thread only.

#include <memory>

class QObject;
class PageRowView;

class ListRowView {
public:
    virtual ~ListRowView() = default;

    // Takes the row out of the list view. The row stays with its model
    // object; the next reload puts it back when the object is still listed.
    // A row already out of the list may be told again (a deleted title is
    // told once for itself and once when its last clip goes); that does
    // nothing.
    virtual void removeFromSuperview() = 0;
    // Refreshes the row's texts and controls from its model object.
    virtual void initAllControls() = 0;

    // The row behind a model object's row pointer; null when there is none
    // or it plays no list row role.
    static ListRowView* of(QObject* row);
    static ListRowView* of(const std::shared_ptr<PageRowView>& row);
    // removeFromSuperview / initAllControls on the row, when there is one.
    static void leaveList(ListRowView* row);
    static void refresh(ListRowView* row);
};
