#pragma once
// The role a row of the title list plays for the list's core operations and
// for the editors that change what a row shows. Clip and title rows answer
// it through the narrower roles MediaRowView and TitleRowView, by which their
// entries point at them (MediaData::mediaDataView,
// DVDTitleData::titleDataView); a page's row answers it beside PageRowView.
//
// An entry does not own its clip or title row: it holds it in a RowPointer,
// which reads as null once the row is destroyed.
//
// Main thread only.

#include <memory>

class PageRowView;

class ListRowView {
public:
    virtual ~ListRowView() = default;
    ListRowView(const ListRowView&) = delete;
    ListRowView& operator=(const ListRowView&) = delete;

    // Takes the row out of the list view. The row stays with its model
    // object; the next reload puts it back when the object is still listed.
    // A row already out of the list may be told again (a deleted title is
    // told once for itself and once when its last clip goes); that does
    // nothing.
    virtual void removeFromSuperview() = 0;
    // Refreshes the row's texts and controls from its model object.
    virtual void initAllControls() = 0;

    // Expires when the row is destroyed.
    std::weak_ptr<const void> lifetime() const { return m_lifetime; }

    // The list row role of a page's row; null when there is none or it
    // plays no list row role.
    static ListRowView* of(const std::shared_ptr<PageRowView>& row);
    // removeFromSuperview / initAllControls on the row, when there is one.
    static void leaveList(ListRowView* row);
    static void refresh(ListRowView* row);

protected:
    ListRowView() = default;

private:
    std::shared_ptr<const char> m_lifetime = std::make_shared<char>();
};
