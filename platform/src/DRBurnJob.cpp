#include "DRBurnJob.h"

#include <QDebug>
#include <QFile>
#include <algorithm>
#include <cstring>

#include <libburn/libburn.h>

#include "BurnLibrary.h"
#include "DRDeviceRegistry.h"
#include "platform/DRStatus.h"

namespace {

constexpr qint64 SectorSize = 2048;
constexpr qint64 VerifyChunk = 32 * SectorSize;

}  // namespace

DRBurnJob::DRBurnJob(const QString& address, const QString& imagePath, qint64 imageSize,
                     bool verify, StatusHandler handler)
    : address_(address),
      imagePath_(imagePath),
      imageSize_(imageSize),
      verify_(verify),
      handler_(std::move(handler)),
      timer_(this)
{
    timer_.setInterval(PollMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &DRBurnJob::step);
}

DRBurnJob::~DRBurnJob()
{
    cancelled_ = true;
    if (verifier_.joinable()) {
        verifier_.join();
    }
    releaseDrive();
}

void DRBurnJob::start()
{
    timer_.start();
}

void DRBurnJob::abort()
{
    cancelled_ = true;
}

void DRBurnJob::detach()
{
    handler_ = nullptr;
    abort();
}

void DRBurnJob::step()
{
    switch (phase_) {
        case Phase::Waiting: {
            const QString error = begin();
            if (!error.isEmpty()) {
                finish(error);
            }
            break;
        }
        case Phase::Starting:
            startWriting();
            break;
        case Phase::Writing:
            stepWriting();
            break;
        case Phase::Verifying:
            stepVerifying();
            break;
        case Phase::Finished:
            break;
    }
}

QString DRBurnJob::begin()
{
    if (cancelled_) {
        return tr("The burn was cancelled.");
    }
    if (!BurnLibrary::initialize()) {
        return tr("The disc recording library could not be started.");
    }
    QByteArray address = address_.toLocal8Bit();
    if (address.size() >= BURN_DRIVE_ADR_LEN) {
        return tr("The drive address is too long.");
    }
    DRDeviceRegistry::instance().beginUse();
    holdsDrive_ = true;
    if (burn::burn_drive_scan_and_grab(&infos_, address.data(), 1) != 1 || !infos_) {
        return failureText(tr("The drive could not be opened."));
    }
    drive_ = infos_[0].drive;
    switch (burn::burn_disc_get_status(drive_)) {
        case burn::BURN_DISC_BLANK:
            break;
        case burn::BURN_DISC_EMPTY:
            return tr("There is no disc in the drive.");
        case burn::BURN_DISC_APPENDABLE:
        case burn::BURN_DISC_FULL:
            return tr("The disc is not blank.");
        default:
            return tr("The disc in the drive cannot be written.");
    }
    const QString error = setUpDisc();
    if (!error.isEmpty()) {
        return error;
    }
    burn::burn_drive_set_speed(drive_, 0, 0);
    phase_ = Phase::Starting;
    report(DRStatusStatePreparing, -1.0);
    startWriting();
    return QString();
}

void DRBurnJob::startWriting()
{
    if (cancelled_) {
        finish(tr("The burn was cancelled."));
        return;
    }
    burn::burn_disc_write(options_, disc_);
    if (burn::burn_drive_get_status(drive_, nullptr) != burn::BURN_DRIVE_IDLE) {
        phase_ = Phase::Writing;
        return;
    }
    // Refused at once. After a failed write libburn needs a moment before the
    // drive slot takes a new job: try again on the next turns.
    QList<int> codes;
    messages_ << BurnLibrary::takeMessages(&codes);
    if (codes.contains(BurnLibrary::DriveStillBusyCode) && ++refusals_ < MaximumRefusals) {
        return;
    }
    phase_ = Phase::Writing;  // the next step judges the (empty) write
}

QString DRBurnJob::setUpDisc()
{
    source_ = burn::burn_file_source_new(QFile::encodeName(imagePath_).constData(), nullptr);
    if (!source_) {
        return failureText(tr("The image could not be read."));
    }
    disc_ = burn::burn_disc_create();
    session_ = burn::burn_session_create();
    track_ = burn::burn_track_create();
    burn::burn_track_define_data(track_, 0, 0, 1, BURN_MODE1);
    if (burn::burn_track_set_source(track_, source_) != burn::BURN_SOURCE_OK) {
        return failureText(tr("The image could not be read."));
    }
    burn::burn_session_add_track(session_, track_, BURN_POS_END);
    burn::burn_disc_add_session(disc_, session_, BURN_POS_END);

    options_ = burn::burn_write_opts_new(drive_);
    burn::burn_write_opts_set_perform_opc(options_, 0);
    burn::burn_write_opts_set_multi(options_, 0);
    burn::burn_write_opts_set_underrun_proof(options_, 1);
    char reasons[BURN_REASONS_LEN] = {};
    if (burn::burn_write_opts_auto_write_type(options_, disc_, reasons, 0) ==
        burn::BURN_WRITE_NONE) {
        return tr("The drive cannot write this disc (%1).").arg(QString::fromLocal8Bit(reasons));
    }
    if (burn::burn_disc_available_space(drive_, options_) < imageSize_) {
        return tr("The disc has not enough free space for the image.");
    }
    return QString();
}

