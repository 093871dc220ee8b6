#pragma once
// A play position that runs with the clock while it plays: the "player" of a
// slideshow source. Time spent paused never counts, and the first reading
// after play() counts from the moment of play().
//
// The position and its bookkeeping are kept under the player's own lock, so it
// may be read and changed from any thread.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class AutoTimePlayer {
public:
    using Ptr = std::shared_ptr<AutoTimePlayer>;
    // Seconds on a clock that never goes back.
    using Clock = std::function<double()>;

    // The default clock is the system's monotonic clock.
    AutoTimePlayer();
    explicit AutoTimePlayer(Clock clock);

    // Seconds; brings the position up to date first.
    double currentTime();
    void setCurrentTime(double seconds);

    bool isPlay() const { return isPlay_.load(); }
    void setIsPlay(bool play);
    void play() { setIsPlay(true); }
    void pause() { setIsPlay(false); }

    static double monotonicSeconds();

private:
    std::recursive_mutex lock_;
    Clock clock_;
    double currentTime_ = 0.0;
    double lastTime_ = 0.0;
    std::atomic<bool> isPlay_{false};
};
