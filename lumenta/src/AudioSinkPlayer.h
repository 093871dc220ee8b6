#pragma once
// Plays a movie's audio through Qt Multimedia's QAudioSink on the default
// output device. Where no device exists (headless machines, tests) it plays
// nothing: the movie's clock alone then keeps time (the silent sink).
// Lives on the thread that created it (a thread with an event loop).

#include <QIODevice>
#include <QString>
#include <memory>
#include <mutex>

#include "AudioSampleReader.h"
#include "lumenta/LMMediaTime.h"

class QAudioSink;

namespace lumenta {

class AudioSinkPlayer : public QIODevice {
    Q_OBJECT
public:
    AudioSinkPlayer(const QString& url, int streamIndex, LMMediaTime containerStart);
    ~AudioSinkPlayer() override;

    // True when a device plays the sound.
    bool hasDevice() const { return m_sink != nullptr; }
    void start(LMMediaTime position);
    void pause();
    void setVolume(double volume);
    void setGain(float gain);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::mutex m_mutex;
    AudioSampleReader m_reader;
    QAudioSink* m_sink = nullptr;
    int m_frameBytes = 8;
    float m_gain = 1.0f;
};

// True when Qt Multimedia offers an audio output device. Makes sure Qt
// Multimedia uses its FFmpeg backend.
bool audioOutputAvailable();

}  // namespace lumenta
