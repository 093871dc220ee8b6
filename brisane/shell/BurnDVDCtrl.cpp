#include "shell/BurnDVDCtrl.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStorageInfo>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent>
#include <algorithm>
#include <cmath>

#include "common/CommonFunction.h"
#include "common/FileManagerExtention.h"
#include "common/RevealService.h"
#include "common/widgets/AlertService.h"
#include "lumenta/LMDVD.h"
#include "production/BurnDVDWorkflow.h"
#include "production/IDiscBurner.h"
#include "shell/SheetProductionInteraction.h"

namespace {

constexpr int ProgressSteps = 1000;

bool existsAt(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The roads' threads: apart from the global pool, so that a road never waits
// for a thread that work it started itself holds. Kept to the process's end.
QThreadPool* roadThreads()
{
    static QThreadPool* const pool = [] {
        auto* threads = new QThreadPool;
        threads->setMaxThreadCount(2);
        return threads;
    }();
    return pool;
}

}  // namespace

BurnDVDCtrl::BurnDVDCtrl(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BurnDVDCtrl"));
    setWindowTitle(QStringLiteral("Making DVD"));
    setModal(true);
    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setRange(0, ProgressSteps);
    m_progressIndicator->setTextVisible(false);
    m_progressTextField = new QLabel(progressTextFor(0.0));
    m_progressTextField->setMinimumWidth(
        m_progressTextField->fontMetrics().horizontalAdvance(QStringLiteral("100 %")));
    m_timeLeftField = new QLabel;
    // Room for the longest text from the start, so that the first time left
    // shows whole and the row does not shift as it changes.
    m_timeLeftField->setMinimumWidth(
        m_timeLeftField->fontMetrics().horizontalAdvance(timeLeftTextFor(99 * 3600.0 - 1)));
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"));
    connect(m_cancelButton, &QPushButton::clicked, this, &BurnDVDCtrl::cancel);

    auto* row = new QHBoxLayout;
    row->addWidget(m_progressIndicator, 1);
    row->addWidget(m_progressTextField);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_timeLeftField);
    buttons->addStretch(1);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    m_refresh = new QTimer(this);
    m_refresh->setInterval(RefreshIntervalMs);
    connect(m_refresh, &QTimer::timeout, this, &BurnDVDCtrl::updateBurnProgress);
}

BurnDVDCtrl::~BurnDVDCtrl()
{
    if (m_run) {
        // The road's thread holds what it uses; it ends on its own.
        qWarning().noquote() << "the production window went away during a run; it is cancelled";
        m_run->flow().cancel();
    }
}

void BurnDVDCtrl::Weights::setWeights(double finished, double current)
{
    const std::lock_guard lock(m_mutex);
    m_finished = finished;
    m_current = current;
}

double BurnDVDCtrl::Weights::progress() const
{
    const std::lock_guard lock(m_mutex);
    return m_finished + m_flow->progress() * m_current;
}

QString BurnDVDCtrl::progressTextFor(double value)
{
    return QString::asprintf("%.0f %%", value * 100.0);
}

QString BurnDVDCtrl::progressText() const
{
    return m_progressTextField->text();
}

QString BurnDVDCtrl::timeLeftText() const
{
    return m_timeLeftField->text();
}

QString BurnDVDCtrl::timeLeftTextFor(double seconds)
{
    return QStringLiteral("%1 left").arg(
        CommonFunction::timeStrFromSecond(static_cast<float>(std::ceil(seconds))));
}

double BurnDVDCtrl::progress() const
{
    return m_run ? m_run->progress() : 0.0;
}

void BurnDVDCtrl::updateBurnWindowWithProgress(double value)
{
    const double clamped = std::clamp(value, 0.0, MaximumShownProgress);
    // A step's progress starts again from 0 when the next one begins; the
    // window never goes back.
    m_shown = std::max(m_shown, clamped);
    m_shownValues.append(m_shown);
    m_progressIndicator->setValue(static_cast<int>(m_shown * ProgressSteps));
    m_progressTextField->setText(progressTextFor(m_shown));
}

