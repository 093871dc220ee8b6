#include "media/AutoTimePlayer.h"

#include <chrono>

AutoTimePlayer::AutoTimePlayer() : AutoTimePlayer(&AutoTimePlayer::monotonicSeconds) {}

AutoTimePlayer::AutoTimePlayer(Clock clock)
    : clock_(clock ? std::move(clock) : Clock(&AutoTimePlayer::monotonicSeconds))
{
    lastTime_ = clock_();
}

double AutoTimePlayer::monotonicSeconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count();
}

double AutoTimePlayer::currentTime()
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    const double now = clock_();
    if (isPlay_.load()) {
        currentTime_ += now - lastTime_;
    }
    lastTime_ = now;
    return currentTime_;
}

void AutoTimePlayer::setCurrentTime(double seconds)
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    currentTime();
    currentTime_ = seconds;
}

void AutoTimePlayer::setIsPlay(bool play)
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    currentTime();
    isPlay_.store(play);
}
