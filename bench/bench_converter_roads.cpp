// Converts one 1080p H.264 clip to a PAL 16:9 ".dvd" title stream three ways
// and prints the times: the ffmpeg command line ("-target pal-dvd"), the
// conversion job's direct road (an unedited file: decoded frames straight to
// the writer) and its composed road (the same clip flipped, so every frame is
// edited, drawn through the context pool and written). The ratios are ours
// over the command line. A faster road must not be a worse one, so for each
// output it also prints the video bitrate (against the 6 Mbit/s asked) and
// the PSNR against the source scaled to 720x576 (flipped too for the composed
// road), and for each road its wall time, CPU seconds, peak memory and peak
// thread count (the command line's: those of ffmpeg). The roads take turns,
// each timed bench::runCount() times; the times are the medians, the usage
// that of the median run, and the quality that of the last run's output.
//
// Without a clip it makes a real-looking one (see bench::makeClip1080).
//
// Usage: bench_converter_roads [seconds=60] [clip]
// BRISANE_BENCH_KEEP=1 keeps the work folder (its path is printed).
// BRISANE_BENCH_ROADS=direct or =composed runs that road alone (no command
// line, no ratios, no scores), for a profiler.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "BenchSupport.h"
#include "lumenta/LMFunctions.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"

namespace {

class Finish : public VCVideoConverterDelegate {
public:
    void converterDidFinished(VCVideoConverter*) override { done = true; }
    bool done = false;
};

// Seconds taken, or a negative number on failure.
double convert(const QString& clip, const QString& out, bool composed)
{
    auto item = VCMovie::movieWithPath(clip);
    if (!item) {
        return -1.0;
    }
    item->setVideoOutputSize(QSizeF(854, 480));  // the 16:9 menu canvas, as a disc sets it
    if (composed) {
        item->movie()->setHflip(true);
    }
    Finish finish;
    auto job = VCVideoConverter::create();
    job->setMovies({item});
    job->setDelegate(&finish);
    job->setPath(out);
    LMFFMovieFileOutputFormat format = bench::palWideFormat();
    format.channel_layout = lm_get_channel_layout_by_name("stereo");
    job->setMovieOutputFormat(format);
    job->updateConverterContent();
    QElapsedTimer timer;
    timer.start();
    job->startConvert();
    while (!finish.done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    const double seconds = timer.elapsed() / 1000.0;
    job->setDelegate(nullptr);
    if (!job->succeeded()) {
        std::fprintf(stderr, "conversion failed: %s\n", qPrintable(job->errorText()));
        return -1.0;
    }
    return seconds;
}

struct Road {
    const char* name;
    QString out;
    QString reference;      // the source as the road should have written it
    QList<double> seconds;  // of each run
    QList<bench::Usage> usage;

    double medianSeconds() const { return seconds[bench::medianIndex(seconds)]; }
    const bench::Usage& medianUsage() const { return usage[bench::medianIndex(seconds)]; }
};

void printQuality(const Road& road, const QString& clip, int asked)
{
    const double bitrate = bench::videoBitrate(road.out);
    std::printf("%s: video %.2f Mbit/s (%.0f %% of asked), PSNR %.2f dB\n", road.name,
                bitrate / 1e6, 100.0 * bitrate / asked,
                bench::psnr(road.out, clip, road.reference));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int seconds = args.size() > 1 ? args[1].toInt() : 60;
    QTemporaryDir dir;
    // BRISANE_BENCH_KEEP=1 keeps the clip and the outputs for a closer look.
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("BRISANE_BENCH_KEEP"));
    std::printf("work folder: %s\n", qPrintable(dir.path()));
    const QString clip = args.size() > 2 ? args[2] : dir.filePath("clip1080.mp4");
    if (args.size() <= 2 && !bench::makeClip1080(clip, seconds)) {
        std::fprintf(stderr, "cannot make the clip\n");
        return 1;
    }
    const QString loadBefore = bench::loadAverage();
    const QString only = qEnvironmentVariable("BRISANE_BENCH_ROADS");
    if (only == "direct" || only == "composed") {
        const bool composed = only == "composed";
        bench::RoadMeter meter(true);
        const double taken = convert(clip, dir.filePath(only + "/title0.dvd"), composed);
        const bench::Usage usage = meter.stop();
        if (taken < 0) {
            return 1;
        }
        std::printf("%s road: %.2f s; %s\n", qPrintable(only), taken,
                    qPrintable(bench::describe(usage)));
        return 0;
    }
    const int asked = bench::palWideFormat().video_bitrate;
    Road cli{"ffmpeg -target pal-dvd", dir.filePath("cli.mpg"), "scale=720:576", {}, {}};
    Road direct{"direct road", dir.filePath("direct/title0.dvd"), "scale=720:576", {}, {}};
    Road composed{
        "composed road", dir.filePath("composed/title0.dvd"), "hflip,scale=720:576", {}, {}};
    // The roads take turns; each turn writes each output anew.
    for (int k = 0; k < bench::runCount(); ++k) {
        for (Road* road : {&cli, &direct, &composed}) {
            QFile::remove(road->out);
            bench::RoadMeter meter(road != &cli);
            const double taken = road == &cli ? bench::timeFfmpegDvd(clip, cli.out)
                                              : convert(clip, road->out, road == &composed);
            const bench::Usage usage = meter.stop();
            if (taken < 0) {
                std::fprintf(stderr, "%s failed\n", road->name);
                return 1;
            }
            road->seconds << taken;
            road->usage << usage;
        }
        std::printf("run %d: command line %.2f s, direct %.2f s, composed %.2f s\n", k + 1,
                    cli.seconds.last(), direct.seconds.last(), composed.seconds.last());
        std::fflush(stdout);
    }
    std::printf("written: direct %.2f s, composed %.2f s of %d s\n",
                bench::writtenLength(direct.out), bench::writtenLength(composed.out), seconds);
    for (const Road* road : {&cli, &direct, &composed}) {
        printQuality(*road, clip, asked);
    }
    for (const Road* road : {&cli, &direct, &composed}) {
        std::printf("%s: %s\n", road->name, qPrintable(bench::describe(road->medianUsage())));
    }
    std::printf("ffmpeg -target pal-dvd: %.2f s\n", cli.medianSeconds());
    std::printf("direct road: %.2f s\n", direct.medianSeconds());
    std::printf("composed road: %.2f s\n", composed.medianSeconds());
    std::printf("direct ratio: %.2f\n", direct.medianSeconds() / cli.medianSeconds());
    std::printf("composed ratio: %.2f\n", composed.medianSeconds() / cli.medianSeconds());
    std::printf(
        "measured on %d cores, the median of %lld runs taking turns, load average %s "
        "before and %s after\n",
        QThread::idealThreadCount(), static_cast<long long>(cli.seconds.size()),
        qPrintable(loadBefore), qPrintable(bench::loadAverage()));
    return 0;
}
