#pragma once
// What a photo strip tile tells its owner (the slideshow editing window).
// Main thread.

class RenderThumbnailView;

class RenderThumbnailViewDelegate {
public:
    virtual ~RenderThumbnailViewDelegate() = default;

    // A click on the tile's picture.
    virtual void didClickOnRenderThumbnailView(RenderThumbnailView* view) = 0;
    // The Delete (or Backspace) key while the tile has the keyboard focus.
    virtual void didDeleteOnRenderThumbnailView(RenderThumbnailView* view) = 0;
};
