#pragma once
// The modal production window and the entry of its roads: a DVD folder
// (burn(disc, folder)), an ISO image (burn(disc, iso, name)) and a burned
// disc (burn(disc, burner, name)). Each road runs the steps of a fresh
// BurnDVDWorkflow on its own thread while exec() keeps the main loop
// serving; the window shows the combined progress every 0.1 s and offers
// Cancel, and closes itself when the road returns. Closing it any other way
// (Escape, the title bar) asks first ("Stop making the DVD?") and cancels
// the run on "Stop"; it closes once the road has ended.
//
// Shown progress: finished share + the workflow's progress x the current
// step's share, clamped to 0..0.99 and never below the value shown before.
//
// When a road ends: a finished output is revealed in the file browser
// (RevealService); a road that failed without being cancelled shows the
// alert "DVD Make Failed" with the reason and reveals nothing; a cancelled
// road says so ("DVD Make Cancelled") and reveals nothing. Where the file
// browser cannot show a result, an alert tells its path. The ISO road works in the
// temporary folder "TmpDVDPath---Key", removed at its end, and leaves
// nothing at the ISO path unless the image was finished.
//
// The disc road makes the DVD folder there too (half of the progress), then
// the image "currentBurnVideoISO.iso" in the default video folder (an old
// one is deleted first; 5 %), then burns it (the rest). Only a finished
// image is burned: when there is none after the image step the road shows
// "Iso Error" with the free space and the folder's listing and burns
// nothing. After a burn the image is deleted when the disc was burned, and
// revealed otherwise (a failed, refused or cancelled burn), so the user finds
// it. The workflow reports the burn itself; the road shows nothing more.
//
// One controller serves one run. Create and call it on the main thread.
#include <QDialog>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "production/BurnDVDWorkflow.h"
#include "production/ProductionResult.h"

class DVDLibrary;
class IDiscBurner;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class AlertSheet;
struct AlertContent;

class BurnDVDCtrl : public QDialog {
    Q_OBJECT
public:
    static inline const QString TmpDVDPathKey = QStringLiteral("TmpDVDPath---Key");
    static constexpr double MaximumShownProgress = 0.99;
    static constexpr int RefreshIntervalMs = 100;

    explicit BurnDVDCtrl(QWidget* parent = nullptr);
    ~BurnDVDCtrl() override;

    // burn:media: the DVD folder road into `media`.
    ProductionResult burn(const std::shared_ptr<DVDLibrary>& dvd, const QString& media);
    // burn:iso:name: the ISO road into `iso` with the volume name `name`.
    ProductionResult burn(const std::shared_ptr<DVDLibrary>& dvd, const QString& iso,
                          const QString& name);
    // burn:dvd:name: the disc road, burning with `burner` (its drive chosen)
    // under the volume name `name`.
    ProductionResult burn(const std::shared_ptr<DVDLibrary>& dvd,
                          const std::shared_ptr<IDiscBurner>& burner, const QString& name);
    // Burns the image an earlier disc road left behind, when there is one.
    ProductionResult burnCurrentIsoDVD(const std::shared_ptr<IDiscBurner>& burner);
    // The disc road's image: "currentBurnVideoISO.iso" in the default video folder.
    static QString currentBurnVideoIso();

    // The waits of the burn step of every later run.
    void setBurnIntervals(const BurnDVDWorkflow::BurnIntervals& intervals)
    {
        m_intervals = intervals;
    }

    // The common frame of every road: runs `road` on its own thread with a
    // fresh workflow while the window is up; returns when it has ended.
    ProductionResult burnDVDWithBlock(std::function<ProductionResult(BurnDVDWorkflow&)> road);

    // The Cancel button: cancels the run for good.
    void cancel();
    bool isCancelled() const { return m_cancelled; }
    // Escape and the title bar's close: while a road runs, asks whether to
    // stop (window-modal, the run goes on meanwhile) and cancels on "Stop".
    void reject() override;
    // A road is running.
    bool isRunning() const;
    // The stop question is up.
    bool isAskingToStop() const;
    // progressFinished + the workflow's progress x currentWeight (unclamped).
    double progress() const;
    // Shows `value` clamped to 0..0.99 and not below the last shown value.
    void updateBurnWindowWithProgress(double value);
    void updateBurnProgress();
    double shownProgress() const { return m_shown; }
    QString progressText() const;
    // Every value shown during the last run, in order (for the tests).
    QList<double> shownValues() const { return m_shownValues; }
    // Called on the main thread with the window up, at each refresh (tests).
    void setRefreshObserver(std::function<void(BurnDVDCtrl&)> observer)
    {
        m_observer = std::move(observer);
    }

    // Reveals `path` in the file browser when something exists there; where
    // it cannot be shown, an alert on the parent window gives its path.
    void selectOutputDVDFile(const QString& path);
    // "titles %ld" then " <name>:<size>M " for every entry below `folder`.
    static QString getDVDMediaSizeInfo(const QString& folder);
    // The text shown for a progress value: "%.0f %%" of value x 100.
    static QString progressTextFor(double value);

private:
    void setWeights(double finished, double current);
    void showFailure(const ProductionResult& result);
    void showCancelled();
    // Makes the temporary DVD folder into `temporary`; when it cannot be
    // made, shows the failure and answers it.
    std::optional<ProductionResult> makeTemporaryDVDFolder(QString& temporary);
    void closeProgressWindow();
    static AlertContent isoErrorAlert(const QString& image, const QString& folder);

    QProgressBar* m_progressIndicator = nullptr;
    QLabel* m_progressTextField = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTimer* m_refresh = nullptr;

    mutable std::mutex m_mutex;  // the workflow and the weights
    std::shared_ptr<BurnDVDWorkflow> m_flow;
    double m_progressFinished = 0.0;
    double m_currentWeight = 0.0;
    std::atomic<bool> m_cancelled{false};
    double m_shown = 0.0;
    QList<double> m_shownValues;
    std::function<void(BurnDVDCtrl&)> m_observer;
    std::shared_ptr<AlertSheet> m_stopQuestion;
    BurnDVDWorkflow::BurnIntervals m_intervals;
};
