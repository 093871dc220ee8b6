#pragma once
// One burn of an image file to a drive through libburn, driven by a timer of
// the thread it lives on (the main thread).
//
// The job grabs the drive, checks the medium, writes the image as one data
// track (libburn writes in a thread of its own), optionally reads the disc back
// and compares it with the image (in a thread of ours), and lets the drive go.
// Each look at the drive becomes a status (DRStatus.h keys) handed to the
// status handler; the last one is always Done or Failed. A write counts as done
// only when libburn reports it went well and the whole image was written.
// The job deletes itself after its last status.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <atomic>
#include <functional>
#include <thread>

namespace burn {
struct burn_drive_info;
struct burn_drive;
struct burn_disc;
struct burn_session;
struct burn_track;
struct burn_source;
struct burn_write_opts;
}  // namespace burn

class DRBurnJob : public QObject {
    Q_OBJECT
public:
    using StatusHandler = std::function<void(const QVariantMap&)>;

    DRBurnJob(const QString& address, const QString& imagePath, qint64 imageSize, bool verify,
              StatusHandler handler);
    ~DRBurnJob() override;

    // Begins on the next turn of the event loop.
    void start();
    // Stops writing or verifying; the burn then fails.
    void abort();
    // The owner is gone: abort and report nothing more.
    void detach();

    static constexpr int PollMilliseconds = 50;
    // How often a write refused while libburn ends an earlier job is retried.
    static constexpr int MaximumRefusals = 60;

private:
    enum class Phase { Waiting, Starting, Writing, Verifying, Finished };

    void step();
    QString begin();
    QString setUpDisc();
    void startWriting();
    void stepWriting();
    void stepVerifying();
    void verifyDisc();
    void finish(const QString& error);
    void releaseDrive();
    void report(QLatin1String state, double fraction, const QString& error = QString());
    QString failureText(const QString& what) const;

    const QString address_;
    const QString imagePath_;
    const qint64 imageSize_;
    const bool verify_;
    StatusHandler handler_;
    QTimer timer_;
    Phase phase_ = Phase::Waiting;
    QStringList messages_;

    burn::burn_drive_info* infos_ = nullptr;
    burn::burn_drive* drive_ = nullptr;
    burn::burn_disc* disc_ = nullptr;
    burn::burn_session* session_ = nullptr;
    burn::burn_track* track_ = nullptr;
    burn::burn_source* source_ = nullptr;
    burn::burn_write_opts* options_ = nullptr;
    bool holdsDrive_ = false;

    std::atomic<bool> cancelled_{false};
    bool cancelSent_ = false;
    int refusals_ = 0;
    std::thread verifier_;
    std::atomic<qint64> verifiedBytes_{0};
    std::atomic<int> verifyResult_{0};  // 0 running, 1 matches, -1 failed
    QString verifyError_;               // written by the verifier before its result
};
