#include "media/VCImagePool.h"

VCImagePool::Context VCImagePool::take(List& list)
{
    std::lock_guard lock(list.lock);
    if (list.contexts.isEmpty()) {
        return nullptr;
    }
    Context context = list.contexts.takeFirst();
    list.contexts.removeAll(context);  // a context is in a list at most once
    return context;
}

void VCImagePool::append(List& list, const Context& context)
{
    if (!context) {
        return;
    }
    {
        std::lock_guard lock(list.lock);
        list.contexts.append(context);
    }
    list.appended.notify_all();
}

VCImagePool::Context VCImagePool::getFreeImageContext()
{
    return take(m_free);
}

VCImagePool::Context VCImagePool::waitForFreeImageContext(std::chrono::milliseconds timeout)
{
    {
        std::unique_lock lock(m_free.lock);
        m_free.appended.wait_for(lock, timeout, [this] { return !m_free.contexts.isEmpty(); });
    }
    return take(m_free);
}

void VCImagePool::appendFreeImageContext(const Context& context)
{
    append(m_free, context);
}

VCImagePool::Context VCImagePool::getBufferedImageContext()
{
    return take(m_buffered);
}

void VCImagePool::appendBufferedImageContext(const Context& context)
{
    append(m_buffered, context);
}

void VCImagePool::clearPool()
{
    {
        std::lock_guard lock(m_buffered.lock);
        m_buffered.contexts.clear();
    }
    std::lock_guard lock(m_free.lock);
    m_free.contexts.clear();
}

qsizetype VCImagePool::freeCount() const
{
    std::lock_guard lock(m_free.lock);
    return m_free.contexts.size();
}

qsizetype VCImagePool::bufferedCount() const
{
    std::lock_guard lock(m_buffered.lock);
    return m_buffered.contexts.size();
}
