#pragma once
// A menu page's background music as the menu source reads it: the media
// side's music object adopts this role. The source finds the page's music
// under the page's "music" key.

#include <memory>

class VCMovie;

class MenuMusic {
public:
    virtual ~MenuMusic() = default;
    // The music's media item (its file, kept range and fades); null when the
    // music could not be opened.
    virtual std::shared_ptr<VCMovie> menuMusicMovie() const = 0;
};
