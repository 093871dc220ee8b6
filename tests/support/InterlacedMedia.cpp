#include "InterlacedMedia.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRect>
#include <QStringList>
#include <cmath>
#include <cstring>

#include "TestSupport.h"

namespace testsupport {

namespace {

// The field pictures at `fieldRate`, each with its number: the digit bands,
// then the text.
QString fieldPictures(int width, int height, const QString& fieldRate, double seconds)
{
    return QStringLiteral(
               "color=black:size=%1x%2:rate=%3:duration=%4,format=yuv420p,"
               "geq=lum='if(lt(Y,H*2/3),16+28*if(lt(X,W/3),mod(N,8),"
               "if(lt(X,W*2/3),mod(floor(N/8),8),floor(N/64))),16)':cb=128:cr=128,"
               "drawtext=fontfile=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf:"
               "text='field %{n}  %{pts\\:hms}':x=16:y=h*3/4:fontsize=h/12:fontcolor=white")
        .arg(width)
        .arg(height)
        .arg(fieldRate)
        .arg(seconds);
}

double greyAt(const QImage& image, int x, int y)
{
    if (image.format() == QImage::Format_Grayscale8) {
        return image.constScanLine(y)[x];
    }
    return qGray(image.pixel(x, y));
}

}  // namespace

bool makeCamcorderStream(const QString& path, double seconds, double keySeconds)
{
    const QString d = QString::number(seconds);
    const QString key = QString::number(qRound(keySeconds * 25));
    return generateMedia(path,
                         {"-f",
                          "lavfi",
                          "-i",
                          fieldPictures(480, 360, "50", seconds) + ",interlace=scan=tff,setsar=4/3",
                          "-f",
                          "lavfi",
                          "-i",
                          "sine=frequency=440:sample_rate=48000:duration=" + d,
                          "-c:v",
                          "libx264",
                          "-crf",
                          "16",
                          "-threads",
                          "2",
                          "-flags",
                          "+ildct+ilme",
                          "-top",
                          "1",
                          "-bf",
                          "2",
                          "-g",
                          key,
                          "-keyint_min",
                          key,
                          "-sc_threshold",
                          "0",
                          "-c:a",
                          "ac3",
                          "-ac",
                          "6",
                          "-b:a",
                          "384k",
                          "-f",
                          "mpegts"});
}

bool makeMiniDvClip(const QString& path, double seconds)
{
    const QString d = QString::number(seconds);
    return generateMedia(
        path, {"-f", "lavfi", "-i",
               fieldPictures(720, 480, "60000/1001", seconds) +
                   ",interlace=scan=bff,setfield=bff,setsar=10/11",
               "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=" + d, "-c:v",
               "dvvideo", "-pix_fmt", "yuv411p", "-c:a", "pcm_s16le", "-ac", "2", "-f", "avi"});
}

namespace {

// The band digits of the rows of one parity (-1: all rows), as steps of the
// digit scale; empty when the picture is too small.
QList<double> bandSteps(const QImage& image, int parity)
{
    QList<double> steps;
    const int w = image.width();
    const int h = image.height();
    for (int band = 0; band < 3; ++band) {
        const int centre = w * (2 * band + 1) / 6;
        const QRect area = QRect(centre - w / 16, h * 3 / 20, w / 8, h * 2 / 5) & image.rect();
        double sum = 0;
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (parity >= 0 && y % 2 != parity) {
                continue;
            }
            for (int x = area.left(); x <= area.right(); ++x) {
                sum += greyAt(image, x, y);
                ++count;
            }
        }
        if (count == 0) {
            return {};
        }
        steps << (sum / count) * 219.0 / 255.0 / 28.0;
    }
    return steps;
}

// The digit a band shows, or -1 when it is off the scale by `slack`.
int digitOf(double steps, double slack)
{
    const double digit = std::round(steps);
    return std::abs(steps - digit) > slack || digit < 0 || digit > 7 ? -1 : static_cast<int>(digit);
}

}  // namespace

int fieldNumber(const QImage& image, int parity)
{
    const QList<double> steps = bandSteps(image, parity);
    if (image.isNull() || steps.size() != 3) {
        return -1;
    }
    int number = 0;
    int weight = 1;
    for (const double band : steps) {
        const int digit = digitOf(band, 0.25);
        if (digit < 0) {
            return -1;
        }
        number += digit * weight;
        weight *= 8;
    }
    return number;
}

int frameNumber(const QImage& image)
{
    const QList<double> steps = bandSteps(image, -1);
    if (image.isNull() || steps.size() != 3) {
        return -1;
    }
    // A frame's fields are 2k and 2k + 1: they share the upper digits, and
    // the lowest lies between 2j and 2j + 1 however the fields are mixed.
    const int low = static_cast<int>(std::floor(steps[0] + 0.25));
    const int middle = digitOf(steps[1], 0.25);
    const int high = digitOf(steps[2], 0.25);
    if (low < 0 || low > 7 || middle < 0 || high < 0) {
        return -1;
    }
    return (low + 8 * middle + 64 * high) / 2;
}

QString fieldOrderOf(const QString& path)
{
    QString out;
    runProgram("ffprobe",
               {"-v", "error", "-select_streams", "v:0", "-show_entries", "stream=field_order",
                "-of", "default=noprint_wrappers=1:nokey=1", path},
               &out);
    return out.trimmed();
}

QList<QImage> greyFrames(const QString& stream, const QString& scratch)
{
    const QJsonObject probe = probeMedia(stream);
    int width = 0;
    int height = 0;
    for (const QJsonValue& s : probe.value("streams").toArray()) {
        if (s.toObject().value("codec_type").toString() == "video") {
            width = s.toObject().value("width").toInt();
            height = s.toObject().value("height").toInt();
            break;
        }
    }
    QString output;
    if (width < 1 || height < 1 ||
        runProgram("ffmpeg",
                   {"-v", "error", "-y", "-i", stream, "-map", "0:v:0", "-vsync", "passthrough",
                    "-f", "rawvideo", "-pix_fmt", "gray", scratch},
                   &output) != 0) {
        ADD_FAILURE() << "no pictures read from " << qPrintable(stream) << ": "
                      << qPrintable(output);
        return {};
    }
    QFile file(scratch);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << qPrintable(scratch);
        return {};
    }
    const qint64 size = static_cast<qint64>(width) * height;
    QList<QImage> frames;
    for (;;) {
        const QByteArray bytes = file.read(size);
        if (bytes.size() < size) {
            break;
        }
        QImage frame(width, height, QImage::Format_Grayscale8);
        for (int y = 0; y < height; ++y) {
            std::memcpy(frame.scanLine(y), bytes.constData() + static_cast<qint64>(y) * width,
                        static_cast<size_t>(width));
        }
        frames << frame;
    }
    return frames;
}

}  // namespace testsupport
