#pragma once
// Stands in for the photo sort sheet until it is built: opening it shows
// nothing, logs one line and leaves the order as it is (no photo removed).

#include "slideshow/ISortWndCtrl.h"

class PendingSortWndCtrl : public ISortWndCtrl {
public:
    void setWndSheetedWindow(QWidget*) override {}
    void setBlkSortCompleted(SortCompleted completed) override;
    void startResortingItems(Photos& photos) override;
    bool bDidChange() const override { return false; }

private:
    SortCompleted m_completed;
};
