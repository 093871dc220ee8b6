#pragma once
// The renderer of a slideshow's main composition: sets the composition time,
// renders and answers the frame sharpened.

#include "media/QuillonRenderer.h"

class SlideshowRenderer : public QuillonRenderer {
public:
    static std::shared_ptr<SlideshowRenderer> initOffScreenWithSize(
        const QSizeF& size, std::shared_ptr<Composition> composition);

    // Input "Time" = time, one render, the frame through sharpenImageOn.
    QImage snapshotCIImageAtTime(double time);
    // Sets input "BackgroundImage" (a null image clears it).
    void updateBackground(const QImage& image);
    // Clears the inputs "Time", "BackgroundImage" and "Images".
    void clear();

private:
    friend class QuillonRenderer;
    using QuillonRenderer::QuillonRenderer;
};
