#pragma once
// Drop states and selections made in one call, for the tests that hand the
// title list a drop target or a selection directly.

#include <memory>

#include "listedit/core/ListDropState.h"
#include "listedit/core/ListSelection.h"
#include "model/MediaData.h"

namespace listtest {

// Inserting at `level` below `anchor`.
inline ListDropState insertUnder(qint32 level, const std::shared_ptr<Object>& anchor)
{
    ListDropState state;
    state.insertUnder(level, anchor);
    return state;
}

// Merging into `clip`.
inline ListDropState mergeInto(const MediaData::Ptr& clip)
{
    ListDropState state;
    state.mergeInto(clip);
    return state;
}

// Selecting `entry` as an entry of `type`.
inline ListSelection selecting(quint64 type, const std::shared_ptr<Object>& entry)
{
    ListSelection selection;
    selection.selectedType = type;
    selection.selectedData = entry;
    return selection;
}

}  // namespace listtest
