#pragma once
// Writes one stretch of one audio source, with a fade-in and a fade-out, to an
// audio-only file, followed by an optional stretch of silence (`gap`). Runs
// synchronously on the caller's thread; progress() and convertingTime() may be
// read from another thread meanwhile, and cancel() called from one.
//
// Audio is written in whole blocks of 1024 sample frames, so the stretch may
// run up to 1023 frames past the right trim. A cancelled or failed run leaves
// no file.

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <mutex>

#include "lumenta/IMovie.h"
#include "lumenta/LMFormats.h"

class MusicConverter {
public:
    MusicConverter();

    // The framework's default output format with 192 kbit/s, 44100 Hz stereo.
    static LMFFMovieFileOutputFormat defaultFormat();

    // Trims and fades in seconds of the source. True when the whole file was
    // written; false when cancelled or when the file could not be opened or
    // written (errorText() tells which).
    bool startConverterMusic(IMovie& movie, float leftTrimTime, float rightTrimTime,
                             float fadeInTime, float fadeOutTime, const QString& exportPath);
    void cancel() { m_canceled = true; }

    // Fraction done; not capped, the silence not counted.
    double progress() const { return m_progress.load(); }
    // Whole seconds written so far.
    double convertingTime() const { return m_convertingTime.load(); }
    QString errorText() const;

    LMFFMovieFileOutputFormat movieFormat() const { return m_movieFormat; }
    void setMovieFormat(const LMFFMovieFileOutputFormat& v) { m_movieFormat = v; }
    // Seconds of silence appended after the music.
    double gap() const { return m_gap; }
    void setGap(double v) { m_gap = v; }
    // Kept for the caller; nothing is sent to it. Not owned.
    QObject* delegate() const { return m_delegate.data(); }
    void setDelegate(QObject* v) { m_delegate = v; }

private:
    bool fail(const QString& text);

    std::atomic<double> m_progress{0.0};
    std::atomic<double> m_convertingTime{0.0};
    std::atomic<bool> m_canceled{false};
    LMFFMovieFileOutputFormat m_movieFormat;
    double m_gap = 0.0;
    QPointer<QObject> m_delegate;
    mutable std::mutex m_lock;
    QString m_error;
};
