// Transcodes a 1080p H.264 clip to a PAL ".dvd" stream through Lumenta (the
// direct path for unedited files: decoded frames to the writer, float audio
// in 1024-frame blocks) and with the ffmpeg command line ("-target pal-dvd"),
// and prints both times and their ratio (ours / command line) last.
//
// Usage: bench_lumenta_transcode [seconds=20] [clip]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFFMovieFileOutput.h"
#include "lumenta/LMFunctions.h"

namespace {

bool transcode(const QString& clip, const QString& out)
{
    auto movie = LMFFMovie::create();
    movie->openMedias(LMMediaSource::mediaWithPath(clip)->createMedias());
    if (!movie->hasVideo()) {
        std::fprintf(stderr, "no video in %s\n", qPrintable(clip));
        return false;
    }
    LMFFMovieFileOutput output;
    output.setPath(out);
    output.setMovieFormat(bench::palWideFormat());
    output.openVideo();
    output.openAudio();
    if (!output.startOutput()) {
        return false;
    }
    movie->configOutputFormat(output.audioInputFormat());
    movie->setExportMovie(true);
    movie->setCurrentTime(0);
    movie->flushOperation();
    const LMMediaTime duration = movie->duration();
    const int64_t base = lm_default_time_base();
    std::vector<float> block(1024 * 2);
    int64_t audioDone = 0;
    int64_t units = 0;
    int misses = 0;
    for (;;) {
        const LMMediaTime videoTime = units * base / 25;
        const LMMediaTime audioTime = audioDone * base / 48000;
        const bool videoOver = videoTime >= duration || misses > 50;
        const bool audioOver = audioTime >= duration;
        if (videoOver && audioOver) {
            break;
        }
        if (videoOver || videoTime > audioTime + base) {
            movie->readSample(reinterpret_cast<uint8_t*>(block.data()), 0, 1024);
            output.writeAudioData(reinterpret_cast<const uint8_t*>(block.data()));
            audioDone += 1024;
            continue;
        }
        bool any = false;
        movie->decodeImageAtTime(videoTime, true, [&](LMFFItem* item) {
            if (item) {
                item->set_movie_real_start_time(0);
                output.writeImage(item);
                any = true;
            }
        });
        misses = any ? 0 : misses + 1;
        // The video clock follows what the writer placed on its timeline.
        units = any ? qMax(units, output.video_output_time() * 25 / base) : units + 1;
    }
    return output.stopOutput();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int seconds = args.size() > 1 ? args[1].toInt() : 20;
    QTemporaryDir dir;
    QString clip = args.size() > 2 ? args[2] : dir.filePath("clip1080.mp4");
    if (args.size() <= 2 && !bench::makeClip1080(clip, seconds)) {
        std::fprintf(stderr, "cannot make the clip\n");
        return 1;
    }
    bench::RoadMeter cliMeter(false);
    const double cli = bench::timeFfmpegDvd(clip, dir.filePath("cli.mpg"));
    const bench::Usage cliUsage = cliMeter.stop();
    if (cli < 0) {
        std::fprintf(stderr, "ffmpeg failed\n");
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    bench::RoadMeter oursMeter(true);
    if (!transcode(clip, dir.filePath("title0.dvd"))) {
        std::fprintf(stderr, "Lumenta transcode failed\n");
        return 1;
    }
    const bench::Usage oursUsage = oursMeter.stop();
    const double ours = timer.elapsed() / 1000.0;
    std::printf("written: %.2f s of %d s\n", bench::writtenLength(dir.filePath("title0.dvd")),
                seconds);
    std::printf("ffmpeg -target pal-dvd: %.2f s; %s\n", cli, qPrintable(bench::describe(cliUsage)));
    std::printf("lumenta: %.2f s; %s\n", ours, qPrintable(bench::describe(oursUsage)));
    std::printf("ratio: %.2f\n", ours / cli);
    std::printf("measured on %d cores, load average %s\n", QThread::idealThreadCount(),
                qPrintable(bench::loadAverage()));
    return 0;
}
