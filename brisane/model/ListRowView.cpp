#include "model/ListRowView.h"

#include "model/PageRowView.h"

ListRowView* ListRowView::of(const std::shared_ptr<PageRowView>& row)
{
    return dynamic_cast<ListRowView*>(row.get());
}

void ListRowView::leaveList(ListRowView* row)
{
    if (row) {
        row->removeFromSuperview();
    }
}

void ListRowView::refresh(ListRowView* row)
{
    if (row) {
        row->initAllControls();
    }
}
