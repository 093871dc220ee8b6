// Converts one 1080p H.264 clip to a PAL 16:9 ".dvd" title stream three ways
// and prints the times: the ffmpeg command line ("-target pal-dvd"), the
// conversion job's direct road (an unedited file: decoded frames straight to
// the writer) and its composed road (the same clip flipped, so every frame is
// edited, drawn through the context pool and written). The ratios are ours
// over the command line.
//
// Usage: bench_converter_roads [seconds=20] [clip]

#include <QCoreApplication>
#include <QElapsedTimer>
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
    if (!job->succeeded()) {
        std::fprintf(stderr, "conversion failed: %s\n", qPrintable(job->errorText()));
        return -1.0;
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int seconds = args.size() > 1 ? args[1].toInt() : 20;
    QTemporaryDir dir;
    const QString clip = args.size() > 2 ? args[2] : dir.filePath("clip1080.mp4");
    if (args.size() <= 2 && !bench::makeClip1080(clip, seconds)) {
        std::fprintf(stderr, "cannot make the clip\n");
        return 1;
    }
    const double cli = bench::timeFfmpegDvd(clip, dir.filePath("cli.mpg"));
    if (cli < 0) {
        std::fprintf(stderr, "ffmpeg failed\n");
        return 1;
    }
    const double direct = convert(clip, dir.filePath("direct/title0.dvd"), false);
    const double composed = convert(clip, dir.filePath("composed/title0.dvd"), true);
    if (direct < 0 || composed < 0) {
        return 1;
    }
    std::printf("written: direct %.2f s, composed %.2f s of %d s\n",
                bench::writtenLength(dir.filePath("direct/title0.dvd")),
                bench::writtenLength(dir.filePath("composed/title0.dvd")), seconds);
    std::printf("ffmpeg -target pal-dvd: %.2f s\n", cli);
    std::printf("direct road: %.2f s\n", direct);
    std::printf("composed road: %.2f s\n", composed);
    std::printf("direct ratio: %.2f\n", direct / cli);
    std::printf("composed ratio: %.2f\n", composed / cli);
    return 0;
}
