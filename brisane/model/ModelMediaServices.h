#pragma once
// The project model's answer to what the media engine asks of the open
// project (MediaServices): the canvas of the disc settings that ModelServices
// hands out, or a new disc's canvas when no project is open. The application
// installs it once at start-up with installForMedia(); it follows every later
// ModelServices installation by itself.

#include "media/MediaServices.h"

class ModelMediaServices : public MediaServices {
public:
    QSizeF projectCanvasSize() const override;

    // Installs an instance as the media engine's services.
    static void installForMedia();
};
