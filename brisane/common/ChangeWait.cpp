#include "common/ChangeWait.h"

#include <algorithm>
#include <chrono>

bool ChangeWait::waitFor(int milliseconds, const std::function<bool()>& until)
{
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    std::unique_lock lock(m_mutex);
    for (;;) {
        // The wakes seen before the look: a wake during it ends the next wait.
        const std::uint64_t seen = m_wakes;
        lock.unlock();
        const bool done = until && until();
        lock.lock();
        if (done) {
            return true;
        }
        if (!m_changed.wait_until(lock, deadline, [&] { return m_wakes != seen; })) {
            // The time is up: one last look.
            lock.unlock();
            return until && until();
        }
        if (!until) {
            return false;
        }
    }
}

void ChangeWait::wake()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_wakes;
    }
    m_changed.notify_all();
}