void DRBurnJob::stepWriting()
{
    burn::burn_progress progress = {};
    const burn::burn_drive_status status = burn::burn_drive_get_status(drive_, &progress);
    if (cancelled_ && !cancelSent_ &&
        (status == burn::BURN_DRIVE_WRITING || status == burn::BURN_DRIVE_READING)) {
        burn::burn_drive_cancel(drive_);
        cancelSent_ = true;
    }
    switch (status) {
        case burn::BURN_DRIVE_IDLE:
            break;
        case burn::BURN_DRIVE_CLOSING_TRACK:
        case burn::BURN_DRIVE_CLOSING_SESSION:
        case burn::BURN_DRIVE_WRITING_LEADOUT:
            report(DRStatusStateSessionClose, -1.0);
            return;
        case burn::BURN_DRIVE_WRITING:
        case burn::BURN_DRIVE_WRITING_SYNC:
        case burn::BURN_DRIVE_WRITING_PREGAP:
        case burn::BURN_DRIVE_WRITING_LEADIN:
            report(DRStatusStateTrackWrite,
                   progress.sectors > 0
                       ? std::clamp(double(progress.sector) / progress.sectors, 0.0, 1.0)
                       : -1.0);
            return;
        default:
            report(DRStatusStatePreparing, -1.0);
            return;
    }

    // The drive is idle again: judge the write.
    off_t readBytes = 0;
    off_t writtenBytes = 0;
    burn::burn_track_get_counters(track_, &readBytes, &writtenBytes);
    const bool wroteWell = burn::burn_drive_wrote_well(drive_) == 1;
    if (cancelled_) {
        finish(tr("The burn was cancelled."));
    } else if (!wroteWell || writtenBytes < imageSize_) {
        finish(failureText(tr("Writing the disc failed.")));
    } else {
        report(DRStatusStateTrackWrite, 1.0);
        if (verify_) {
            phase_ = Phase::Verifying;
            report(DRStatusStateVerifying, 0.0);
            verifier_ = std::thread([this] { verifyDisc(); });
        } else {
            finish(QString());
        }
    }
}

void DRBurnJob::stepVerifying()
{
    const int result = verifyResult_.load();
    if (result == 0) {
        report(DRStatusStateVerifying,
               imageSize_ > 0 ? double(verifiedBytes_.load()) / imageSize_ : 0.0);
        return;
    }
    verifier_.join();
    if (cancelled_) {
        finish(tr("The burn was cancelled."));
    } else if (result < 0) {
        finish(failureText(verifyError_));
    } else {
        report(DRStatusStateVerifying, 1.0);
        finish(QString());
    }
}

// Runs on the verifier thread: reads the disc back and compares it with the image.
void DRBurnJob::verifyDisc()
{
    auto fail = [this](const QString& error) {
        verifyError_ = error;
        verifyResult_ = -1;
    };
    QFile image(imagePath_);
    if (!image.open(QIODevice::ReadOnly)) {
        fail(tr("The image could not be read for verifying."));
        return;
    }
    QByteArray expected;
    QByteArray actual(int(VerifyChunk), '\0');
    for (qint64 offset = 0; offset < imageSize_; offset += VerifyChunk) {
        if (cancelled_) {
            fail(tr("The burn was cancelled."));
            return;
        }
        const qint64 length = std::min(VerifyChunk, imageSize_ - offset);
        expected = image.read(length);
        off_t count = 0;
        if (expected.size() != length ||
            burn::burn_read_data(drive_, offset, actual.data(), length, &count, 0) != 1 ||
            count != length) {
            fail(tr("The disc could not be read back for verifying."));
            return;
        }
        if (std::memcmp(expected.constData(), actual.constData(), size_t(length)) != 0) {
            fail(tr("The disc does not match the image (sector %1).").arg(offset / SectorSize));
            return;
        }
        verifiedBytes_ = offset + length;
    }
    verifyResult_ = 1;
}

void DRBurnJob::finish(const QString& error)
{
    phase_ = Phase::Finished;
    timer_.stop();
    releaseDrive();
    if (error.isEmpty()) {
        report(DRStatusStateDone, 1.0);
    } else {
        qWarning().noquote() << "burn to" << address_ << "failed:" << error;
        report(DRStatusStateFailed, -1.0, error);
    }
    deleteLater();
}

void DRBurnJob::releaseDrive()
{
    if (options_) {
        burn::burn_write_opts_free(options_);
        options_ = nullptr;
    }
    if (source_) {
        burn::burn_source_free(source_);
        source_ = nullptr;
    }
    if (track_) {
        burn::burn_track_free(track_);
        track_ = nullptr;
    }
    if (session_) {
        burn::burn_session_free(session_);
        session_ = nullptr;
    }
    if (disc_) {
        burn::burn_disc_free(disc_);
        disc_ = nullptr;
    }
    if (drive_) {
        burn::burn_drive_release(drive_, 0);
        drive_ = nullptr;
    }
    if (infos_) {
        burn::burn_drive_info_free(infos_);
        infos_ = nullptr;
    }
    if (holdsDrive_) {
        holdsDrive_ = false;
        DRDeviceRegistry::instance().endUse();
    }
}

void DRBurnJob::report(QLatin1String state, double fraction, const QString& error)
{
    messages_ << BurnLibrary::takeMessages();
    if (!handler_) {
        return;
    }
    QVariantMap status{{DRStatusStateKey, QString(state)}, {DRStatusPercentCompleteKey, fraction}};
    if (!error.isEmpty()) {
        status.insert(DRErrorStatusKey, error);
    }
    handler_(status);
}

QString DRBurnJob::failureText(const QString& what) const
{
    QStringList messages = messages_ + BurnLibrary::takeMessages();
    if (messages.isEmpty()) {
        return what;
    }
    return QStringLiteral("%1 (%2)").arg(what, messages.last());
}
