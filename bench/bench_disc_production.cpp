// Times the whole production of two small discs against the command-line road.
//
// The discs: one menu page (2 s) with three titles, each one 20 s 1080p25
// H.264 clip with a tone; and one menu page with one title, a 5 min clip of
// the same kind (encoded in pieces side by side). Both PAL 16:9 at 6000
// kbit/s. Ours is the production workflow: every title and the menu
// rendered, spumux, dvdauthor (the DVD folder), then mkisofs (the ISO). The
// baseline, in the same run: "ffmpeg -target pal-dvd -aspect 16:9" per title
// one after another, dvdauthor on the titles, then "genisoimage -dvd-video".
// Both images are read back with libdvdread (the titles of each) before the
// times are printed, with "disc ratio:" (ours over the baseline) for each
// disc and the machine's load around each run; for each road also its CPU
// seconds, peak memory and peak thread count. The roads take turns, each
// timed bench::runCount() times; the times printed are the medians, and the
// usage that of the median run.
//
// Usage: bench_disc_production [ignored...]
// BRISANE_BENCH_KEEP=1 keeps the work folder (its path is printed).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <future>
#include <optional>

#include "BenchSupport.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDLibraryResource.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "production/BurnDVDWorkflow.h"
#include "production/DVDMenuImageGeneratorCustomImage.h"
#include "production/DVDTitleCount.h"
#include "production/MakeDVDVideo.h"
#include "shell/core/DiscModelBuilder.h"
#include "shell/core/DiscSideRebuild.h"

