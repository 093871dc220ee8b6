#include "EditPipeline.h"

#include "VideoEditChain.h"

#include <new>
#include <system_error>

namespace lumenta {

EditPipeline::EditPipeline(int threads)
{
    const int count = qMax(1, threads);
    m_limit = static_cast<size_t>(count) * 2;
    for (int i = 0; i < count; ++i) {
        try {
            m_threads.emplace_back([this] { run(); });
        } catch (const std::system_error&) {
            break;  // the threads that started will do
        }
    }
}

bool EditPipeline::isRunning() const
{
    return !m_threads.empty();
}

EditPipeline::~EditPipeline()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads) {
        thread.join();
    }
}

void EditPipeline::submit(FramePtr frame, AVRational sampleAspect, const EditSettings& edits,
                          const QSize& surface, bool surfaceFrame, Delivery delivery)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.size() < m_limit; });
    Job job;
    job.number = m_submitted++;
    job.frame = std::move(frame);
    job.sampleAspect = sampleAspect;
    job.edits = edits;
    job.surface = surface;
    job.surfaceFrame = surfaceFrame;
    job.delivery = std::move(delivery);
    m_jobs.push_back(std::move(job));
    lock.unlock();
    m_changed.notify_all();
}

void EditPipeline::drain()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_delivered == m_submitted; });
}

void EditPipeline::run()
{
    // One chain per thread: a chain is not thread-safe, and rebuilding it
    // only when the edits change needs it to stay with its thread.
    VideoEditChain chain;
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty()) {
                return;
            }
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        m_changed.notify_all();
        QImage picture;
        std::shared_ptr<const AVFrame> surfaceFrame;
        if (job.frame) {
            try {
                picture = chain.apply(job.frame.get(), job.sampleAspect, job.edits, job.surface,
                                      job.surfaceFrame ? &surfaceFrame : nullptr);
            } catch (const std::bad_alloc&) {
                // Out of memory: the frame goes on without a picture, as a
                // failed decode does, and the chain starts afresh. (No
                // message: writing one needs memory too.)
                chain = VideoEditChain();
            }
            job.frame.reset();
        }
        deliverInTurn(job.number, job.delivery, picture, surfaceFrame);
    }
}

void EditPipeline::deliverInTurn(uint64_t number, const Delivery& delivery, const QImage& picture,
                                 const std::shared_ptr<const AVFrame>& surfaceFrame)
{
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this, number] { return m_delivered == number; });
    }
    if (delivery) {
        delivery(picture, surfaceFrame);
    }
    {
        std::lock_guard lock(m_mutex);
        ++m_delivered;
    }
    m_changed.notify_all();
}

}  // namespace lumenta
