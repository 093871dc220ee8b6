#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>

#include "lumenta/LMFunctions.h"
#include "lumenta/LMMediaSource.h"

namespace bench {

bool runFfmpeg(const QStringList& args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y"} + args);
    return process.waitForFinished(-1) && process.exitCode() == 0;
}

bool makeClip1080(const QString& path, int seconds)
{
    std::printf("making a %d s 1080p25 H.264 clip...\n", seconds);
    std::fflush(stdout);
    return runFfmpeg(
        {"-f",        "lavfi",
         "-i",        QString("testsrc2=size=1920x1080:rate=25:duration=%1").arg(seconds),
         "-f",        "lavfi",
         "-i",        QString("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds),
         "-c:v",      "libx264",
         "-preset",   "veryfast",
         "-crf",      "23",
         "-pix_fmt",  "yuv420p",
         "-c:a",      "aac",
         "-shortest", path});
}

double timeFfmpegDvd(const QString& clip, const QString& out)
{
    QElapsedTimer timer;
    timer.start();
    if (!runFfmpeg({"-i", clip, "-target", "pal-dvd", "-aspect", "16:9", "-ac", "2", out})) {
        return -1.0;
    }
    return timer.elapsed() / 1000.0;
}

LMFFMovieFileOutputFormat palWideFormat()
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.width = 720;
    format.height = 576;
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = 6000000;
    format.framerate = 25;
    format.frameTime = 1;
    format.aspect = 16.0f / 9.0f;
    format.sample_rate = 48000;
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    format.audio_bitrate = 448000;
    return format;
}

double writtenLength(const QString& path)
{
    const QList<LMMedia::Ptr> medias = LMMediaSource::mediaWithPath(path)->createMedias();
    return medias.isEmpty() ? 0.0 : lm_ff_time_to_double(medias.first()->duration());
}

}  // namespace bench
