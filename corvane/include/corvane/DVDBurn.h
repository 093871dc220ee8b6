#pragma once
// Burns a finished DVD image to a disc and tells how it goes.
//
// The main window keeps one DVDBurn for its life: it lists the DVD writers,
// keeps the chosen one and asks about its medium. The production prepares the
// burner (prepareForBurn), starts the burn (burnISOPath), then waits for
// burnStateChanged and reads isFinished / isFailed and progress from its own
// thread.
//
// state: 0 while free or burning, 1 finished, 2 failed. It moves only from 0,
// on statuses of the current burn, and stays at 1 or 2 until prepareForBurn.
// progress is one figure 0..1 over writing, verifying and closing the disc;
// polling it also records the phase fractions.
//
// Create it on the main thread. prepareForBurn and burnISOPath always run on
// the main thread, waiting when called from another one (which needs the main
// thread's event loop running). Everything else may be called from any thread.

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QVariantMap>
#include <memory>

#include "platform/DRBurn.h"
#include "platform/DRDevice.h"

class DVDBurn : public QObject {
    Q_OBJECT
public:
    explicit DVDBurn(QObject* parent = nullptr);
    ~DVDBurn() override;

    // Kept for the caller, never called (not owned).
    QObject* delegate() const { return delegate_; }
    void setDelegate(QObject* delegate) { delegate_ = delegate; }

    // Verify the disc after writing (off by default).
    bool allowVerify() const;
    void setAllowVerify(bool allowVerify);

    // The burn of the chosen device; null when no valid device is chosen.
    std::shared_ptr<DRBurn> burn() const;

    double writeProgress() const;
    void setWriteProgress(double value);
    double verifyingProgress() const;
    void setVerifyingProgress(double value);
    // When closing the disc was first seen, in seconds since 1970; 0 = not yet.
    double writeDiscStartTime() const;
    void setWriteDiscStartTime(double seconds);
    // Size in bytes of the image being burned.
    qint64 burnFileSize() const;
    void setBurnFileSize(qint64 bytes);

    // A copy of the last status the current burn reported (empty before one).
    QVariantMap status() const;
    int state() const;
    // A burn was started and has not ended yet: no end status arrived, its
    // drive is still there and its burn object was not replaced.
    bool isBurning() const;
    // A status or property dictionary as the log and the failure report show
    // it: "{\n    key = value;\n}".
    static QString describeDictionary(const QVariantMap& dictionary);

    // The attached drives that write DVDs, in the order the system lists them.
    QList<DRDevicePtr> devices() const;
    // Chooses the drive: a new burn for a valid device, none otherwise.
    void setDevice(const DRDevicePtr& device);
    DRDevicePtr device() const;
    // There is a burn and its drive is still there.
    bool isValid() const;

    bool mediaIsPresent() const;
    bool mediaIsBlank() const;
    // Sizes of the medium in bytes (0 without a device).
    qint64 mediaFreeSpace() const;
    qint64 mediaUsedSpace() const;
    qint64 mediaOverWritableSpace() const;
    qint64 mediaWritableSpace() const;

    // Resets the phase fields and the state and takes a fresh burn for the same
    // device. The last status stays readable.
    void prepareForBurn();
    // Starts burning the image at `path`. Answers false, changing nothing, when
    // no valid device is chosen or the image cannot be used.
    bool burnISOPath(const QString& path);
    // Aborts the running burn; it then ends failed.
    void cancel();

    bool isFinished() const { return state() == 1; }
    bool isFailed() const { return state() == 2; }
    bool isDeviceFree() const { return state() == 0; }
    double progress();

    // The file's size in bytes, 0 when it cannot be read.
    static qint64 fileSizeForFile(const QString& path);

signals:
    // state, isBurning or the chosen burn may have changed. Emitted on the
    // thread that changed them, with no lock of the burner held.
    void burnStateChanged();

private slots:
    void burnStatusChangedNotification(const DRBurn* burn, const QVariantMap& status);
    void deviceDisappearedNotification(const DRDevicePtr& device);

private:
    bool onMainThread() const;
    bool startBurn(const QString& path);
    static double currentTime();

    QPointer<QObject> delegate_;
    mutable QMutex mutex_;
    bool allowVerify_ = false;
    std::shared_ptr<DRBurn> burn_;
    double writeProgress_ = 0;
    double verifyingProgress_ = 0;
    double writeDiscStartTime_ = 0;
    qint64 burnFileSize_ = 0;
    QVariantMap status_;
    int state_ = 0;
    bool burning_ = false;  // the current burn was started and has not ended
};
