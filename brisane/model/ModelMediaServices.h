#pragma once
// The project model's answer to what the media engine asks of the open
// project (MediaServices): the canvas of the disc settings that the given
// accessor hands out, or a new disc's canvas when it hands out none. The
// application installs one at start-up with installForMedia(), giving the
// way to its open disc; the accessor is called on any thread.

#include <functional>
#include <memory>

#include "media/MediaServices.h"

class DVDResource;

class ModelMediaServices : public MediaServices {
public:
    using DiscAccessor = std::function<std::shared_ptr<DVDResource>()>;

    explicit ModelMediaServices(DiscAccessor openDisc);

    QSizeF projectCanvasSize() const override;

    // Installs an instance over `openDisc` as the media engine's services.
    static void installForMedia(DiscAccessor openDisc);

private:
    DiscAccessor m_openDisc;
};
