#include "media/ImageItemRenderCtrl.h"

#include "media/SlideshowRenderController.h"

ImageItemRenderCtrl& ImageItemRenderCtrl::share()
{
    static ImageItemRenderCtrl* shared = new ImageItemRenderCtrl();  // lives for the process
    return *shared;
}

ImageItemRenderCtrl::ImageItemRenderCtrl() : m_render(std::make_shared<SlideshowRenderController>())
{
}

ImageItemRenderCtrl::~ImageItemRenderCtrl()
{
    clear();
}

QImage ImageItemRenderCtrl::render(const std::shared_ptr<RenderItem>& item, const QSizeF& size,
                                   LMMediaTime time)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!item) {
        return {};
    }
    if (!m_render) {
        m_render = std::make_shared<SlideshowRenderController>();
    }
    const double seconds = lm_ff_time_to_double(time);
    const bool cached =
        item == m_renderItem && seconds - m_renderTime >= 0.0 && size == m_imageSize;
    if (!cached) {
        m_imageSize = size;
        m_renderItem = item;
        m_renderTime = seconds;
        m_render->setupWith(item, size, seconds);
    }
    return m_render->imageAtTime(seconds);
}

void ImageItemRenderCtrl::clearRenderCache()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_renderItem.reset();
}

void ImageItemRenderCtrl::clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_render.reset();
    m_renderItem.reset();
}

std::shared_ptr<SlideshowRenderController> ImageItemRenderCtrl::render() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_render;
}

std::shared_ptr<RenderItem> ImageItemRenderCtrl::renderItem() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_renderItem;
}

double ImageItemRenderCtrl::renderTime() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_renderTime;
}

QSizeF ImageItemRenderCtrl::imageSize() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_imageSize;
}
