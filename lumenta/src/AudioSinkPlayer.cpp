#include "AudioSinkPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QDebug>
#include <QMediaDevices>
#include <cstring>

namespace lumenta {

bool audioOutputAvailable()
{
    // Qt Multimedia's GStreamer backend crashes where its plug-ins are
    // missing; FFmpeg's is always there.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) {
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    }
    return !QMediaDevices::defaultAudioOutput().isNull();
}

AudioSinkPlayer::AudioSinkPlayer(const QString& url, int streamIndex, LMMediaTime containerStart)
{
    if (!audioOutputAvailable()) {
        qInfo() << "Lumenta: no audio output device, playing silently";
        return;
    }
    if (!m_reader.open(url, streamIndex, containerStart)) {
        return;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Float);
    if (!device.isFormatSupported(format)) {
        format = device.preferredFormat();
        format.setSampleFormat(QAudioFormat::Float);
    }
    LMFFAudioFormat out;
    out.sample_fmt = AV_SAMPLE_FMT_FLT;
    out.sample_rate = format.sampleRate();
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, format.channelCount());
    out.channel_layout = static_cast<int64_t>(layout.u.mask);
    if (!m_reader.setOutputFormat(out)) {
        return;
    }
    m_frameBytes = 4 * format.channelCount();
    m_sink = new QAudioSink(device, format, this);
    open(QIODevice::ReadOnly);
}

AudioSinkPlayer::~AudioSinkPlayer()
{
    if (m_sink) {
        m_sink->stop();
    }
}

void AudioSinkPlayer::start(LMMediaTime position)
{
    if (!m_sink) {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_reader.seek(position);
    }
    m_sink->stop();
    m_sink->start(this);
}

void AudioSinkPlayer::pause()
{
    if (m_sink) {
        m_sink->stop();
    }
}

void AudioSinkPlayer::setVolume(double volume)
{
    if (m_sink) {
        m_sink->setVolume(qBound(0.0, volume, 1.0));
    }
}

void AudioSinkPlayer::setGain(float gain)
{
    std::lock_guard lock(m_mutex);
    m_gain = gain;
}

qint64 AudioSinkPlayer::bytesAvailable() const
{
    return 1 << 16;
}

qint64 AudioSinkPlayer::readData(char* data, qint64 maxSize)
{
    std::lock_guard lock(m_mutex);
    const int frames = static_cast<int>(maxSize / m_frameBytes);
    const int got = m_reader.read(reinterpret_cast<uint8_t*>(data), frames, m_gain);
    const qint64 bytes = static_cast<qint64>(frames) * m_frameBytes;
    // Silence past the end keeps the device running with the clock.
    std::memset(data + static_cast<qint64>(got) * m_frameBytes, 0,
                static_cast<size_t>(bytes - static_cast<qint64>(got) * m_frameBytes));
    return bytes;
}

}  // namespace lumenta
