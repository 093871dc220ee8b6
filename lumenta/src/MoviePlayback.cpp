#include "MoviePlayback.h"

#include <QThread>

#include "AudioSinkPlayer.h"

namespace lumenta {

MoviePlayback::MoviePlayback() = default;

MoviePlayback::~MoviePlayback()
{
    std::lock_guard lock(m_mutex);
    if (m_sink && m_sink->thread() != QThread::currentThread()) {
        m_sink.release()->deleteLater();
    }
}

void MoviePlayback::play(const LMMedia::Ptr& audio, int streamIndex, LMMediaTime duration)
{
    std::lock_guard lock(m_mutex);
    if (m_clock.isRunning()) {
        return;
    }
    if (duration > 0 && m_clock.position() >= duration) {
        m_clock.setPosition(0);
    }
    if (audio && streamIndex >= 0 && !m_sink) {
        m_sink = std::make_unique<AudioSinkPlayer>(audio->url(), streamIndex, audio->startTime());
        m_sink->setVolume(m_volume);
        m_sink->setGain(m_gain);
    }
    m_clock.start();
    if (m_sink) {
        m_sink->start(m_clock.position());
    }
}

void MoviePlayback::pause()
{
    std::lock_guard lock(m_mutex);
    m_clock.pause();
    if (m_sink) {
        m_sink->pause();
    }
}

bool MoviePlayback::isPlaying() const
{
    return m_clock.isRunning();
}

LMMediaTime MoviePlayback::position() const
{
    return m_clock.position();
}

void MoviePlayback::setPosition(LMMediaTime time)
{
    std::lock_guard lock(m_mutex);
    m_clock.setPosition(time);
    if (m_clock.isRunning() && m_sink) {
        m_sink->start(time);
    }
}

void MoviePlayback::setPlayVolume(double volume)
{
    std::lock_guard lock(m_mutex);
    m_volume = qBound(0.0, volume, 1.0);
    if (m_sink) {
        m_sink->setVolume(m_volume);
    }
}

void MoviePlayback::setGain(float gain)
{
    std::lock_guard lock(m_mutex);
    m_gain = gain;
    if (m_sink) {
        m_sink->setGain(gain);
    }
}

}  // namespace lumenta
