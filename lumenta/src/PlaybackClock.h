#pragma once
// The play position of a movie: a media time that advances with the wall
// clock while running. Thread-safe.

#include <chrono>
#include <mutex>

#include "lumenta/LMMediaTime.h"

namespace lumenta {

class PlaybackClock {
public:
    void start();
    void pause();
    bool isRunning() const;
    LMMediaTime position() const;
    void setPosition(LMMediaTime time);

private:
    LMMediaTime positionLocked() const;

    mutable std::mutex m_mutex;
    bool m_running = false;
    LMMediaTime m_base = 0;
    std::chrono::steady_clock::time_point m_startedAt;
};

}  // namespace lumenta
