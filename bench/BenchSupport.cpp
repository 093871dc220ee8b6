#include "BenchSupport.h"

#include <dvdread/dvd_reader.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <numeric>
#include <thread>
#include <vector>

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

namespace {

// Encodes the bench's picture and a 440 Hz tone, `seconds` long, into `path`
// with the `audio` options and the `muxer`.
bool encodeClip(const QString& path, int seconds, const QStringList& audio, const QString& muxer)
{
    const QString length = QString::number(seconds);
    // Gradients with a drifting grain (fixed pattern noise, scrolled), averaged
    // with the moving test shapes, then a fresh noise on every frame.
    const QString picture =
        "[0:v]format=yuv420p,noise=c0s=36:c0f=p:c1s=10:c1f=p:c2s=10:c2f=p,"
        "scroll=h=0.0006:v=0.0003[ground];"
        "[1:v]format=yuv420p[shapes];"
        "[ground][shapes]blend=all_mode=average,noise=alls=5:allf=t[v]";
    const QStringList inputs{
        "-f", "lavfi", "-i", "gradients=s=1920x1080:r=25:speed=0.02:n=5:seed=7:d=" + length,
        "-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=25:duration=" + length,
        "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=" + length};
    const QStringList video{
        "-filter_complex", picture,   "-map",     "[v]",  "-map", "2:a",      "-c:v",
        "libx264",         "-preset", "veryfast", "-crf", "23",   "-pix_fmt", "yuv420p"};
    QStringList muxing{"-shortest"};
    if (!muxer.isEmpty()) {
        muxing << "-f" << muxer;
    }
    const bool made = runFfmpeg(inputs + video + audio + muxing + QStringList{path});
    ::sync();
    return made;
}

}  // namespace

bool makeClip1080(const QString& path, int seconds)
{
    std::printf("making a %d s 1080p25 H.264 clip...\n", seconds);
    std::fflush(stdout);
    return encodeClip(path, seconds, {"-c:a", "aac"}, QString());
}

QString keptClipFolder()
{
    QString folder = qEnvironmentVariable("BRISANE_BENCH_CLIPS");
    if (folder.isEmpty()) {
        const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
        folder = (cache.isEmpty() ? QDir::homePath() + "/.cache" : cache) + "/brisane-bench";
    }
    QDir().mkpath(folder);
    return folder;
}

bool keepFilmClip(const QString& path, int seconds)
{
    if (QFileInfo::exists(path) && writtenLength(path) >= seconds - 1.0) {
        std::printf("the %d s film is kept at %s\n", seconds, qPrintable(path));
        return true;
    }
    QFile::remove(path);
    const QFileInfo file(path);
    const QString partial = file.absoluteDir().filePath(file.completeBaseName() + ".part.mp4");
    std::printf(
        "making a %d s 1080p25 H.264 film with a stereo tone at %s (kept for later "
        "runs)...\n",
        seconds, qPrintable(path));
    std::fflush(stdout);
    if (!encodeClip(partial, seconds, {"-c:a", "aac", "-ac", "2"}, "mp4") ||
        !QFile::rename(partial, path)) {
        QFile::remove(partial);
        return false;
    }
    return true;
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

namespace {

// ffmpeg comparing its input `source` (a path, or "pipe:0" for its standard
// input) with `clip` through `reference`; not started.
void preparePsnr(QProcess& process, const QString& source, const QString& clip,
                 const QString& reference)
{
    process.setProgram("ffmpeg");
    process.setArguments({"-hide_banner", "-nostats", "-i", source, "-i", clip, "-lavfi",
                          QString("[0:v]setpts=PTS-STARTPTS[ours];[1:v]%1,setpts=PTS-STARTPTS[ref];"
                                  "[ours][ref]psnr=shortest=1")
                              .arg(reference),
                          "-f", "null", "-"});
}

// The average PSNR that a finished run of preparePsnr printed.
double psnrOf(QProcess& process)
{
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return -1.0;
    }
    const QString log = QString::fromUtf8(process.readAllStandardError());
    const QRegularExpressionMatch match = QRegularExpression("average:([0-9.]+|inf)").match(log);
    if (!match.hasMatch()) {
        return -1.0;
    }
    return match.captured(1) == "inf" ? 99.0 : match.captured(1).toDouble();
}

}  // namespace

double psnr(const QString& path, const QString& clip, const QString& reference)
{
    QProcess process;
    preparePsnr(process, path, clip, reference);
    process.start();
    if (!process.waitForFinished(-1)) {
        return -1.0;
    }
    return psnrOf(process);
}

double discTitlePsnr(const QString& disc, const QString& clip, const QString& reference)
{
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(disc).constData());
    dvd_file_t* title = dvd ? DVDOpenFile(dvd, 1, DVD_READ_TITLE_VOBS) : nullptr;
    const ssize_t blocks = title ? DVDFileSize(title) : -1;
    QProcess process;
    preparePsnr(process, "pipe:0", clip, reference);
    process.start();
    bool fed = blocks > 0 && process.waitForStarted(-1);
    // In steps of 1 MiB, each one taken by ffmpeg before the next is read.
    constexpr int step = 512;
    std::vector<unsigned char> buffer(step * DVD_VIDEO_LB_LEN);
    for (ssize_t at = 0; fed && at < blocks; at += step) {
        const ssize_t count = std::min<ssize_t>(step, blocks - at);
        const ssize_t read = DVDReadBlocks(title, static_cast<int>(at), count, buffer.data());
        fed = read == count && process.write(reinterpret_cast<const char*>(buffer.data()),
                                             read * DVD_VIDEO_LB_LEN) == read * DVD_VIDEO_LB_LEN;
        while (fed && process.bytesToWrite() > 0) {
            fed = process.waitForBytesWritten(-1);
        }
    }
    if (title) {
        DVDCloseFile(title);
    }
    if (dvd) {
        DVDClose(dvd);
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(-1) || !fed) {
        return -1.0;
    }
    return psnrOf(process);
}

qint64 bytesOnDisk(const QString& folder)
{
    qint64 bytes = 0;
    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        struct stat status {};
        if (::lstat(QFile::encodeName(entries.next()).constData(), &status) == 0 &&
            S_ISREG(status.st_mode)) {
            bytes += static_cast<qint64>(status.st_blocks) * 512;
        }
    }
    return bytes;
}

struct FolderMeter::Impl {
    QString folder;
    std::atomic<bool> stopping{false};
    std::atomic<qint64> peak{0};
    std::thread sampler;
};

FolderMeter::FolderMeter(const QString& folder) : d(new Impl)
{
    d->folder = folder;
    d->sampler = std::thread([this] {
        while (!d->stopping) {
            d->peak = std::max(d->peak.load(), bytesOnDisk(d->folder));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
}

FolderMeter::~FolderMeter()
{
    stop();
    delete d;
}

qint64 FolderMeter::stop()
{
    if (d->sampler.joinable()) {
        d->stopping = true;
        d->sampler.join();
    }
    return d->peak;
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
    usage.ownPeakMiB = d->withSelf ? peakMemoryMiB() : 0.0;
    usage.peakMiB = usage.ownPeakMiB + childPeak / 1024.0;
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