void BurnDVDCtrl::updateBurnProgress()
{
    updateBurnWindowWithProgress(progress());
    m_estimate.addSample(m_runClock.elapsed() / 1000.0, m_shown);
    m_timeLeft = m_estimate.remainingSeconds();
    m_timeLeftField->setText(m_timeLeft ? timeLeftTextFor(*m_timeLeft) : QString());
    if (m_observer) {
        m_observer(*this);
    }
}

void BurnDVDCtrl::cancel()
{
    m_cancelled = true;
    if (m_run) {
        m_run->flow().cancel();
    }
}

void BurnDVDCtrl::reject()
{
    // The road owns this window until it returns: it never closes early.
    // Escape and the close box ask before they cancel a running road.
    if (!isRunning()) {
        cancel();
        return;
    }
    if (m_cancelled || (m_stopQuestion && !m_stopQuestion->hasEnded())) {
        return;
    }
    AlertContent question;
    question.message = QStringLiteral("Stop making the DVD?");
    question.informativeText = QStringLiteral("What has been made so far is lost.");
    question.defaultButton = QStringLiteral("Continue");
    question.alternateButton = QStringLiteral("Stop");
    m_stopQuestion =
        AlertService::current()->beginAlertSheet(question, this, [this](int returnCode) {
            if (returnCode == AlertService::AlternateReturn && isRunning()) {
                cancel();
            }
        });
}

bool BurnDVDCtrl::isRunning() const
{
    return m_run != nullptr;
}

bool BurnDVDCtrl::isAskingToStop() const
{
    return m_stopQuestion && !m_stopQuestion->hasEnded();
}

void BurnDVDCtrl::closeProgressWindow()
{
    m_refresh->stop();
    // The road has ended: its question goes with the window.
    if (m_stopQuestion) {
        m_stopQuestion->dismiss();
        m_stopQuestion.reset();
    }
    done(QDialog::Accepted);
}

void BurnDVDCtrl::showCancelled()
{
    AlertContent alert;
    alert.message = QStringLiteral("DVD Make Cancelled");
    alert.informativeText = QStringLiteral("The DVD was not finished.");
    alert.defaultButton = QStringLiteral("OK");
    AlertService::current()->runAlert(alert, parentWidget());
}

void BurnDVDCtrl::burnDVDWithBlock(Road road, RoadEnd end,
                                   QList<RemainingTimeEstimate::Stage> stages)
{
    if (m_run) {
        qWarning().noquote() << "a production road is running already; nothing more was started";
        return;
    }
    m_cancelled = false;
    m_shown = 0.0;
    m_shownValues.clear();
    if (stages.isEmpty()) {
        stages = {{0.0, MaximumShownProgress, -1.0}};
    }
    m_estimate = RemainingTimeEstimate(std::move(stages), m_timeLeftSettleSeconds);
    m_timeLeft.reset();
    m_timeLeftField->clear();
    m_runClock.start();
    auto flow = std::make_shared<BurnDVDWorkflow>();
    flow->setInteraction(std::make_shared<SheetProductionInteraction>(this));
    flow->setBurnIntervals(m_intervals);
    const auto run = std::make_shared<Weights>(flow);
    m_run = run;
    updateBurnWindowWithProgress(0.0);
    m_refresh->start();
    open();

    // The last road's watcher may still be telling its end (a listener of
    // roadEnded starting the next road): it goes once that is done.
    if (m_watcher) {
        m_watcher->deleteLater();
    }
    auto* watcher = new QFutureWatcher<std::optional<ProductionResult>>(this);
    m_watcher = watcher;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, end = std::move(end)] {
        const std::optional<ProductionResult> result = watcher->future().result();
        roadDidEnd(result.value_or(ProductionResult::failed(
                       QStringLiteral("The production could not be run."))),
                   end);
    });
    watcher->setFuture(QtConcurrent::run(roadThreads(), [run, road = std::move(road)] {
        return std::optional<ProductionResult>(road(run->flow(), *run));
    }));
}

void BurnDVDCtrl::roadDidEnd(const ProductionResult& ended, const RoadEnd& end)
{
    const std::shared_ptr<Weights> run = std::move(m_run);
    closeProgressWindow();
    ProductionResult result = ended;
    if (m_cancelled && !result.isSucceeded()) {
        result = ProductionResult::cancelled();
    }
    qInfo().noquote() << "production ended:" << result.toString();
    if (result.isFailed() && !result.wasShown()) {
        showFailure(result);
    } else if (result.isCancelled()) {
        showCancelled();
    }
    if (end) {
        end(result, run->flow());
    }
    emit roadEnded(result);
}

