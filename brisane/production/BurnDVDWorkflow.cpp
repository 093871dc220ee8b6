#include "production/BurnDVDWorkflow.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <atomic>
#include <cmath>

#include "common/FileManagerExtention.h"
#include "common/MainThread.h"
#include "corvane/DVDFSMake.h"
#include "corvane/DVDImageMake.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuPage.h"
#include "corvane/DVDTitleVideo.h"
#include "model/ProjectSourceCheck.h"
#include "production/DVDTitleCount.h"
#include "production/IDiscBurner.h"
#include "production/MakeDVDVideo.h"
#include "production/ProductionFiles.h"
#include "production/ProductionStepAdapter.h"
#include "production/TitleStreamFeed.h"

namespace {

// Milliseconds from 1970 to the reference date, 1 January 2001.
constexpr qint64 referenceDateOffsetMs = 978307200000;
// Weights within a step (of BurnDVDWorkflow::totalLength()).
constexpr double renderWeight = 90.0;
constexpr double authorWeight = 10.0;
constexpr double imageWeight = 100.0;
constexpr double burnWeight = 100.0;
// The most a step's progress shows.
constexpr double progressCap = 0.98;

void log(const QString& line)
{
    qInfo().noquote() << line;
}

QString listText(const QStringList& names)
{
    return QStringLiteral("(%1)").arg(names.join(QStringLiteral(", ")));
}

QString errorText(const QString& error)
{
    return error.isEmpty() ? QStringLiteral("(null)") : error;
}

QString dvdFolderName()
{
    return QStringLiteral("/dvd.dvdmedia");
}

QString imageName()
{
    return QStringLiteral("/dvd.iso");
}

IProductionInteraction::Message alertWith(const QString& message, const QString& informative)
{
    return {message, informative};
}

double megabytes(qint64 bytes)
{
    return static_cast<double>(bytes) / 1024.0 / 1024.0;
}

// A step that failed where less is free than it needs (its partial files
// already removed) ran out of room, whatever part of it met the full disk
// first: it says so, for the user to make room.
ProductionResult sayWhenDiskIsFull(const ProductionResult& made, const QStringList& places,
                                   qint64 needed)
{
    for (const QString& place : places) {
        const qint64 free = made.isFailed() ? ProductionFiles::freeBytesAt(place) : -1;
        if (free >= 0 && free < needed) {
            log(QStringLiteral("too little room in %1: %2").arg(place, made.reason()));
            return ProductionResult::failed(
                QStringLiteral("The disk is full: making the DVD needs about %1 MB in %2, and "
                               "only %3 MB is free there. Make room and start again.")
                    .arg(std::ceil(megabytes(needed)))
                    .arg(QFileInfo(place).absolutePath())
                    .arg(std::floor(megabytes(free))));
        }
    }
    return made;
}

}  // namespace

BurnDVDWorkflow::BurnDVDWorkflow() = default;
BurnDVDWorkflow::~BurnDVDWorkflow() = default;

// --- State ---

void BurnDVDWorkflow::cancel()
{
    std::shared_ptr<IProductionStep> running;
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
        running = m_task;
    }
    if (running) {
        running->cancel();
    }
    m_changes->wake();
}

bool BurnDVDWorkflow::isCancelled() const
{
    std::lock_guard lock(m_mutex);
    return m_cancelled;
}

double BurnDVDWorkflow::progress() const
{
    std::lock_guard lock(m_mutex);
    const double running = m_task ? m_task->progress() : 0.0;
    const double step =
        (m_convertedLength + m_convertingLength * running) / std::max(totalLength(), 1.0);
    m_shownProgress = std::max(m_shownProgress, std::min(progressCap, step));
    return m_shownProgress;
}

std::shared_ptr<IProductionStep> BurnDVDWorkflow::task() const
{
    std::lock_guard lock(m_mutex);
    return m_task;
}

double BurnDVDWorkflow::convertedLength() const
{
    std::lock_guard lock(m_mutex);
    return m_convertedLength;
}

double BurnDVDWorkflow::convertingLength() const
{
    std::lock_guard lock(m_mutex);
    return m_convertingLength;
}

QString BurnDVDWorkflow::workPath()
{
    // In whole microseconds (the six decimals of the name), strictly growing,
    // so two calls in one microsecond still differ.
    static std::atomic<qint64> last{0};
    const auto now =
        static_cast<qint64>((QDateTime::currentMSecsSinceEpoch() - referenceDateOffsetMs) * 1000);
    qint64 previous = last.load();
    qint64 micro = 0;
    do {
        micro = std::max(now, previous + 1);
    } while (!last.compare_exchange_weak(previous, micro));
    return FileManagerExtention::tempFileDirectory(
        QStringLiteral("temp-%1.%2")
            .arg(micro / 1000000)
            .arg(micro % 1000000, 6, 10, QLatin1Char('0')));
}

