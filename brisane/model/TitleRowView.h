#pragma once
// The title list's row of a DVD title, as the title and its clips' rows know
// it. The list editor's title row adopts this role.
//
// Main thread only.

#include "model/ListRowView.h"

class TitleRowView : public virtual ListRowView {
public:
    // Shows the title's total time again, after one of its clips changed.
    virtual void flushTitleAllTimeAfterVideoEdit() = 0;
};