void BurnDVDCtrl::refuseRoad(const ProductionResult& failed)
{
    showFailure(failed);
    emit roadEnded(failed);
}

void BurnDVDCtrl::showFailure(const ProductionResult& result)
{
    AlertContent alert;
    alert.message = QStringLiteral("DVD Make Failed");
    alert.informativeText = QStringLiteral("See the log file.");
    if (!result.reason().isEmpty()) {
        alert.informativeText += QLatin1Char('\n') + result.reason();
    }
    alert.defaultButton = QStringLiteral("OK");
    AlertService::current()->runAlert(alert, parentWidget());
}

void BurnDVDCtrl::burn(const std::shared_ptr<DVDLibrary>& dvd, const QString& media)
{
    burnDVDWithBlock(
        [dvd, media](BurnDVDWorkflow& flow, Weights& weights) {
            weights.setWeights(0.0, 1.0);
            return flow.make(dvd, media);
        },
        [this, media](const ProductionResult& result, const BurnDVDWorkflow&) {
            if (result.isSucceeded()) {
                selectOutputDVDFile(media);
            }
        },
        dvd ? roadStages(*dvd, 1.0, 0.0, 0.0) : QList<RemainingTimeEstimate::Stage>());
}

void BurnDVDCtrl::burn(const std::shared_ptr<DVDLibrary>& dvd, const QString& iso,
                       const QString& name)
{
    QString temporary;
    if (!makeTemporaryDVDFolder(temporary)) {
        refuseRoad(
            ProductionResult::failed(QStringLiteral("The temporary DVD folder cannot be made.")));
        return;
    }
    burnDVDWithBlock(
        [dvd, iso, name, temporary](BurnDVDWorkflow& flow, Weights& weights) {
            weights.setWeights(0.0, 0.9);
            const ProductionResult folder = flow.make(dvd, temporary);
            if (!folder.isSucceeded()) {
                return folder;
            }
            weights.setWeights(0.9, 0.1);
            if (flow.isCancelled()) {
                return ProductionResult::cancelled();
            }
            return flow.make(temporary, iso, name);
        },
        [this, iso](const ProductionResult& result, const BurnDVDWorkflow&) {
            FileManagerExtention::removeTempFile(TmpDVDPathKey);
            if (result.isSucceeded()) {
                selectOutputDVDFile(iso);
            }
        },
        dvd ? roadStages(*dvd, 0.9, 0.1, 0.0) : QList<RemainingTimeEstimate::Stage>());
}

bool BurnDVDCtrl::makeTemporaryDVDFolder(QString& temporary)
{
    temporary = FileManagerExtention::tempFilePath(TmpDVDPathKey, QStringLiteral("dvdmedia"));
    return !temporary.isEmpty();
}

QString BurnDVDCtrl::currentBurnVideoIso()
{
    return FileManagerExtention::defaultOutputVideoPath() +
           QStringLiteral("/currentBurnVideoISO.iso");
}

void BurnDVDCtrl::burn(const std::shared_ptr<DVDLibrary>& dvd,
                       const std::shared_ptr<IDiscBurner>& burner, const QString& name)
{
    QString temporary;
    if (!makeTemporaryDVDFolder(temporary)) {
        refuseRoad(
            ProductionResult::failed(QStringLiteral("The temporary DVD folder cannot be made.")));
        return;
    }
    const QString image = currentBurnVideoIso();
    const QFileInfo old(image);
    if (old.isFile() || old.isSymLink()) {
        QFile::remove(image);
    }
    const auto road = [dvd, burner, name, temporary, image](BurnDVDWorkflow& flow,
                                                            Weights& weights) {
        weights.setWeights(0.0, 0.5);
        const ProductionResult folder = flow.make(dvd, temporary);
        weights.setWeights(0.5, 0.05);
        if (!folder.isSucceeded()) {
            return folder;
        }
        const ProductionResult imaged =
            flow.isCancelled() ? ProductionResult::cancelled() : flow.make(temporary, image, name);
        weights.setWeights(0.55, 0.45);
        if (flow.isCancelled()) {
            return ProductionResult::cancelled();
        }
        // Only an image the image step finished is ever burned.
        if (!imaged.isSucceeded() || !QFileInfo(image).isFile()) {
            const AlertContent alert = isoErrorAlert(image, temporary);
            flow.showAlert({alert.message, alert.informativeText});
            return ProductionResult::failedAndShown(
                imaged.isSucceeded() ? QStringLiteral("The disc image is missing.")
                                     : imaged.reason());
        }
        return flow.burn(image, burner);
    };
    burnDVDWithBlock(
        road,
        [this, image](const ProductionResult&, const BurnDVDWorkflow& flow) {
            if (flow.burnSuccess() || !existsAt(image)) {
                QFile::remove(image);
            } else {
                selectOutputDVDFile(image);
            }
            FileManagerExtention::removeTempFile(TmpDVDPathKey);
        },
        dvd ? roadStages(*dvd, 0.5, 0.05, 0.45) : QList<RemainingTimeEstimate::Stage>());
}