qint64 BurnDVDWorkflow::imageBytes(const QString& media)
{
    // The file system's own records and padding come on top of the files.
    const qint64 files = DVDToolStep::fileSizeForItem(media + QStringLiteral("/VIDEO_TS"));
    return files + files / 100 + (qint64(1) << 20);
}

double BurnDVDWorkflow::streamBytes(const DVDLibrary& dvd)
{
    double seconds = 0.0;
    for (const ObjectPtr& title : dvd.titles()) {
        const auto video = std::dynamic_pointer_cast<DVDTitleVideo>(title);
        seconds += video ? video->duration() : 0.0;
    }
    for (const DVDLibrary::MenuPtr& menu : dvd.menus()) {
        seconds += menu ? menu->duration() : 0.0;
    }
    const LMFFMovieFileOutputFormat format = MakeDVDVideo::movieOutputFormat(dvd);
    return seconds * (static_cast<double>(format.video_bitrate) + format.audio_bitrate) / 8.0;
}

QString BurnDVDWorkflow::imageWorkPath(const QString& iso)
{
    const QFileInfo image(iso);
    return image.absoluteDir().filePath(QLatin1Char('.') + QFileInfo(workPath()).fileName());
}

void BurnDVDWorkflow::beginStep()
{
    std::lock_guard lock(m_mutex);
    m_convertedLength = 0.0;
    m_convertingLength = 0.0;
    m_shownProgress = 0.0;
}

void BurnDVDWorkflow::endStep()
{
    beginStep();
}

template <typename Run>
ProductionResult BurnDVDWorkflow::runTask(const std::shared_ptr<IProductionStep>& step,
                                          double weight, Run run)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_cancelled) {
            return ProductionResult::cancelled();
        }
        m_task = step;
        m_convertingLength = weight;
    }
    const ProductionResult result = run();
    std::lock_guard lock(m_mutex);
    // One change, so that progress never sees the task gone before its weight.
    m_convertedLength += m_convertingLength;
    m_convertingLength = 0.0;
    m_task.reset();
    return m_cancelled && result.isSucceeded() ? ProductionResult::cancelled() : result;
}

ProductionResult BurnDVDWorkflow::makeWorkFolder(const QString& work)
{
    ProductionFiles::removeItem(work);
    if (!QDir().mkpath(work)) {
        return ProductionResult::failed(
            QStringLiteral("The work folder %1 cannot be made.").arg(work));
    }
    return ProductionResult::succeeded();
}

// --- The DVD folder ---

ProductionResult BurnDVDWorkflow::make(const std::shared_ptr<DVDLibrary>& dvd, const QString& media)
{
    beginStep();
    ProductionResult result = ProductionResult::succeeded();
    const QList<MissingSource> missing =
        dvd ? ProjectSourceCheck::missingSources(*dvd) : QList<MissingSource>();
    if (!missing.isEmpty()) {
        result = ProductionResult::failed(ProjectSourceCheck::refusalHeading() + QLatin1Char('\n') +
                                          ProjectSourceCheck::describe(missing));
    } else if (!dvd || dvd->titles().isEmpty()) {
        result = ProductionResult::failed(QStringLiteral("The disc has no titles to play."));
    } else if (!ProductionFiles::isPlaceholder(media)) {
        result = ProductionResult::failed(
            QStringLiteral("Something is already at %1; it was left alone.").arg(media));
    }
    if (!result.isSucceeded()) {
        log(QStringLiteral("dvd media failed: %1").arg(result.reason()));
        endStep();
        return result;
    }

    const QString work = workPath();
    result = makeWorkFolder(work);
    if (result.isSucceeded()) {
        result = renderAndAuthor(dvd, work);
    }
    log(QStringLiteral("work %1").arg(listText(ProductionFiles::entryNames(work))));
    result = placeDVDFolder(work + dvdFolderName(), media, result);
    result = sayWhenDiskIsFull(result, {work, media}, dvd ? streamBytes(*dvd) : 0);
    ProductionFiles::removeItem(work);
    log(QStringLiteral("dvd media %1").arg(QFileInfo::exists(media) ? 1 : 0));
    if (!result.isSucceeded()) {
        log(QStringLiteral("dvd media %1").arg(result.toString()));
    }
    endStep();
    return result;
}

