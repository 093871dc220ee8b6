#include "TestSupport.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

namespace testsupport {

QTemporaryDir makeTempDir()
{
    QString root = qEnvironmentVariable("BRISANE_TEST_TMP");
    if (root.isEmpty()) {
        root = QDir::tempPath();
    }
    QDir().mkpath(root);
    return QTemporaryDir(root + QStringLiteral("/brisane-test-XXXXXX"));
}

int runProgram(const QString& program, const QStringList& arguments, QString* output, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        if (output) {
            *output = QStringLiteral("could not start %1").arg(program);
        }
        return -1;
    }
    process.waitForFinished(timeoutMs);
    if (output) {
        *output = QString::fromLocal8Bit(process.readAll());
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return process.exitCode();
}

bool generateMedia(const QString& path, const QStringList& ffmpegArguments)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        ADD_FAILURE() << "ffmpeg is not installed (scripts/install-deps provides it)";
        return false;
    }
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                     QStringLiteral("error"), QStringLiteral("-y")};
    args << ffmpegArguments << path;
    QString output;
    const int code = runProgram(ffmpeg, args, &output);
    if (code != 0) {
        ADD_FAILURE() << "ffmpeg failed for " << path.toStdString() << ": " << output.toStdString();
        return false;
    }
    return true;
}

bool makeTestClip(const QString& path, double seconds, int width, int height, bool audio)
{
    const QString duration = QString::number(seconds);
    QStringList args{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("testsrc=size=%1x%2:rate=25:duration=%3")
                         .arg(width)
                         .arg(height)
                         .arg(duration)};
    if (audio) {
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(duration);
    }
    args << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p") << QStringLiteral("-shortest");
    return generateMedia(path, args);
}

QString numberedPictures(double seconds)
{
    // The thousand numbers drawn once and shown again in turn: drawing is
    // the slow part of a long clip.
    const double drawn = std::min(seconds, 40.0);
    QString pictures = QString(
                           "color=black:size=96x48:rate=25:duration=%1,format=yuv420p,"
                           "geq=lum='16+20*if(lt(X,W/3),mod(N,10),if(lt(X,2*W/3),"
                           "mod(floor(N/10),10),floor(N/100)))':cb=128:cr=128")
                           .arg(drawn);
    if (seconds > drawn) {
        pictures += QString(",loop=loop=-1:size=1000,trim=duration=%1").arg(seconds);
    }
    return pictures;
}

bool makeNumberedClip(const QString& path, double seconds, const QStringList& videoOptions)
{
    const QString length = QString::number(seconds);
    QStringList args{"-f", "lavfi",
                     "-i", numberedPictures(seconds),
                     "-f", "lavfi",
                     "-i", QString("sine=frequency=440:sample_rate=48000:duration=%1").arg(length)};
    args << videoOptions << "-pix_fmt"
         << "yuv420p"
         << "-c:a"
         << "aac";
    return generateMedia(path, args);
}

QList<int> frameNumbers(const QString& stream, const QString& raw)
{
    constexpr int width = 48;
    constexpr int height = 16;
    runProgram("ffmpeg", {"-v", "error", "-y", "-i", stream, "-an", "-vf",
                          QString("scale=%1:%2:flags=area").arg(width).arg(height), "-pix_fmt",
                          "yuv420p", "-f", "rawvideo", raw});
    QFile file(raw);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    const int frameBytes = width * height * 3 / 2;
    QList<int> numbers;
    for (qsizetype at = 0; at + frameBytes <= bytes.size(); at += frameBytes) {
        int number = 0;
        int scale = 1;
        for (int third = 0; third < 3; ++third) {
            const auto luma = static_cast<unsigned char>(
                bytes[at + (height / 2) * width + width / 6 + third * width / 3]);
            const int digit = qRound((luma - 16) / 20.0);
            if (digit < 0 || digit > 9 || std::abs(luma - (16 + 20 * digit)) > 6) {
                number = -1;
                break;
            }
            number += digit * scale;
            scale *= 10;
        }
        numbers << number;
    }
    return numbers;
}

QJsonObject probeMedia(const QString& path)
{
    QString out;
    const int code = runProgram(
        "ffprobe", {"-v", "error", "-show_format", "-show_streams", "-of", "json", path}, &out);
    EXPECT_EQ(code, 0) << out.toStdString();
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

QString writeArtifact(const QImage& image, const QString& name)
{
    const QString folder = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
    if (folder.isEmpty() || image.isNull() || !QDir().mkpath(folder)) {
        return {};
    }
    const QString path = QDir(folder).filePath(name);
    return image.save(path, "PNG") ? path : QString();
}

QByteArray mutateBytes(const QByteArray& good, QRandomGenerator& random, int maxEdits,
                       int maxRemoved)
{
    QByteArray mutated = good;
    const int edits = 1 + random.bounded(maxEdits);
    for (int e = 0; e < edits && !mutated.isEmpty(); ++e) {
        const int at = random.bounded(mutated.size());
        switch (random.bounded(3)) {
            case 0:
                mutated[at] = static_cast<char>(random.bounded(256));
                break;
            case 1:
                mutated.remove(at, 1 + random.bounded(maxRemoved));
                break;
            default:
                mutated.insert(at, static_cast<char>(random.bounded(256)));
                break;
        }
    }
    return mutated;
}

bool overwriteWithGarbage(const QString& path, qint64 size)
{
    QByteArray bytes(static_cast<qsizetype>(size), '\0');
    QRandomGenerator random(7);
    for (char& byte : bytes) {
        byte = static_cast<char>(random.bounded(256));
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

}  // namespace testsupport
