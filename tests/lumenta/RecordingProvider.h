#pragma once
// A frame provider that records every answer it gets, in order.

#include <QImage>
#include <QList>
#include <condition_variable>
#include <mutex>

#include "lumenta/IFrameProvider.h"

class RecordingProvider : public IFrameProvider {
public:
    // The surface the pictures are asked for; empty (the default) for none.
    void setSurface(const QSize& surface) { m_surface = surface; }
    QSize drawingSurfaceSize(IMovie*) const override { return m_surface; }

    void mediaEffectImage(IMovie*, const QImage& image) override
    {
        std::lock_guard lock(m_mutex);
        m_images << image;
        m_changed.notify_all();
    }
    // Waits until `count` answers came (at most 20 s).
    QList<QImage> wait(int count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(20),
                           [&] { return m_images.size() >= count; });
        return m_images;
    }
    QList<QImage> images()
    {
        std::lock_guard lock(m_mutex);
        return m_images;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QList<QImage> m_images;
    QSize m_surface;
};