ProductionResult BurnDVDWorkflow::renderAndAuthor(const std::shared_ptr<DVDLibrary>& dvd,
                                                  const QString& work)
{
    auto render = std::make_shared<MakeDVDVideo>();
    if (m_concurrentTitles > 0) {
        render->setMaximumConcurrentTitles(m_concurrentTitles);
    }
    // A title in pieces is joined straight into dvdauthor as it reads it.
    render->setStreamsTitlesInPieces(true);
    ProductionResult result =
        runTask(render, renderWeight, [&] { return render->makeDVDVideo(dvd, work); });
    if (!result.isSucceeded()) {
        return result;
    }
    auto author = std::make_shared<DVDFSMake>();
    author->dvd(dvd, work);
    return runTask(std::make_shared<ProductionStepAdapter<DVDFSMake>>(author), authorWeight, [&] {
        TitleStreamFeed feed(render->titleStreams());
        const bool authored = author->start();
        const ProductionResult fed = feed.finish();
        if (author->isCancelled()) {
            return ProductionResult::cancelled();
        }
        if (!authored) {
            return ProductionResult::failed(
                QStringLiteral("dvdauthor could not author the disc (see the log).") +
                (fed.isFailed() ? QLatin1Char(' ') + fed.reason() : QString()));
        }
        return fed;
    });
}

ProductionResult BurnDVDWorkflow::placeDVDFolder(const QString& folder, const QString& media,
                                                 const ProductionResult& made)
{
    QDir().mkpath(QFileInfo(media).absolutePath());
    if (!ProductionFiles::removePlaceholder(media)) {
        return made.isSucceeded()
                   ? ProductionResult::failed(
                         QStringLiteral("Something is already at %1; it was left alone.")
                             .arg(media))
                   : made;
    }
    if (!made.isSucceeded()) {
        return made;
    }
    QString error;
    if (!ProductionFiles::moveItem(folder, media, &error)) {
        return ProductionResult::failed(
            QStringLiteral("The DVD folder cannot be moved to %1: %2").arg(media, error));
    }
    return made;
}

// --- The ISO image ---

ProductionResult BurnDVDWorkflow::make(const QString& media, const QString& iso,
                                       const QString& name)
{
    beginStep();
    const QString work = imageWorkPath(iso);
    ProductionResult result = makeWorkFolder(work);
    log(QStringLiteral("start iso make %1").arg(QFileInfo::exists(media) ? 1 : 0));
    log(QStringLiteral("media %1 %2 name:%3 0").arg(media, iso, name));
    const QString volume = name.isEmpty() ? defaultVolumeName() : name;

    if (result.isSucceeded()) {
        auto image = std::make_shared<DVDImageMake>();
        image->setInputPath(media);
        image->volume(volume, work);
        result =
            runTask(std::make_shared<ProductionStepAdapter<DVDImageMake>>(image), imageWeight, [&] {
                if (image->start()) {
                    return ProductionResult::succeeded();
                }
                return image->isCancelled()
                           ? ProductionResult::cancelled()
                           : ProductionResult::failed(
                                 QStringLiteral("mkisofs could not make the image (see the log)."));
            });
    }
    result = placeImage(work + imageName(), iso, media, result);
    result = sayWhenDiskIsFull(result, {work}, imageBytes(media));
    ProductionFiles::removeItem(work);
    endStep();
    return result;
}

