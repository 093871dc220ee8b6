#include "production/BurnDVDCtrl.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "common/AlertService.h"
#include "common/FileManagerExtention.h"
#include "common/RevealService.h"
#include "lumenta/LMDVD.h"
#include "production/BurnDVDWorkflow.h"

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

void BurnDVDCtrl::closeProgressWindow()
{
    m_refresh->stop();
    done(QDialog::Accepted);
}

ProductionResult BurnDVDCtrl::burnDVDWithBlock(
    std::function<ProductionResult(BurnDVDWorkflow&)> road)
{
    m_cancelled = false;
    m_shown = 0.0;
    m_shownValues.clear();
    auto flow = std::make_shared<BurnDVDWorkflow>();
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
    std::thread worker([&] {
        result = road(*flow);
        ended = true;
        QMetaObject::invokeMethod(this, &BurnDVDCtrl::closeProgressWindow, Qt::QueuedConnection);
    });
    // The road may end before the modal loop starts: the queued close then
    // arrives inside it.
    exec();
    worker.join();
    m_refresh->stop();
    {
        const std::lock_guard lock(m_mutex);
        m_flow.reset();
    }
    if (m_cancelled && !result.isSucceeded()) {
        result = ProductionResult::cancelled();
    }
    qInfo().noquote() << "production ended:" << result.toString();
    if (result.isFailed()) {
        showFailure(result);
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
    const QString temporary =
        FileManagerExtention::tempFilePath(TmpDVDPathKey, QStringLiteral("dvdmedia"));
    if (temporary.isEmpty()) {
        const ProductionResult failed =
            ProductionResult::failed(QStringLiteral("The temporary DVD folder cannot be made."));
        showFailure(failed);
        return failed;
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

void BurnDVDCtrl::selectOutputDVDFile(const QString& path)
{
    if (existsAt(path)) {
        RevealService::current()->selectFile(path);
    }
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