void BurnDVDCtrl::burnCurrentIsoDVD(const std::shared_ptr<IDiscBurner>& burner)
{
    const QString image = currentBurnVideoIso();
    if (!QFileInfo(image).isFile()) {
        qInfo().noquote() << "no disc image to burn at" << image;
        const ProductionResult nothing =
            ProductionResult::failed(QStringLiteral("There is no disc image to burn."));
        emit roadEnded(nothing);
        return;
    }
    burnDVDWithBlock([image, burner](BurnDVDWorkflow& flow, Weights& weights) {
        weights.setWeights(0.0, 1.0);
        return flow.burn(image, burner);
    });
}

QList<RemainingTimeEstimate::Stage> BurnDVDCtrl::roadStages(const DVDLibrary& dvd, double folder,
                                                            double image, double burn)
{
    const double bytes = BurnDVDWorkflow::streamBytes(dvd);
    // The shares of the workflow's steps: rendering 90 and dvdauthor 10 of
    // the folder step, each step shown to 0.98 of its share at most.
    constexpr double cap = 0.98;
    QList<RemainingTimeEstimate::Stage> stages{
        {0.0, folder * 0.9, -1.0}, {folder * 0.9, folder * cap, bytes / AuthorBytesPerSecond}};
    if (image > 0.0) {
        stages.append({folder, folder + image * cap, bytes / ImageBytesPerSecond});
    }
    if (burn > 0.0) {
        stages.append({folder + image, folder + image + burn * cap, bytes / BurnBytesPerSecond});
    }
    return stages;
}

AlertContent BurnDVDCtrl::isoErrorAlert(const QString& image, const QString& folder)
{
    const qint64 free = QStorageInfo(QFileInfo(image).absolutePath()).bytesAvailable();
    const QString disk = QString::asprintf(
        " disk:%fM ", static_cast<double>(std::max<qint64>(free, 0)) / 1024.0 / 1024.0);
    AlertContent alert;
    alert.message = QStringLiteral("Iso Error");
    alert.informativeText = QStringLiteral("info %1 %2").arg(disk, getDVDMediaSizeInfo(folder));
    alert.defaultButton = QStringLiteral("OK");
    return alert;
}

void BurnDVDCtrl::selectOutputDVDFile(const QString& path)
{
    if (!existsAt(path)) {
        return;
    }
    // Where no file manager can show it, the user is told where it is.
    const QPointer<QWidget> window = parentWidget();
    RevealService::current()->selectFile(path, [path, window] {
        AlertContent alert;
        alert.message = QStringLiteral("The result cannot be shown in a file manager.");
        alert.informativeText = QStringLiteral("It is at:\n%1").arg(path);
        alert.defaultButton = QStringLiteral("OK");
        AlertService::current()->beginAlertSheet(alert, window.data());
    });
}

QString BurnDVDCtrl::getDVDMediaSizeInfo(const QString& folder)
{
    qsizetype titles = 0;
    if (const auto dvd = LMDVD::open(folder)) {
        titles = dvd->titleSources().size();
    }
    QString info = QStringLiteral("titles %1").arg(titles);
    QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        info += QString::asprintf(" %s:%fM ", qUtf8Printable(entry.fileName()),
                                  static_cast<double>(entry.size()) / 1024.0 / 1024.0);
    }
    return info;
}
