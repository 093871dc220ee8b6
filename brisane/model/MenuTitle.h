#pragma once
// A title as a menu element reads it: the media side's title (DVDTitleData)
// adopts this role, so a title element finds the clips it shows.

#include <QList>
#include <memory>

class MenuClip;

class MenuTitle {
public:
    virtual ~MenuTitle() = default;
    // The title's clips in order (its mediaDataArray).
    virtual QList<std::shared_ptr<MenuClip>> menuClips() const = 0;
};
