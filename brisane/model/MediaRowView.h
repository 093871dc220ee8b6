#pragma once
// The title list's row of a clip, as the clip and its editors know it.
// The list editor's clip row adopts this role.
//
// Main thread only.

#include "model/ListRowView.h"

class MediaRowView : public virtual ListRowView {
public:
    // Recomputes the clip's length after its edits changed; a clip of a
    // title, and a merged clip, then refresh their title's total.
    virtual void updateMediaTimeAfterVideoEdit() = 0;
};
