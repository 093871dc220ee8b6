#pragma once
// Playing a movie: the play clock and, where an audio device exists, the
// sound through Qt Multimedia (AudioSinkPlayer). Without a device only the
// clock runs: the silent sink. Thread-safe; the sound device is made on the
// thread that first plays.

#include <QString>
#include <memory>
#include <mutex>

#include "PlaybackClock.h"
#include "lumenta/LMMedia.h"
#include "lumenta/LMMediaTime.h"

namespace lumenta {

class AudioSinkPlayer;

class MoviePlayback {
public:
    MoviePlayback();
    ~MoviePlayback();
    MoviePlayback(const MoviePlayback&) = delete;
    MoviePlayback& operator=(const MoviePlayback&) = delete;

    // Starts at the clock's position (at 0 when it stands at or past the
    // end). `audio` may be null for a silent movie.
    void play(const LMMedia::Ptr& audio, int streamIndex, LMMediaTime duration);
    void pause();
    bool isPlaying() const;
    LMMediaTime position() const;
    void setPosition(LMMediaTime time);
    // Device volume, 0 to 1.
    void setPlayVolume(double volume);
    // The movie's own gain, 0 to 3.
    void setGain(float gain);

private:
    mutable std::mutex m_mutex;
    PlaybackClock m_clock;
    std::unique_ptr<AudioSinkPlayer> m_sink;
    double m_volume = 1.0;
    float m_gain = 1.0f;
};

}  // namespace lumenta
