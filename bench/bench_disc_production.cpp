// Times the whole production of two small discs and a film against the command-line road.
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
// Then the film: one title of a 90 min 1080p25 H.264 film with a stereo AAC
// tone (made once and kept, see bench::keepFilmClip), cut into chapters of
// five minutes, with a menu, on the same PAL 16:9 disc, made into an ISO by
// the production window's ISO road as the burn sheet starts it; against the
// command line with the same chapters, one turn each. It prints "film
// ratio:", "film peak memory:" (this process), "film temporary disk:" (the
// most the temporary root held at once, sampled every 20 ms, beside the
// disc's size) and "film PSNR:" of both discs' titles against the film
// scaled to 720x576. The production's log lines and tool ends go to
// standard error with the seconds since the road began.
//
// Usage: bench_disc_production [ignored...]
// BRISANE_BENCH_KEEP=1 keeps the work folder (its path is printed).
// BRISANE_BENCH_DISC names one case to run alone ("three titles", "one
// title", "film"). BRISANE_BENCH_FILM_MINUTES shortens the film (default 90).

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <future>
#include <optional>

#include "BenchSupport.h"
#include "common/FileManagerExtention.h"
#include "common/RevealService.h"
#include "common/widgets/AlertService.h"
#include "common/widgets/AlertSheet.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDLibraryResource.h"
#include "corvane/DVDToolTask.h"
#include "lumenta/LMDVD.h"
#include "lumenta/LMFunctions.h"
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
#include "shell/BurnDVDCtrl.h"
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