namespace {

struct DiscCase {
    const char* name;
    int clipSeconds;
    int titleCount;
};

constexpr DiscCase discCases[] = {{"three titles", 20, 3}, {"one title", 300, 1}};

// The project's disc settings and the template library its pages take.
struct Services {
    std::shared_ptr<DVDResource> disc = std::make_shared<DVDResource>();
    std::shared_ptr<DVDLibraryResource> library = std::make_shared<DVDLibraryResource>();
};

// The fixed project: `titleCount` titles of the clip on one page, its disc model.
std::shared_ptr<DVDLibrary> buildDisc(Services& services, const QString& clip, int titleCount)
{
    services.disc->setDvdFormat(1);
    services.disc->setAspectType(1);
    services.disc->setDvdBitrate(6000);
    auto media = std::make_shared<DataResource>();
    auto list = std::make_shared<DVDPageData>();
    media->addDvdPageToArray(list);
    for (int i = 0; i < titleCount; ++i) {
        const auto source = SectionDataResource::resourceWithPath(clip);
        const auto section = source ? source->createMediaSectionItem() : nullptr;
        if (!section) {
            return nullptr;
        }
        source->mediaSectionArray().append(section);
        media->addSectionDataResourceToArray(source);
        const auto piece = section->createMediaData();
        if (!piece) {
            return nullptr;
        }
        auto title = std::make_shared<DVDTitleData>();
        title->setSuperPage(list);
        title->setMediaDataArray({piece});
        piece->setSuperTitleData(title);
        list->titleDataArray().append(title);
    }
    DiscSideRebuild(media, services.disc).flushDVDResourceBeforeEdit();
    if (!list->menuPage()) {
        return nullptr;
    }
    list->menuPage()->setMenuDuration(2.0);
    return DiscModelBuilder(services.disc).getDVDObj();
}

// Seconds of our folder-plus-image production, or a negative number.
double timeOurs(const std::shared_ptr<DVDLibrary>& disc, const QString& folder, const QString& iso)
{
    BurnDVDWorkflow flow;
    QElapsedTimer timer;
    timer.start();
    std::future<bool> done = std::async(std::launch::async, [&] {
        const ProductionResult made = flow.make(disc, folder);
        if (!made.isSucceeded()) {
            std::fprintf(stderr, "DVD folder: %s\n", qPrintable(made.toString()));
            return false;
        }
        const ProductionResult imaged = flow.make(folder, iso, "BENCH");
        if (!imaged.isSucceeded()) {
            std::fprintf(stderr, "image: %s\n", qPrintable(imaged.toString()));
        }
        return imaged.isSucceeded();
    });
    while (done.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done.get() ? timer.elapsed() / 1000.0 : -1.0;
}

bool runTool(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VIDEO_FORMAT", "PAL");
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return false;
    }
    return true;
}

// Seconds of the command-line road, or a negative number.
double timeBaseline(const QString& clip, int titleCount, const QString& work, const QString& iso)
{
    QElapsedTimer timer;
    timer.start();
    QString xml = "<dvdauthor dest=\"dvd\"><vmgm/><titleset><titles>";
    for (int i = 0; i < titleCount; ++i) {
        const QString title = QString("%1/title%2.mpg").arg(work).arg(i);
        if (bench::timeFfmpegDvd(clip, title) < 0) {
            return -1.0;
        }
        xml += QString("<pgc><vob file=\"%1\"/></pgc>").arg(title);
    }
    xml += "</titles></titleset></dvdauthor>\n";
    QFile author(work + "/author.xml");
    if (!author.open(QIODevice::WriteOnly) || author.write(xml.toUtf8()) < 0) {
        return -1.0;
    }
    author.close();
    if (!runTool("dvdauthor", {"-x", "author.xml"}, work) ||
        !runTool("genisoimage", {"-quiet", "-dvd-video", "-V", "BASELINE", "-o", iso, "dvd"},
                 work)) {
        return -1.0;
    }
    return timer.elapsed() / 1000.0;
}

// One turn of both roads on one disc.
struct Turn {
    double ours = -1.0;
    bench::Usage oursUsage;
    double baseline = -1.0;
    bench::Usage baselineUsage;
};

// Builds the project, times our road and then the baseline's into `folder`,
// and reads both images back; nothing when a road fails.
std::optional<Turn> takeTurn(const DiscCase& disc, const QString& clip, const QString& folder)
{
    QDir().mkpath(folder);
    auto services = std::make_shared<Services>();
    services->library->loadMenuResourceTemplate(QCoreApplication::applicationDirPath() +
                                                "/menu_template.plugin");
    const auto model = buildDisc(*services, clip, disc.titleCount);
    if (!model || model->titles().size() != disc.titleCount || model->menus().isEmpty()) {
        std::fprintf(stderr, "cannot build the project\n");
        return std::nullopt;
    }
    Turn turn;
    const QString oursIso = folder + "/ours.iso";
    bench::RoadMeter oursMeter(true);
    turn.ours = timeOurs(model, folder + "/ours.dvdmedia", oursIso);
    turn.oursUsage = oursMeter.stop();
    const QString baselineWork = folder + "/baseline";
    QDir().mkpath(baselineWork);
    const QString baselineIso = folder + "/baseline.iso";
    bench::RoadMeter baselineMeter(false);
    turn.baseline = timeBaseline(clip, disc.titleCount, baselineWork, baselineIso);
    turn.baselineUsage = baselineMeter.stop();
    if (turn.ours < 0 || turn.baseline < 0) {
        return std::nullopt;
    }
    const long oursTitles = DVDTitleCount::titleCountAtPath(oursIso);
    const long baselineTitles = DVDTitleCount::titleCountAtPath(baselineIso);
    if (oursTitles != disc.titleCount || baselineTitles != disc.titleCount) {
        std::fprintf(stderr, "read back: ours %ld titles, baseline %ld titles (want %d)\n",
                     oursTitles, baselineTitles, disc.titleCount);
        return std::nullopt;
    }
    return turn;
}

// Builds and times one disc, both roads taking turns; false when a road fails.
bool runCase(const DiscCase& disc, const QString& folder)
{
    QDir().mkpath(folder);
    const QString clip = folder + "/clip1080.mp4";
    if (!bench::makeClip1080(clip, disc.clipSeconds)) {
        std::fprintf(stderr, "cannot make the clip\n");
        return false;
    }
    const QString loadBefore = bench::loadAverage();
    const bool keep = !qEnvironmentVariableIsEmpty("BRISANE_BENCH_KEEP");
    QList<Turn> turns;
    QList<double> ours;
    QList<double> baseline;
    std::printf("== %s\n", disc.name);
    for (int k = 0; k < bench::runCount(); ++k) {
        const QString turnFolder = QString("%1/run%2").arg(folder).arg(k + 1);
        const std::optional<Turn> turn = takeTurn(disc, clip, turnFolder);
        if (!turn) {
            return false;
        }
        std::printf("run %d: ours %.2f s, baseline %.2f s (ratio %.2f)\n", k + 1, turn->ours,
                    turn->baseline, turn->ours / turn->baseline);
        std::fflush(stdout);
        turns << *turn;
        ours << turn->ours;
        baseline << turn->baseline;
        if (!keep) {
            QDir(turnFolder).removeRecursively();  // a long disc's images fill a disk
        }
    }
    const QString loadAfter = bench::loadAverage();
    const Turn& oursMedian = turns[bench::medianIndex(ours)];
    const Turn& baselineMedian = turns[bench::medianIndex(baseline)];
    std::printf("ours (DVD folder and ISO, %d titles of %d s 1080p and a menu): %.2f s\n",
                disc.titleCount, disc.clipSeconds, oursMedian.ours);
    std::printf("baseline (ffmpeg per title, dvdauthor, genisoimage): %.2f s\n",
                baselineMedian.baseline);
    std::printf("ours: %s\n", qPrintable(bench::describe(oursMedian.oursUsage)));
    std::printf("baseline: %s\n", qPrintable(bench::describe(baselineMedian.baselineUsage)));
    std::printf("disc ratio: %.2f (%s)\n", oursMedian.ours / baselineMedian.baseline, disc.name);
    std::printf(
        "measured: wall-clock time of each road on a %d-core machine, the median of %lld runs "
        "taking turns, titles (or pieces of a long title) encoded up to %d at once, load "
        "average %s before and %s after\n",
        QThread::idealThreadCount(), static_cast<long long>(turns.size()),
        MakeDVDVideo::defaultConcurrentTitles(), qPrintable(loadBefore), qPrintable(loadAfter));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("BRISANE_BENCH_KEEP"));
    std::printf("work folder: %s\n", qPrintable(dir.path()));
    // The temporary root of production lives in the bench's folder.
    qputenv("TMPDIR", QFile::encodeName(dir.filePath("tmp")));
    QDir().mkpath(dir.filePath("tmp"));
    // BRISANE_BENCH_DISC names one case ("three titles", "one title") to run alone.
    const QString only = qEnvironmentVariable("BRISANE_BENCH_DISC");
    DVDMenuImageGeneratorCustomImage::install();
    int failures = 0;
    int index = 0;
    for (const DiscCase& disc : discCases) {
        if (only.isEmpty() || only == QLatin1String(disc.name)) {
            failures += runCase(disc, dir.filePath(QString("disc%1").arg(index))) ? 0 : 1;
        }
        ++index;
    }
    DVDMenuImageGeneratorCustomImage::uninstall();
    return failures == 0 ? 0 : 1;
}
