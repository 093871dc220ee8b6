#pragma once
// The production window and the entry of its roads: a DVD folder
// (burn(disc, folder)), an ISO image (burn(disc, iso, name)) and a burned
// disc (burn(disc, burner, name)). A road returns at once: the window opens
// window-modal and runs the steps of a fresh BurnDVDWorkflow on a thread of
// its own (QtConcurrent, watched by a QFutureWatcher), while the main loop
// goes on serving. The window shows the combined progress every 0.1 s and
// offers Cancel, and closes itself when the road has ended; then roadEnded
// is emitted once with its result. Closing it any other way (Escape, the
// title bar) asks first ("Stop making the DVD?") and cancels the run on
// "Stop"; it closes once the road has ended. The steps report and ask
// through sheets on this window (SheetProductionInteraction).
//
// Shown progress: finished share + the workflow's progress x the current
// step's share, clamped to 0..0.99 and never below the value shown before.
// Beside it the window shows the time left ("hh:mm:ss left", nothing until
// it is known), from the shown progress by the road's stages
// (RemainingTimeEstimate): the encoding at its own pace, dvdauthor, mkisofs
// and the burn predicted from the size of the disc (roadStages) until they
// run long enough to show their own.
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
// One road at a time. Create and call it on the main thread. A window
// destroyed during a road cancels it; the road then ends on its own thread.
#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "production/BurnDVDWorkflow.h"
#include "production/ProductionResult.h"
#include "shell/core/RemainingTimeEstimate.h"

class DVDLibrary;
class IDiscBurner;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class AlertSheet;
struct AlertContent;
template <typename T>
class QFutureWatcher;

class BurnDVDCtrl : public QDialog {
    Q_OBJECT
public:
    static inline const QString TmpDVDPathKey = QStringLiteral("TmpDVDPath---Key");
    static constexpr double MaximumShownProgress = 0.99;
    static constexpr int RefreshIntervalMs = 100;

    explicit BurnDVDCtrl(QWidget* parent = nullptr);
    ~BurnDVDCtrl() override;

    // Each road starts and returns at once; roadEnded tells how it ended (at
    // once when it could not start).
    // burn:media: the DVD folder road into `media`.
    void burn(const std::shared_ptr<DVDLibrary>& dvd, const QString& media);
    // burn:iso:name: the ISO road into `iso` with the volume name `name`.
    void burn(const std::shared_ptr<DVDLibrary>& dvd, const QString& iso, const QString& name);
    // burn:dvd:name: the disc road, burning with `burner` (its drive chosen)
    // under the volume name `name`.
    void burn(const std::shared_ptr<DVDLibrary>& dvd, const std::shared_ptr<IDiscBurner>& burner,
              const QString& name);
    // Burns the image an earlier disc road left behind, when there is one.
    void burnCurrentIsoDVD(const std::shared_ptr<IDiscBurner>& burner);
    // The disc road's image: "currentBurnVideoISO.iso" in the default video folder.
    static QString currentBurnVideoIso();

    // The waits of the burn step of every later run.
    void setBurnIntervals(const BurnDVDWorkflow::BurnIntervals& intervals)
    {
        m_intervals = intervals;
    }

    // What a road runs on its thread: the steps of `flow`, telling the
    // window each step's share of the progress through `weights`.
    class Weights;
    using Road = std::function<ProductionResult(BurnDVDWorkflow& flow, Weights& weights)>;
    // What a road does on the main thread once it has ended and its failure
    // has been shown, before roadEnded.
    using RoadEnd = std::function<void(const ProductionResult&, const BurnDVDWorkflow&)>;

    // How long the encoding runs before its time left is shown (seconds);
    // set it before a road starts. Tests shorten it for their short discs.
    void setTimeLeftSettleSeconds(double seconds) { m_timeLeftSettleSeconds = seconds; }

    // The common frame of every road: opens the window and runs `road` on
    // its own thread with a fresh workflow; returns at once. `stages` tell
    // the time left (one stage at the bar's own pace when empty).
    void burnDVDWithBlock(Road road, RoadEnd end = {},
                          QList<RemainingTimeEstimate::Stage> stages = {});

    // The stages of a road whose DVD folder step takes `folder` of the bar,
    // its image step `image` and its burn `burn` (0 for a step it has not),
    // with the tools' seconds predicted from the size of `dvd`'s streams.
    static QList<RemainingTimeEstimate::Stage> roadStages(const DVDLibrary& dvd, double folder,
                                                          double image, double burn);
    // What the tools get through per second, for their predicted times (as
    // measured here: dvdauthor with its title streamed in, mkisofs).
    static constexpr double AuthorBytesPerSecond = 200e6;
    static constexpr double ImageBytesPerSecond = 600e6;
    static constexpr double BurnBytesPerSecond = 4 * 1385000.0;  // a 4x DVD burn

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
    // The time left shown now, in seconds; none while not known.
    std::optional<double> shownTimeLeft() const { return m_timeLeft; }
    QString timeLeftText() const;
    // The text shown for a time left: "hh:mm:ss left".
    static QString timeLeftTextFor(double seconds);
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

signals:
    // Once per road, on the main thread, after its end has been shown.
    void roadEnded(const ProductionResult& result);

private:
    void roadDidEnd(const ProductionResult& result, const RoadEnd& end);
    // Ends a road that could not start: shows the failure, then roadEnded.
    void refuseRoad(const ProductionResult& failed);
    void showFailure(const ProductionResult& result);
    void showCancelled();
    // Makes the temporary DVD folder into `temporary`; false when it cannot
    // be made.
    static bool makeTemporaryDVDFolder(QString& temporary);
    void closeProgressWindow();
    static AlertContent isoErrorAlert(const QString& image, const QString& folder);

    QProgressBar* m_progressIndicator = nullptr;
    QLabel* m_progressTextField = nullptr;
    QLabel* m_timeLeftField = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTimer* m_refresh = nullptr;

    // The running road's workflow and weights, shared with its thread.
    std::shared_ptr<Weights> m_run;
    QFutureWatcher<std::optional<ProductionResult>>* m_watcher = nullptr;
    std::atomic<bool> m_cancelled{false};
    double m_shown = 0.0;
    QList<double> m_shownValues;
    RemainingTimeEstimate m_estimate;
    double m_timeLeftSettleSeconds = RemainingTimeEstimate::settleSeconds;
    QElapsedTimer m_runClock;
    std::optional<double> m_timeLeft;
    std::function<void(BurnDVDCtrl&)> m_observer;
    std::shared_ptr<AlertSheet> m_stopQuestion;
    BurnDVDWorkflow::BurnIntervals m_intervals;
};

// One road's workflow and the progress shares of its steps; the road's
// thread sets the shares, the window reads the progress. Thread-safe.
class BurnDVDCtrl::Weights {
public:
    explicit Weights(std::shared_ptr<BurnDVDWorkflow> flow) : m_flow(std::move(flow)) {}

    BurnDVDWorkflow& flow() const { return *m_flow; }
    // The share done before the current step, and the current step's.
    void setWeights(double finished, double current);
    // finished + the workflow's progress x current (unclamped).
    double progress() const;

private:
    const std::shared_ptr<BurnDVDWorkflow> m_flow;
    mutable std::mutex m_mutex;
    double m_finished = 0.0;
    double m_current = 0.0;
};
