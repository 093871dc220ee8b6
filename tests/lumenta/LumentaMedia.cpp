#include "LumentaMedia.h"

#include <QColor>
#include <QRect>
#include <cmath>

#include "TestSupport.h"

namespace lumentatest {

bool makeIndexedClip(const QString& path, double seconds, int width, int height, bool audio)
{
    const QString d = QString::number(seconds);
    QStringList args{
        QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
        QStringLiteral("color=black:size=%1x%2:rate=25:duration=%3,format=yuv420p,"
                       "geq=lum='16+if(lt(X,W/2),mod(N,10),floor(N/10))*20':cb=128:cr=128")
            .arg(width)
            .arg(height)
            .arg(d)};
    if (audio) {
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(d);
    }
    if (path.endsWith(QLatin1String(".avi"))) {
        args << QStringLiteral("-c:v") << QStringLiteral("mpeg4") << QStringLiteral("-q:v")
             << QStringLiteral("2");
        if (audio) {
            // Without this ffmpeg shifts every video frame but the first by one
            // frame to make room for the MP3 priming.
            args << QStringLiteral("-c:a") << QStringLiteral("libmp3lame")
                 << QStringLiteral("-avoid_negative_ts") << QStringLiteral("disabled");
        }
    } else {
        args << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-crf")
             << QStringLiteral("10") << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p");
        if (audio) {
            args << QStringLiteral("-c:a") << QStringLiteral("aac");
        }
    }
    return testsupport::generateMedia(path, args);
}

double meanGrey(const QImage& image, const QRect& rect)
{
    double sum = 0;
    int count = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            sum += qGray(image.pixel(x, y));
            ++count;
        }
    }
    return count ? sum / count : -1;
}

double greyOfLuma(double luma)
{
    return (luma - 16.0) * 255.0 / 219.0;
}

double lumaOfGrey(double grey)
{
    return grey * 219.0 / 255.0 + 16.0;
}

int frameIndex(const QImage& image)
{
    if (image.isNull()) {
        return -1;
    }
    const int w = image.width();
    const int h = image.height();
    const QRect left(w / 8, h / 4, w / 4, h / 2);
    const QRect right(w / 2 + w / 8, h / 4, w / 4, h / 2);
    const int ones =
        static_cast<int>(std::lround((lumaOfGrey(meanGrey(image, left)) - 16.0) / 20.0));
    const int tens =
        static_cast<int>(std::lround((lumaOfGrey(meanGrey(image, right)) - 16.0) / 20.0));
    return tens * 10 + ones;
}

bool makeRampWav(const QString& path, double seconds)
{
    return testsupport::generateMedia(
        path, {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
               QStringLiteral("aevalsrc='mod(n,48000)/48000':s=48000:d=%1").arg(seconds),
               QStringLiteral("-c:a"), QStringLiteral("pcm_f32le")});
}

}  // namespace lumentatest
