#include "PlaybackClock.h"

namespace lumenta {

void PlaybackClock::start()
{
    std::lock_guard lock(m_mutex);
    if (!m_running) {
        m_running = true;
        m_startedAt = std::chrono::steady_clock::now();
    }
}

void PlaybackClock::pause()
{
    std::lock_guard lock(m_mutex);
    if (m_running) {
        m_base = positionLocked();
        m_running = false;
    }
}

bool PlaybackClock::isRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

LMMediaTime PlaybackClock::positionLocked() const
{
    if (!m_running) {
        return m_base;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - m_startedAt);
    return m_base + elapsed.count();
}

LMMediaTime PlaybackClock::position() const
{
    std::lock_guard lock(m_mutex);
    return positionLocked();
}

void PlaybackClock::setPosition(LMMediaTime time)
{
    std::lock_guard lock(m_mutex);
    m_base = time;
    m_startedAt = std::chrono::steady_clock::now();
}

}  // namespace lumenta