// The fixed project: `titleCount` titles of the clip on one page, and its
// disc model. With `chapterSeconds`, each title is one merged clip of the
// clip's parts of that length (a chapter each), as the title list merges
// them; otherwise one clip of the whole file.
std::shared_ptr<DVDLibrary> buildDisc(Services& services, const QString& clip, int titleCount,
                                      double chapterSeconds = 0.0)
{
    services.disc->setDvdFormat(1);
    services.disc->setAspectType(1);
    services.disc->setDvdBitrate(6000);
    auto media = std::make_shared<DataResource>();
    auto list = std::make_shared<DVDPageData>();
    media->addDvdPageToArray(list);
    const auto length = static_cast<LMMediaTime>(chapterSeconds * lm_default_time_base());
    for (int i = 0; i < titleCount; ++i) {
        const auto source = SectionDataResource::resourceWithPath(clip);
        if (!source) {
            return nullptr;
        }
        media->addSectionDataResourceToArray(source);
        auto title = std::make_shared<DVDTitleData>();
        title->setSuperPage(list);
        std::shared_ptr<MediaData> merged;
        std::shared_ptr<MediaData> whole;
        for (LMMediaTime from = 0;;) {
            const auto section = source->createMediaSectionItem();
            if (!section) {
                return nullptr;
            }
            const LMMediaTime end = section->endTimeInMedia();
            section->setStartTimeInMedia(from);
            section->setEndTimeInMedia(length > 0 ? std::min(end, from + length) : end);
            source->mediaSectionArray().append(section);
            const auto part = section->createMediaData();
            if (!part) {
                return nullptr;
            }
            from = section->endTimeInMedia();
            if (length <= 0) {
                whole = part;
                break;
            }
            if (!merged) {
                merged = MediaData::copyMediaFromMedia(*part);
                merged->setSectionItem(nullptr);
                merged->setHasSubMedia(true);
            }
            part->flushSuperMediaData(merged);
            merged->subMediaArray().append(part);
            if (from >= end) {
                break;
            }
        }
        const auto clipOfTitle = merged ? merged : whole;
        clipOfTitle->setSuperTitleData(title);
        title->setMediaDataArray({clipOfTitle});
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

// Seconds of the command-line road, or a negative number. `chapters` is
// dvdauthor's list of chapter times for each title (none when empty).
double timeBaseline(const QString& clip, int titleCount, const QString& work, const QString& iso,
                    const QString& chapters = QString())
{
    QElapsedTimer timer;
    timer.start();
    QString xml = "<dvdauthor dest=\"dvd\"><vmgm/><titleset><titles>";
    for (int i = 0; i < titleCount; ++i) {
        const QString title = QString("%1/title%2.mpg").arg(work).arg(i);
        if (bench::timeFfmpegDvd(clip, title) < 0) {
            return -1.0;
        }
        const QString marks =
            chapters.isEmpty() ? QString() : QString(" chapters=\"%1\"").arg(chapters);
        xml += QString("<pgc><vob file=\"%1\"%2/></pgc>").arg(title, marks);
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

// --- The film: one long title through the production window ---

constexpr double filmChapterSeconds = 300.0;

int filmMinutes()
{
    bool given = false;
    const int minutes = qEnvironmentVariableIntValue("BRISANE_BENCH_FILM_MINUTES", &given);
    return given && minutes > 0 ? minutes : 90;
}

// The alerts of the production window, printed; nothing is revealed.
class PrintedAlerts : public AlertService {
public:
    int runAlert(const AlertContent& alert, QWidget*) override
    {
        std::fprintf(stderr, "alert: %s %s\n", qPrintable(alert.message),
                     qPrintable(alert.informativeText));
        return DefaultReturn;
    }
    std::shared_ptr<AlertSheet> beginAlertSheet(const AlertContent& alert, QWidget* window,
                                                std::function<void(int)> didEnd) override
    {
        if (didEnd) {
            didEnd(runAlert(alert, window));
        }
        return std::make_shared<AlertSheet>(alert);
    }
};

class NoReveal : public RevealService {
public:
    void selectFile(const QString&) override {}
};

// The production's log lines and its tools' ends, stamped with the seconds
// since the road began, on standard error.
QElapsedTimer filmClock;

void stampedLog(QtMsgType, const QMessageLogContext&, const QString& text)
{
    std::fprintf(stderr, "[%7.1f s] %s\n", filmClock.elapsed() / 1000.0, qPrintable(text));
}

struct ProgressSample {
    double seconds;
    double shown;
    std::optional<double> left;  // the time left shown
};

struct FilmRun {
    double seconds = -1.0;
    bench::Usage usage;
    qint64 temporaryBytes = 0;
    QList<ProgressSample> samples;
};

// Our road: the production window's ISO road, as the burn sheet starts it,
// with the most the temporary root held meanwhile and what the window showed.
std::optional<FilmRun> produceFilm(const std::shared_ptr<DVDLibrary>& disc, const QString& iso)
{
    FilmRun run;
    BurnDVDCtrl window;
    window.setRefreshObserver([&run](BurnDVDCtrl& shown) {
        run.samples.append(
            {filmClock.elapsed() / 1000.0, shown.shownProgress(), shown.shownTimeLeft()});
    });
    std::optional<ProductionResult> ended;
    QObject::connect(&window, &BurnDVDCtrl::roadEnded,
                     [&ended](const ProductionResult& result) { ended = result; });
    const int observer = DVDToolTask::addTerminationObserver(
        [](const QString& tool, int, auto) { qInfo().noquote() << tool << "ended"; });
    const QtMessageHandler previous = qInstallMessageHandler(stampedLog);
    bench::FolderMeter temporary(FileManagerExtention::tempUsedFileDirectory());
    bench::RoadMeter meter(true);
    filmClock.start();
    window.burn(disc, iso, "FILM");
    while (!ended) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    run.seconds = filmClock.elapsed() / 1000.0;
    run.usage = meter.stop();
    run.temporaryBytes = temporary.stop();
    qInstallMessageHandler(previous);
    DVDToolTask::removeTerminationObserver(observer);
    if (!ended->isSucceeded()) {
        std::fprintf(stderr, "the film's ISO road: %s\n", qPrintable(ended->toString()));
        return std::nullopt;
    }
    return run;
}

// dvdauthor's chapter list for `seconds`: a chapter every five minutes.
QString chapterList(int seconds)
{
    QStringList marks;
    for (int at = 0; at < seconds; at += static_cast<int>(filmChapterSeconds)) {
        marks << QString::asprintf("%d:%02d:00", at / 3600, at / 60 % 60);
    }
    return marks.join(',');
}

// The chapters of the one title of the image, or -1 when it holds another
// number of titles.
long chaptersOfOneTitle(const QString& iso)
{
    const LMDVD::Ptr dvd = LMDVD::open(iso);
    if (!dvd || dvd->titleSources().size() != 1) {
        return -1;
    }
    return static_cast<long>(
        dvd->titleSources().first().dictionary().value("chapters").toInt().value_or(-1));
}

// The worst error of the time left the window showed, from the first minute
// on, against the true time left (while that is at least `least` seconds):
// the error, and when it was.
std::pair<double, double> worstTimeLeftError(const FilmRun& run, double least)
{
    std::pair<double, double> worst{0.0, 0.0};
    for (const ProgressSample& sample : run.samples) {
        const double truth = run.seconds - sample.seconds;
        if (sample.seconds < 60.0 || truth < least) {
            continue;
        }
        const double error = sample.left ? std::abs(*sample.left - truth) / truth : 1.0;
        if (error > worst.first) {
            worst = {error, sample.seconds};
        }
    }
    return worst;
}

// The progress shown at each tenth of the run's time.
QString progressByTenths(const FilmRun& run)
{
    QStringList shown;
    for (int tenth = 1; tenth < 10; ++tenth) {
        double value = 0.0;
        for (const ProgressSample& sample : run.samples) {
            if (sample.seconds <= run.seconds * tenth / 10.0) {
                value = sample.shown;
            }
        }
        shown << QString::number(value, 'f', 2);
    }
    return shown.join(' ');
}

// One long title (chapters every five minutes) with a menu, through the
// production window's ISO road, against the command line; false when a road
// fails.
bool runFilm(const QString& folder)
{
    const int minutes = filmMinutes();
    const int seconds = minutes * 60;
    const QString clip = bench::keptClipFolder() + QString("/film1080-%1min.mp4").arg(minutes);
    if (!bench::keepFilmClip(clip, seconds)) {
        std::fprintf(stderr, "cannot make the film\n");
        return false;
    }
    std::printf("== film (%d min)\n", minutes);
    QDir().mkpath(folder);
    auto services = std::make_shared<Services>();
    services->library->loadMenuResourceTemplate(QCoreApplication::applicationDirPath() +
                                                "/menu_template.plugin");
    ModelServices::install(services);
    AlertService::install(std::make_shared<PrintedAlerts>());
    RevealService::install(std::make_shared<NoReveal>());
    const auto model = buildDisc(*services, clip, 1, filmChapterSeconds);
    const QString loadBefore = bench::loadAverage();
    const QString oursIso = folder + "/ours.iso";
    const std::optional<FilmRun> ours =
        model && !model->menus().isEmpty() ? produceFilm(model, oursIso) : std::nullopt;
    ModelServices::install(nullptr);
    if (!ours) {
        return false;
    }
    const QString loadBetween = bench::loadAverage();
    const QString baselineWork = folder + "/baseline";
    QDir().mkpath(baselineWork);
    const QString baselineIso = folder + "/baseline.iso";
    bench::RoadMeter baselineMeter(false);
    const double baseline = timeBaseline(clip, 1, baselineWork, baselineIso, chapterList(seconds));
    const bench::Usage baselineUsage = baselineMeter.stop();
    const QString loadAfter = bench::loadAverage();
    if (baseline < 0) {
        return false;
    }
    QDir(baselineWork).removeRecursively();
    const long chapters =
        (seconds + static_cast<int>(filmChapterSeconds) - 1) / static_cast<int>(filmChapterSeconds);
    const long oursChapters = chaptersOfOneTitle(oursIso);
    const long baselineChapters = chaptersOfOneTitle(baselineIso);
    if (oursChapters != chapters || baselineChapters != chapters) {
        std::fprintf(stderr, "read back: ours %ld chapters, baseline %ld (want %ld in one title)\n",
                     oursChapters, baselineChapters, chapters);
        return false;
    }
    // Both discs' titles against the film, side by side.
    const QString reference = "scale=720:576";
    std::future<double> oursPsnr = std::async(
        std::launch::async, [&] { return bench::discTitlePsnr(oursIso, clip, reference); });
    const double baselinePsnr = bench::discTitlePsnr(baselineIso, clip, reference);
    const double disc = static_cast<double>(QFileInfo(oursIso).size()) / 1024.0 / 1024.0;
    std::printf("ours (the window's ISO road, %d min 1080p, %ld chapters and a menu): %.2f s\n",
                minutes, chapters, ours->seconds);
    std::printf("baseline (ffmpeg, dvdauthor, genisoimage): %.2f s\n", baseline);
    std::printf("ours: %s\n", qPrintable(bench::describe(ours->usage)));
    std::printf("baseline: %s\n", qPrintable(bench::describe(baselineUsage)));
    std::printf("progress shown at each tenth of the time: %s\n",
                qPrintable(progressByTenths(*ours)));
    for (const double least : {0.0, 10.0}) {
        const auto [error, at] = worstTimeLeftError(*ours, least);
        std::printf("time left shown, worst from the first minute on%s: %.0f %% off (at %.0f s)\n",
                    least > 0 ? qPrintable(QString(" while %1 s or more are left").arg(least)) : "",
                    100.0 * error, at);
    }
    std::printf("film ratio: %.2f\n", ours->seconds / baseline);
    std::printf("film peak memory: %.0f MiB\n", ours->usage.ownPeakMiB);
    std::printf("film temporary disk: %.0f MiB (the disc: %.0f MiB, %.2f of it)\n",
                ours->temporaryBytes / 1024.0 / 1024.0, disc,
                ours->temporaryBytes / 1024.0 / 1024.0 / std::max(disc, 1.0));
    std::printf("film PSNR: %.2f dB (pipeline %.2f dB)\n", oursPsnr.get(), baselinePsnr);
    std::printf(
        "measured: one turn of each road on a %d-core machine, load average %s before, %s "
        "between and %s after\n",
        QThread::idealThreadCount(), qPrintable(loadBefore), qPrintable(loadBetween),
        qPrintable(loadAfter));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("BRISANE_BENCH_KEEP"));
    std::printf("work folder: %s\n", qPrintable(dir.path()));
    // The temporary root of production lives in the bench's folder.
    qputenv("TMPDIR", QFile::encodeName(dir.filePath("tmp")));
    QDir().mkpath(dir.filePath("tmp"));
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
    if (only.isEmpty() || only == QLatin1String("film")) {
        failures += runFilm(dir.filePath("film")) ? 0 : 1;
    }
    DVDMenuImageGeneratorCustomImage::uninstall();
    return failures == 0 ? 0 : 1;
}
