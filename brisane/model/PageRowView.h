#pragma once
// The title list's row of a page, as the page knows it: the page tells it to
// forget the page when the page goes away. The list editor's row view adopts
// this role.

class DVDPageData;

class PageRowView {
public:
    virtual ~PageRowView() = default;
    // The page the row shows; null to forget it. Not owned.
    virtual void setPage(DVDPageData* page) = 0;
};
