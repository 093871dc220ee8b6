#pragma once
// What the title list has selected and the page that open-panel imports
// append to. The list edit controller owns one; the list's core operations
// read and change it.
//
// Main thread only.

#include <QtGlobal>
#include <memory>

#include "platform/Object.h"

class DVDPageData;

struct ListSelection {
    // Values of selectedType.
    static constexpr quint64 Nothing = 0;
    static constexpr quint64 Clip = 1;  // a clip of a title or a sub-clip of a merged clip
    static constexpr quint64 Title = 2;
    static constexpr quint64 Page = 3;

    quint64 selectedType = Nothing;
    // The selected MediaData, DVDTitleData or DVDPageData.
    std::shared_ptr<Object> selectedData;
    // Not owned: the project's page list owns its pages.
    std::weak_ptr<DVDPageData> currentDVDPage;
};
