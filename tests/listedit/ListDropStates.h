#pragma once
// Drop states made in one call, for the tests that hand the title list a
// drop target directly.

#include <memory>

#include "listedit/ListDropState.h"
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

}  // namespace listtest
