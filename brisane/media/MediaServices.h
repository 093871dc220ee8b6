#pragma once
// What the media engine asks of the open project: the size of its menu
// canvas, which is also the output size of every media item of the project
// (854 x 480 points for a 16:9 disc, 640 x 480 for 4:3). That is the only disc
// setting the media engine reads.
//
// The media engine does not know the project model (the model builds on the
// media engine), so the model answers this through an adapter of its own
// (ModelMediaServices) that the application installs at start-up. Until then,
// and in tools and tests that install nothing, the default answers the canvas
// of a new disc (16:9).
//
// Every operation may be called from any thread: slideshow sources ask for the
// canvas on the conversion thread.

#include <QSizeF>
#include <memory>

class MediaServices {
public:
    virtual ~MediaServices();

    // The open project's menu canvas size in points.
    virtual QSizeF projectCanvasSize() const;

    // The installed services, or the default ones.
    static std::shared_ptr<MediaServices> current();
    // Installs services for the whole process; null restores the default.
    static void install(std::shared_ptr<MediaServices> services);
};
