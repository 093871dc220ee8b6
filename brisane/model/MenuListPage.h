#pragma once
// The list page behind a top menu page, as the disc side reads it: the media
// side's page of titles (DVDPageData) adopts this role. A top page whose list
// page has no titles is left out of the disc when other pages exist.

#include <QtGlobal>

class MenuListPage {
public:
    virtual ~MenuListPage() = default;
    // How many titles the list page holds (its titleDataArray's count).
    virtual qsizetype menuTitleCount() const = 0;
};
