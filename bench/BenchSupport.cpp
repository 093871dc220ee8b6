#include "BenchSupport.h"

#include <sys/resource.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <numeric>
#include <thread>

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
    const QString length = QString::number(seconds);
    // Gradients with a drifting grain (fixed pattern noise, scrolled), averaged
    // with the moving test shapes, then a fresh noise on every frame.
    const QString picture =
        "[0:v]format=yuv420p,noise=c0s=36:c0f=p:c1s=10:c1f=p:c2s=10:c2f=p,"
        "scroll=h=0.0006:v=0.0003[ground];"
        "[1:v]format=yuv420p[shapes];"
        "[ground][shapes]blend=all_mode=average,noise=alls=5:allf=t[v]";
    const bool made = runFfmpeg({"-f",
                                 "lavfi",
                                 "-i",
                                 "gradients=s=1920x1080:r=25:speed=0.02:n=5:seed=7:d=" + length,
                                 "-f",
                                 "lavfi",
                                 "-i",
                                 "testsrc2=size=1920x1080:rate=25:duration=" + length,
                                 "-f",
                                 "lavfi",
                                 "-i",
                                 "sine=frequency=440:sample_rate=48000:duration=" + length,
                                 "-filter_complex",
                                 picture,
                                 "-map",
                                 "[v]",
                                 "-map",
                                 "2:a",
                                 "-c:v",
                                 "libx264",
                                 "-preset",
                                 "veryfast",
                                 "-crf",
                                 "23",
                                 "-pix_fmt",
                                 "yuv420p",
                                 "-c:a",
                                 "aac",
                                 "-shortest",
                                 path});
    ::sync();
    return made;
}

int runCount()
{
    bool given = false;
    const int runs = qEnvironmentVariableIntValue("BRISANE_BENCH_RUNS", &given);
    return given && runs > 0 ? runs : 3;
}

int medianIndex(const QList<double>& values)
{
    QList<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&values](int a, int b) { return values[a] < values[b]; });
    return order.isEmpty() ? -1 : order[(order.size() - 1) / 2];
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

double videoBitrate(const QString& path)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                            "packet=pts_time,size", "-of", "csv=p=0", path});
    if (!probe.waitForFinished(-1) || probe.exitCode() != 0) {
        return 0.0;
    }
    double first = 0.0;
    double last = 0.0;
    double bytes = 0.0;
    qint64 packets = 0;
    for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(',');
        bool timed = false;
        const double time = fields.value(0).toDouble(&timed);
        if (fields.size() < 2 || !timed) {
            continue;
        }
        first = packets == 0 ? time : qMin(first, time);
        last = packets == 0 ? time : qMax(last, time);
        bytes += fields.value(1).toDouble();
        ++packets;
    }
    if (packets < 2 || last <= first) {
        return 0.0;
    }
    // The span of n frames is n frame times: the last one lasts too.
    const double span = (last - first) * packets / (packets - 1);
    return bytes * 8.0 / span;
}

double psnr(const QString& path, const QString& clip, const QString& reference)
{
    QProcess process;
    process.start("ffmpeg",
                  {"-hide_banner", "-nostats", "-i", path, "-i", clip, "-lavfi",
                   QString("[0:v]setpts=PTS-STARTPTS[ours];[1:v]%1,setpts=PTS-STARTPTS[ref];"
                           "[ours][ref]psnr=shortest=1")
                       .arg(reference),
                   "-f", "null", "-"});
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        return -1.0;
    }
    const QString log = QString::fromUtf8(process.readAllStandardError());
    const QRegularExpressionMatch match = QRegularExpression("average:([0-9.]+|inf)").match(log);
    if (!match.hasMatch()) {
        return -1.0;
    }
    return match.captured(1) == "inf" ? 99.0 : match.captured(1).toDouble();
}

void resetPeakMemory()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly)) {
        clear.write("5");
    }
}

double peakMemoryMiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return 0.0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return 0.0;
}

namespace {

// Fields of /proc/<pid>/status in their own units (kB for memory).
struct Status {
    long threads = 0;
    double hwmKiB = 0.0;
};

Status readStatus(const QString& pid)
{
    Status status;
    QFile file(QStringLiteral("/proc/%1/status").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) {
        return status;
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0);
        if (line.startsWith("Threads:")) {
            status.threads = value.toLong();
        } else if (line.startsWith("VmHWM:")) {
            status.hwmKiB = value.toDouble();
        }
    }
    return status;
}

// The programs this process runs now (children of any of its threads).
QStringList children()
{
    QStringList pids;
    for (const QString& task :
         QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(QStringLiteral("/proc/self/task/%1/children").arg(task));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& pid : file.readAll().simplified().split(' ')) {
                if (!pid.isEmpty()) {
                    pids << QString::fromLatin1(pid);
                }
            }
        }
    }
    return pids;
}

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

struct RoadMeter::Impl {
    bool withSelf = true;
    QElapsedTimer timer;
    double cpuStart = 0.0;
    std::atomic<bool> stopping{false};
    std::atomic<long> peakThreads{0};
    std::map<QString, double> childPeaks;  // by pid, only on the sampler
    std::thread sampler;

    double cpuNow() const
    {
        return (withSelf ? cpuSeconds(RUSAGE_SELF) : 0.0) + cpuSeconds(RUSAGE_CHILDREN);
    }

    void sample()
    {
        long threads = withSelf ? readStatus("self").threads - 1 : 0;  // not the sampler
        for (const QString& pid : children()) {
            const Status child = readStatus(pid);
            threads += child.threads;
            double& peak = childPeaks[pid];
            peak = std::max(peak, child.hwmKiB);
        }
        peakThreads = std::max(peakThreads.load(), threads);
    }
};

RoadMeter::RoadMeter(bool withSelf) : d(new Impl)
{
    d->withSelf = withSelf;
    resetPeakMemory();
    d->cpuStart = d->cpuNow();
    d->timer.start();
    d->sampler = std::thread([this] {
        while (!d->stopping) {
            d->sample();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
}

RoadMeter::~RoadMeter()
{
    stop();
    delete d;
}

Usage RoadMeter::stop()
{
    Usage usage;
    usage.wallSeconds = d->timer.elapsed() / 1000.0;
    if (d->sampler.joinable()) {
        d->stopping = true;
        d->sampler.join();
    }
    usage.cpuSeconds = d->cpuNow() - d->cpuStart;
    double childPeak = 0.0;
    for (const auto& [pid, peak] : d->childPeaks) {
        childPeak = std::max(childPeak, peak);
    }
    usage.peakMiB = (d->withSelf ? peakMemoryMiB() : 0.0) + childPeak / 1024.0;
    usage.peakThreads = d->peakThreads;
    return usage;
}

QString loadAverage()
{
    QFile file("/proc/loadavg");
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(' ', 0, 2)
                                          : QStringLiteral("unknown");
}

QString describe(const Usage& usage)
{
    return QStringLiteral("wall %1 s, CPU %2 s, peak %3 MiB, %4 threads")
        .arg(usage.wallSeconds, 0, 'f', 2)
        .arg(usage.cpuSeconds, 0, 'f', 1)
        .arg(usage.peakMiB, 0, 'f', 0)
        .arg(usage.peakThreads);
}

}  // namespace bench
