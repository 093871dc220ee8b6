#pragma once
// A render controller with a one-slideshow cache: frames asked for in
// increasing time order of one slideshow at one size reuse the decoded
// photos; an earlier time, another slideshow or another size sets up afresh.
//
// One shared instance serves the players and thumbnails (share()); a
// slideshow being encoded uses an instance of its own. Every operation takes
// the instance's lock, so the shared one may be used from any thread.

#include <QImage>
#include <QSizeF>
#include <memory>
#include <mutex>

#include "lumenta/LMMediaTime.h"

class RenderItem;
class SlideshowRenderController;

class ImageItemRenderCtrl {
public:
    // The shared instance, made on first use and kept for the process.
    static ImageItemRenderCtrl& share();

    ImageItemRenderCtrl();
    ~ImageItemRenderCtrl();

    // The frame of `item` at media time `time`, `size` pixels; null when the
    // slideshow cannot be rendered.
    QImage render(const std::shared_ptr<RenderItem>& item, const QSizeF& size, LMMediaTime time);
    // The next frame sets up afresh.
    void clearRenderCache();
    // Drops the controller and the cached slideshow.
    void clear();

    std::shared_ptr<SlideshowRenderController> render() const;
    std::shared_ptr<RenderItem> renderItem() const;
    double renderTime() const;
    QSizeF imageSize() const;

private:
    mutable std::mutex m_lock;
    std::shared_ptr<SlideshowRenderController> m_render;
    std::shared_ptr<RenderItem> m_renderItem;
    double m_renderTime = 0.0;
    QSizeF m_imageSize;
};
