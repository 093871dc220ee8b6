#include "TwoTrackMedia.h"

#include <QFile>
#include <cmath>
#include <cstring>
#include <numbers>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace testsupport {

const QStringList& twoTrackKinds()
{
    static const QStringList kinds{"mkv", "mp4", "ts", "mpg"};
    return kinds;
}

bool makeTwoTrackClip(const QString& path, const QString& kind, double seconds)
{
    const QString length = QString::number(seconds);
    QStringList arguments{"-f", "lavfi", "-i",
                          QString("testsrc=size=320x180:rate=25:duration=%1").arg(length)};
    for (const double tone : {kFirstTrackTone, kSecondTrackTone}) {
        arguments
            << "-f"
            << "lavfi"
            << "-i"
            << QString("sine=frequency=%1:sample_rate=48000:duration=%2").arg(tone).arg(length);
    }
    arguments << "-map"
              << "0:v"
              << "-map"
              << "1:a"
              << "-map"
              << "2:a";
    if (kind == "mkv") {
        const QString cues = path + ".srt";
        QFile file(cues);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write("1\n00:00:00,500 --> 00:00:02,000\nEnglish\n\n") < 0) {
            ADD_FAILURE() << "cannot write " << qPrintable(cues);
            return false;
        }
        file.close();
        arguments.insert(arguments.indexOf("-map"), "-i");
        arguments.insert(arguments.indexOf("-map"), cues);
        arguments << "-map"
                  << "3:s"
                  << "-c:s"
                  << "srt";
    }
    if (kind == "mpg") {
        arguments << "-c:v"
                  << "mpeg2video"
                  << "-c:a:0"
                  << "mp2"
                  << "-c:a:1"
                  << "ac3"
                  << "-f"
                  << "vob";
    } else {
        arguments << "-c:v"
                  << "libx264"
                  << "-preset"
                  << "ultrafast"
                  << "-pix_fmt"
                  << "yuv420p"
                  << "-c:a:0"
                  << "aac"
                  << "-c:a:1"
                  << "ac3";
    }
    arguments << "-metadata:s:a:0"
              << "language=eng"
              << "-metadata:s:a:1"
              << "language=fre";
    return generateMedia(path, arguments);
}

double toneAmplitude(const float* samples, size_t count, int sampleRate, double frequency)
{
    if (count == 0 || sampleRate <= 0) {
        return 0.0;
    }
    // Goertzel: the signal's component at one frequency.
    const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * frequency / sampleRate);
    double previous = 0.0;
    double before = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double current = samples[i] + coefficient * previous - before;
        before = previous;
        previous = current;
    }
    const double power = previous * previous + before * before - coefficient * previous * before;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(count);
}

std::vector<float> monoSound(const QString& stream, const QString& raw)
{
    std::vector<float> samples;
    QString output;
    if (runProgram("ffmpeg",
                   {"-v", "error", "-y", "-i", stream, "-map", "0:a:0", "-ac", "1", "-ar", "48000",
                    "-f", "f32le", raw},
                   &output) != 0) {
        ADD_FAILURE() << "ffmpeg cannot decode the sound of " << qPrintable(stream) << ": "
                      << qPrintable(output);
        return samples;
    }
    QFile file(raw);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        samples.resize(static_cast<size_t>(bytes.size()) / sizeof(float));
        std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    }
    return samples;
}

}  // namespace testsupport
