#include "production/BurnDVDCtrl.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>
#include <thread>

#include "common/AlertService.h"
#include "common/FileManagerExtention.h"
#include "common/RevealService.h"
#include "lumenta/LMDVD.h"
#include "production/BurnDVDWorkflow.h"
#include "production/IDiscBurner.h"

namespace {

constexpr int ProgressSteps = 1000;

bool existsAt(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
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
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"));
    connect(m_cancelButton, &QPushButton::clicked, this, &BurnDVDCtrl::cancel);

    auto* row = new QHBoxLayout;
    row->addWidget(m_progressIndicator, 1);
    row->addWidget(m_progressTextField);
    auto* buttons = new QHBoxLayout;
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

BurnDVDCtrl::~BurnDVDCtrl() = default;

QString BurnDVDCtrl::progressTextFor(double value)
{
    return QString::asprintf("%.0f %%", value * 100.0);
}

QString BurnDVDCtrl::progressText() const
{
    return m_progressTextField->text();
}

void BurnDVDCtrl::setWeights(double finished, double current)
{
    const std::lock_guard lock(m_mutex);
    m_progressFinished = finished;
    m_currentWeight = current;
}

double BurnDVDCtrl::progress() const
{
    const std::lock_guard lock(m_mutex);
    const double running = m_flow ? m_flow->progress() : 0.0;
    return m_progressFinished + running * m_currentWeight;
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
    if (m_observer) {
        m_observer(*this);
    }
}

void BurnDVDCtrl::cancel()
{
    m_cancelled = true;
    std::shared_ptr<BurnDVDWorkflow> flow;
    {
        const std::lock_guard lock(m_mutex);
        flow = m_flow;
    }
    if (flow) {
        flow->cancel();
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
    const std::lock_guard lock(m_mutex);
    return m_flow != nullptr;
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

ProductionResult BurnDVDCtrl::burnDVDWithBlock(
    std::function<ProductionResult(BurnDVDWorkflow&)> road)
{
    m_cancelled = false;
    m_shown = 0.0;
    m_shownValues.clear();
    auto flow = std::make_shared<BurnDVDWorkflow>();
    flow->setSheetModalWindow(this);
    flow->setBurnIntervals(m_intervals);
    {
        const std::lock_guard lock(m_mutex);
        m_progressFinished = 0.0;
        m_currentWeight = 0.0;
        m_flow = flow;
    }
    updateBurnWindowWithProgress(0.0);
    m_refresh->start();

    ProductionResult result = ProductionResult::cancelled();
    std::atomic<bool> ended{false};
    std::thread worker;
    try {
        worker = std::thread([&] {
            result = road(*flow);
            ended = true;
            QMetaObject::invokeMethod(this, &BurnDVDCtrl::closeProgressWindow,
                                      Qt::QueuedConnection);
        });
    } catch (const std::system_error& error) {
        result = ProductionResult::failed(
            QStringLiteral("No thread could be started for the production (%1).")
                .arg(QString::fromLocal8Bit(error.what())));
    }
    if (worker.joinable()) {
        // The road may end before the modal loop starts: the queued close
        // then arrives inside it.
        exec();
        worker.join();
    }
    m_refresh->stop();
    {
        const std::lock_guard lock(m_mutex);
        m_flow.reset();
    }
    if (m_cancelled && !result.isSucceeded()) {
        result = ProductionResult::cancelled();
    }
    qInfo().noquote() << "production ended:" << result.toString();
    if (result.isFailed() && !result.wasShown()) {
        showFailure(result);
    } else if (result.isCancelled()) {
        showCancelled();
    }
    return result;
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

ProductionResult BurnDVDCtrl::burn(const std::shared_ptr<DVDLibrary>& dvd, const QString& media)
{
    const ProductionResult result = burnDVDWithBlock([this, dvd, media](BurnDVDWorkflow& flow) {
        setWeights(0.0, 1.0);
        return flow.make(dvd, media);
    });
    if (result.isSucceeded()) {
        selectOutputDVDFile(media);
    }
    return result;
}

ProductionResult BurnDVDCtrl::burn(const std::shared_ptr<DVDLibrary>& dvd, const QString& iso,
                                   const QString& name)
{
    QString temporary;
    if (const auto failed = makeTemporaryDVDFolder(temporary)) {
        return *failed;
    }
    const ProductionResult result =
        burnDVDWithBlock([this, dvd, iso, name, temporary](BurnDVDWorkflow& flow) {
            setWeights(0.0, 0.9);
            const ProductionResult folder = flow.make(dvd, temporary);
            if (!folder.isSucceeded()) {
                return folder;
            }
            setWeights(0.9, 0.1);
            if (flow.isCancelled()) {
                return ProductionResult::cancelled();
            }
            return flow.make(temporary, iso, name);
        });
    FileManagerExtention::removeTempFile(TmpDVDPathKey);
    if (result.isSucceeded()) {
        selectOutputDVDFile(iso);
    }
    return result;
}

std::optional<ProductionResult> BurnDVDCtrl::makeTemporaryDVDFolder(QString& temporary)
{
    temporary = FileManagerExtention::tempFilePath(TmpDVDPathKey, QStringLiteral("dvdmedia"));
    if (!temporary.isEmpty()) {
        return std::nullopt;
    }
    const ProductionResult failed =
        ProductionResult::failed(QStringLiteral("The temporary DVD folder cannot be made."));
    showFailure(failed);
    return failed;
}

QString BurnDVDCtrl::currentBurnVideoIso()
{
    return FileManagerExtention::defaultOutputVideoPath() +
           QStringLiteral("/currentBurnVideoISO.iso");
}

ProductionResult BurnDVDCtrl::burn(const std::shared_ptr<DVDLibrary>& dvd,
                                   const std::shared_ptr<IDiscBurner>& burner, const QString& name)
{
    QString temporary;
    if (const auto failed = makeTemporaryDVDFolder(temporary)) {
        return *failed;
    }
    const QString image = currentBurnVideoIso();
    const QFileInfo old(image);
    if (old.isFile() || old.isSymLink()) {
        QFile::remove(image);
    }
    bool burned = false;
    const ProductionResult result = burnDVDWithBlock([&](BurnDVDWorkflow& flow) {
        setWeights(0.0, 0.5);
        const ProductionResult folder = flow.make(dvd, temporary);
        setWeights(0.5, 0.05);
        if (!folder.isSucceeded()) {
            return folder;
        }
        const ProductionResult imaged =
            flow.isCancelled() ? ProductionResult::cancelled() : flow.make(temporary, image, name);
        setWeights(0.55, 0.45);
        if (flow.isCancelled()) {
            return ProductionResult::cancelled();
        }
        // Only an image the image step finished is ever burned.
        if (!imaged.isSucceeded() || !QFileInfo(image).isFile()) {
            flow.showAlert(isoErrorAlert(image, temporary));
            return ProductionResult::failedAndShown(
                imaged.isSucceeded() ? QStringLiteral("The disc image is missing.")
                                     : imaged.reason());
        }
        const ProductionResult burnt = flow.burn(image, burner);
        burned = flow.burnSuccess();
        return burnt;
    });
    if (burned || !existsAt(image)) {
        QFile::remove(image);
    } else {
        selectOutputDVDFile(image);
    }
    FileManagerExtention::removeTempFile(TmpDVDPathKey);
    return result;
}

ProductionResult BurnDVDCtrl::burnCurrentIsoDVD(const std::shared_ptr<IDiscBurner>& burner)
{
    const QString image = currentBurnVideoIso();
    if (!QFileInfo(image).isFile()) {
        qInfo().noquote() << "no disc image to burn at" << image;
        return ProductionResult::failed(QStringLiteral("There is no disc image to burn."));
    }
    return burnDVDWithBlock([this, image, burner](BurnDVDWorkflow& flow) {
        setWeights(0.0, 1.0);
        return flow.burn(image, burner);
    });
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