ProductionResult BurnDVDWorkflow::placeImage(const QString& image, const QString& iso,
                                             const QString& media, const ProductionResult& made)
{
    const bool temp = QFileInfo::exists(image);
    const QString folder = QFileInfo(iso).absolutePath();
    QDir().mkpath(folder);
    log(QStringLiteral("iso dir:%1 %2").arg(QFileInfo(folder).isWritable() ? 1 : 0).arg(folder));

    // A file at the ISO path is replaced; a folder only when it is empty.
    QString error;
    const QFileInfo target(iso);
    if (target.isFile() && !target.isSymLink()) {
        QFile::remove(iso);
    } else if (!ProductionFiles::removePlaceholder(iso)) {
        error = QStringLiteral("something that is not an image is at %1").arg(iso);
    }
    if (made.isSucceeded() && error.isEmpty()) {
        ProductionFiles::moveItem(image, iso, &error);
    }
    const bool isoExists = made.isSucceeded() && error.isEmpty() && QFileInfo::exists(iso);
    const QString state = QStringLiteral("iso:%1 temp:%2 err:%3")
                              .arg(isoExists ? 1 : 0)
                              .arg(temp ? 1 : 0)
                              .arg(errorText(error));
    log(state);
    if (made.isSucceeded() && error.isEmpty() && temp && isoExists) {
        return made;
    }
    const QFileInfo info(folder);
    log(QStringLiteral("dir attr %1")
            .arg(QStringLiteral("{owner = %1; permissions = %2; writable = %3}")
                     .arg(info.owner())
                     .arg(static_cast<int>(info.permissions()), 0, 16)
                     .arg(info.isWritable() ? 1 : 0)));
    const QStorageInfo volume(folder);
    log(QStringLiteral("dir attr %1")
            .arg(QStringLiteral("{device = %1; free = %2; size = %3; readOnly = %4}")
                     .arg(QString::fromUtf8(volume.device()))
                     .arg(volume.bytesAvailable())
                     .arg(volume.bytesTotal())
                     .arg(volume.isReadOnly() ? 1 : 0)));
    log(QStringLiteral("make iso error :%1\ndvd media:%2")
            .arg(state)
            .arg(QFileInfo::exists(media) ? 1 : 0));
    if (!made.isSucceeded()) {
        return made;
    }
    return ProductionResult::failed(
        QStringLiteral("The image cannot be put at %1: %2").arg(iso, errorText(error)));
}

// --- The burn ---

bool BurnDVDWorkflow::burnSuccess() const
{
    std::lock_guard lock(m_mutex);
    return m_burnSuccess;
}

ProductionResult BurnDVDWorkflow::burn(const QString& iso,
                                       const std::shared_ptr<IDiscBurner>& burner)
{
    beginStep();
    {
        std::lock_guard lock(m_mutex);
        m_burnSuccess = false;
    }
    ProductionResult result = ProductionResult::failed(QStringLiteral("No burner was chosen."));
    if (burner) {
        burner->setChangeHandler([changes = m_changes] { changes->wake(); });
        result = runTask(burner, burnWeight, [&] { return burnIso(iso, *burner); });
        burner->setChangeHandler({});
    }
    log(QStringLiteral("burn %1").arg(result.toString()));
    endStep();
    return result;
}

ProductionResult BurnDVDWorkflow::burnIso(const QString& iso, IDiscBurner& burner)
{
    const QFileInfo image(iso);
    const bool existed = image.isFile();
    const qint64 isoSize = existed ? image.size() : 0;
    const bool fits = burner.mediaWritableSpace() > isoSize;
    if (!fits) {
        showAlert(alertWith(QStringLiteral("DVD Disc space is not enough."),
                            QStringLiteral("you can remove some video and try again.")));
    }
    MainThread::call([&burner] { burner.prepareForBurn(); });
    if (!fits) {
        return ProductionResult::failedAndShown(
            QStringLiteral("The disc has not enough space for the image."));
    }

    for (;;) {
        const bool started = startBurn(iso, burner);
        if (!started && isCancelled()) {
            // Nothing was written: the user asked for nothing more.
            log(QStringLiteral("burn cancelled before it started"));
            return ProductionResult::cancelled();
        }
        const BurnEnd end = started ? watchBurn(burner) : BurnEnd::Abandoned;
        if (end == BurnEnd::Failed) {
            if (askForRetry(isoSize, burner)) {
                continue;
            }
            return ProductionResult::cancelled();
        }
        const bool success = end == BurnEnd::Finished;
        {
            std::lock_guard lock(m_mutex);
            m_burnSuccess = success;
        }
        reportBurnEnd(success, started, existed, isoSize, iso, burner);
        if (success) {
            return ProductionResult::succeeded();
        }
        return isCancelled() ? ProductionResult::cancelled()
                             : ProductionResult::failedAndShown(
                                   started ? QStringLiteral("The burn failed.")
                                           : QStringLiteral("The burn could not be started."));
    }
}

bool BurnDVDWorkflow::startBurn(const QString& iso, IDiscBurner& burner)
{
    for (int left = StartAttempts; left > 0;) {
        pause(m_intervals.startAttempt, [this] { return isCancelled(); });
        bool started = false;
        bool cancelled = false;
        // Tested on the main thread, where a cancel comes from, right before
        // the start: a cancel is never followed by a burn.
        MainThread::call([&] {
            cancelled = isCancelled();
            if (!cancelled) {
                started = burner.burnISOPath(iso);
            }
        });
        if (cancelled) {
            return false;
        }
        --left;
        log(QStringLiteral("failed load %1").arg(left));
        if (started) {
            return true;
        }
    }
    return false;
}

BurnDVDWorkflow::BurnEnd BurnDVDWorkflow::watchBurn(IDiscBurner& burner)
{
    const auto ended = [&] {
        return burner.isFinished() || burner.isFailed() || isCancelled() || !burner.hasDevice() ||
               !burner.isBurning();
    };
    for (;;) {
        log(QStringLiteral("burn.status %1").arg(burner.statusText()));
        if (pause(m_intervals.statusPoll, ended)) {
            break;
        }
    }
    // The burner sets its end state and stops burning in one change: read
    // the end states after the others.
    if (isCancelled() && !burner.isFinished() && !burner.isFailed()) {
        return settleCancelledBurn(burner);
    }
    if (burner.isFinished()) {
        return BurnEnd::Finished;
    }
    if (!burner.hasDevice()) {
        log(QStringLiteral("the drive disappeared during the burn"));
        return BurnEnd::Abandoned;
    }
    if (burner.isFailed()) {
        return isCancelled() ? BurnEnd::Abandoned : BurnEnd::Failed;
    }
    log(QStringLiteral("the burner is idle without having finished"));
    return BurnEnd::Abandoned;
}

BurnDVDWorkflow::BurnEnd BurnDVDWorkflow::settleCancelledBurn(IDiscBurner& burner)
{
    // The cancel may have come before the burn started writing.
    burner.cancel();
    const bool settled = pause(m_intervals.cancelSettle, [&] {
        return burner.isFinished() || burner.isFailed() || !burner.isBurning();
    });
    if (!settled) {
        log(QStringLiteral("the cancelled burn did not end in %1 ms; it counts as failed")
                .arg(m_intervals.cancelSettle));
    }
    return burner.isFinished() ? BurnEnd::Finished : BurnEnd::Abandoned;
}

bool BurnDVDWorkflow::askForRetry(qint64 isoSize, IDiscBurner& burner)
{
    MainThread::call([&burner] { burner.prepareForBurn(); });
    log(QStringLiteral("failed:%1").arg(burner.statusText()));
    if (!m_interaction) {
        log(QStringLiteral("no one to ask whether to retry the burn"));
        return false;
    }

    IProductionInteraction::RetryQuestion question;
    question.message = QStringLiteral("Burn Failed");
    question.informativeText = QStringLiteral(
        "It maybe caused by the DVD Disc or the DVD Driver. You can insert a blank disc and try "
        "again.");
    question.retryButton = QStringLiteral("Retry");
    question.cancelButton = QStringLiteral("Cancel");
    question.canRetry = [&burner, isoSize] {
        return burner.mediaIsBlank() && burner.mediaWritableSpace() > isoSize;
    };
    question.isCancelled = [this] { return isCancelled(); };
    question.pollMs = m_intervals.sheetPoll;
    question.changes = m_changes;
    const bool retry = m_interaction->askToRetry(question);
    if (isCancelled()) {
        log(QStringLiteral("burn cancelled while the burn-failed sheet was up"));
        return false;
    }
    return retry;
}

void BurnDVDWorkflow::reportBurnEnd(bool success, bool started, bool existed, qint64 isoSize,
                                    const QString& iso, const IDiscBurner& burner)
{
    if (success) {
        showAlert(alertWith(QStringLiteral("DVD Burn Success"), QString()));
        return;
    }
    if (started) {
        showAlert(alertWith(QStringLiteral("DVD Burn Failed"), burner.statusText()));
        return;
    }
    const qint64 free = QStorageInfo(QFileInfo(iso).absolutePath()).bytesAvailable();
    const QString text =
        QString::asprintf("ISO File Error %d:%ld %.1fM disk:%.1fM \niso path ", existed ? 1 : 0,
                          DVDTitleCount::titleCountAtPath(iso), megabytes(isoSize),
                          megabytes(std::max<qint64>(free, 0))) +
        iso;
    showAlert(alertWith(QStringLiteral("DVD Burn Failed"), text));
}

void BurnDVDWorkflow::showAlert(const IProductionInteraction::Message& alert)
{
    log(QStringLiteral("alert %1 %2").arg(alert.message, alert.informativeText));
    if (m_interaction) {
        m_interaction->report(alert);
    }
}

bool BurnDVDWorkflow::pause(int milliseconds, const std::function<bool()>& until)
{
    return m_changes->waitFor(milliseconds, until);
}
