#include "corvane/DVDBurn.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFileInfo>
#include <QMutexLocker>
#include <QThread>
#include <algorithm>

#include "platform/DRNotificationCenter.h"
#include "platform/DRStatus.h"

namespace {

constexpr qint64 SectorSize = 2048;

}  // namespace

DVDBurn::DVDBurn(QObject* parent) : QObject(parent)
{
    DRNotificationCenter* center = DRNotificationCenter::currentRunLoopCenter();
    connect(center, &DRNotificationCenter::burnStatusChanged, this,
            &DVDBurn::burnStatusChangedNotification);
    connect(center, &DRNotificationCenter::deviceDisappeared, this,
            &DVDBurn::deviceDisappearedNotification);
    center->addObserver(this);
}

DVDBurn::~DVDBurn()
{
    DRNotificationCenter::currentRunLoopCenter()->removeObserver(this);
}

bool DVDBurn::allowVerify() const
{
    QMutexLocker lock(&mutex_);
    return allowVerify_;
}

void DVDBurn::setAllowVerify(bool allowVerify)
{
    QMutexLocker lock(&mutex_);
    allowVerify_ = allowVerify;
}

std::shared_ptr<DRBurn> DVDBurn::burn() const
{
    QMutexLocker lock(&mutex_);
    return burn_;
}

double DVDBurn::writeProgress() const
{
    QMutexLocker lock(&mutex_);
    return writeProgress_;
}

void DVDBurn::setWriteProgress(double value)
{
    QMutexLocker lock(&mutex_);
    writeProgress_ = value;
}

double DVDBurn::verifyingProgress() const
{
    QMutexLocker lock(&mutex_);
    return verifyingProgress_;
}

void DVDBurn::setVerifyingProgress(double value)
{
    QMutexLocker lock(&mutex_);
    verifyingProgress_ = value;
}

double DVDBurn::writeDiscStartTime() const
{
    QMutexLocker lock(&mutex_);
    return writeDiscStartTime_;
}

void DVDBurn::setWriteDiscStartTime(double seconds)
{
    QMutexLocker lock(&mutex_);
    writeDiscStartTime_ = seconds;
}

qint64 DVDBurn::burnFileSize() const
{
    QMutexLocker lock(&mutex_);
    return burnFileSize_;
}

void DVDBurn::setBurnFileSize(qint64 bytes)
{
    QMutexLocker lock(&mutex_);
    burnFileSize_ = bytes;
}

QVariantMap DVDBurn::status() const
{
    QMutexLocker lock(&mutex_);
    return status_;
}

int DVDBurn::state() const
{
    QMutexLocker lock(&mutex_);
    return state_;
}

bool DVDBurn::isBurning() const
{
    QMutexLocker lock(&mutex_);
    return burning_;
}

QString DVDBurn::describeDictionary(const QVariantMap& dictionary)
{
    QString text = QStringLiteral("{\n");
    for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it) {
        const QVariant& value = it.value();
        const QString shown =
            value.typeId() == QMetaType::Bool ? QString::number(value.toBool()) : value.toString();
        text += QStringLiteral("    %1 = %2;\n").arg(it.key(), shown);
    }
    return text + QLatin1Char('}');
}

QList<DRDevicePtr> DVDBurn::devices() const
{
    QList<DRDevicePtr> writers = DRDevice::devices();
    writers.removeIf([](const DRDevicePtr& device) { return !device->writesDVD(); });
    return writers;
}

void DVDBurn::setDevice(const DRDevicePtr& device)
{
    std::shared_ptr<DRBurn> next =
        device && device->isValid() ? DRBurn::burnForDevice(device) : nullptr;
    QMutexLocker lock(&mutex_);
    burn_.swap(next);
    // The replaced burn is no longer listened to: nothing of ours runs now.
    burning_ = false;
    // The replaced burn (now in `next`) is released after the lock.
    lock.unlock();
    emit burnStateChanged();
}

DRDevicePtr DVDBurn::device() const
{
    QMutexLocker lock(&mutex_);
    return burn_ ? burn_->device() : nullptr;
}

bool DVDBurn::isValid() const
{
    const DRDevicePtr current = device();
    return current && current->isValid();
}

bool DVDBurn::mediaIsPresent() const
{
    const DRDevicePtr current = device();
    return current && current->mediaIsPresent();
}

bool DVDBurn::mediaIsBlank() const
{
    const DRDevicePtr current = device();
    return current && current->mediaIsBlank();
}

qint64 DVDBurn::mediaFreeSpace() const
{
    const DRDevicePtr current = device();
    return current ? qint64(current->mediaSpaceFree()) * SectorSize : 0;
}

qint64 DVDBurn::mediaUsedSpace() const
{
    const DRDevicePtr current = device();
    return current ? qint64(current->mediaSpaceUsed()) * SectorSize : 0;
}

qint64 DVDBurn::mediaOverWritableSpace() const
{
    const DRDevicePtr current = device();
    return current ? qint64(current->mediaSpaceOverwritable()) * SectorSize : 0;
}

qint64 DVDBurn::mediaWritableSpace() const
{
    return mediaFreeSpace();
}

void DVDBurn::prepareForBurn()
{
    if (!onMainThread()) {
        QMetaObject::invokeMethod(
            this, [this] { prepareForBurn(); }, Qt::BlockingQueuedConnection);
        return;
    }
    DRDevicePtr current;
    {
        QMutexLocker lock(&mutex_);
        writeProgress_ = 0;
        verifyingProgress_ = 0;
        writeDiscStartTime_ = 0;
        burnFileSize_ = 0;
        current = burn_ ? burn_->device() : nullptr;
    }
    setDevice(current);
    {
        QMutexLocker lock(&mutex_);
        state_ = 0;
        burning_ = false;
    }
    emit burnStateChanged();
}

bool DVDBurn::burnISOPath(const QString& path)
{
    if (!onMainThread()) {
        bool started = false;
        QMetaObject::invokeMethod(
            this, [this, &path, &started] { started = startBurn(path); },
            Qt::BlockingQueuedConnection);
        return started;
    }
    return startBurn(path);
}

bool DVDBurn::startBurn(const QString& path)
{
    const std::shared_ptr<DRBurn> current = burn();
    if (!current || !current->device()->isValid()) {
        qWarning().noquote() << "no valid burner chosen for" << path;
        return false;
    }
    const std::optional<DRBurn::Layout> layout = DRBurn::layoutForImageFile(path);
    if (!layout) {
        qWarning().noquote() << "cannot burn" << path << ": not a readable image file";
        return false;
    }
    qInfo().noquote()
        << QStringLiteral("burn.properties %1").arg(describeDictionary(current->properties()));

    QVariantMap properties;
    {
        QMutexLocker lock(&mutex_);
        properties.insert(DRBurnVerifyDiscKey, allowVerify_);
        burnFileSize_ = fileSizeForFile(path);
        burning_ = true;
    }
    current->setProperties(properties);
    current->writeLayout(*layout);
    emit burnStateChanged();
    return true;
}

void DVDBurn::cancel()
{
    if (const std::shared_ptr<DRBurn> current = burn()) {
        if (onMainThread()) {
            current->abort();
        } else {
            QMetaObject::invokeMethod(
                this, [current] { current->abort(); }, Qt::QueuedConnection);
        }
    }
}

double DVDBurn::progress()
{
    QMutexLocker lock(&mutex_);
    const QString state = status_.value(DRStatusStateKey).toString();
    const double fraction = status_.value(DRStatusPercentCompleteKey).toDouble();
    const double now = currentTime();
    if (state == DRStatusStateSessionClose) {
        writeProgress_ = 1;
        if (writeDiscStartTime_ == 0) {
            writeDiscStartTime_ = now;
        }
    } else {
        const double known = fraction > 0 ? fraction : 0;
        if (state == DRStatusStateVerifying) {
            verifyingProgress_ = known;
        } else if (state == DRStatusStateTrackWrite) {
            writeProgress_ = known;
        }
    }
    const double elapsed = now - writeDiscStartTime_;

    const double megabytes = double(burnFileSize_) / 1.35e6;
    const double closeEstimate = megabytes < 30 ? 330 : megabytes + 300;
    const double closeWeight = 300 / closeEstimate;

    double close = elapsed > 360000 ? 1.0 / 300 : elapsed / 300;
    close = std::clamp(close, 0.0, 1.0);
    if (verifyingProgress_ > 0.01) {
        close = 1;
    }
    double burned = writeProgress_;
    if (allowVerify_) {
        burned = 0.5 * writeProgress_ + 0.5 * verifyingProgress_;
    }
    return close * closeWeight + (1 - closeWeight) * burned;
}

qint64 DVDBurn::fileSizeForFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : 0;
}

void DVDBurn::burnStatusChangedNotification(const DRBurn* burn, const QVariantMap& status)
{
    QMutexLocker lock(&mutex_);
    if (!burn || burn != burn_.get()) {
        return;
    }
    status_ = status;
    const QString state = status.value(DRStatusStateKey).toString();
    const bool done = state == DRStatusStateDone;
    const bool failed = state == DRStatusStateFailed;
    if (state_ == 0 && done) {
        state_ = 1;
    } else if (state_ == 0 && failed) {
        state_ = 2;
    }
    if (done || failed) {
        burning_ = false;
    }
    lock.unlock();
    emit burnStateChanged();
}

void DVDBurn::deviceDisappearedNotification(const DRDevicePtr& device)
{
    // A burn whose drive is gone can never finish: it has failed.
    QMutexLocker lock(&mutex_);
    if (!burning_ || !burn_ || burn_->device() != device || state_ != 0) {
        return;
    }
    burning_ = false;
    state_ = 2;
    status_ = QVariantMap{{DRStatusStateKey, QString(DRStatusStateFailed)},
                          {DRStatusPercentCompleteKey, -1.0},
                          {DRErrorStatusKey, tr("The drive disappeared during the burn.")}};
    qWarning().noquote() << "burner" << device->address() << "disappeared during the burn";
    // Whatever is left of the write is of no use now.
    burn_->abort();
    lock.unlock();
    emit burnStateChanged();
}

bool DVDBurn::onMainThread() const
{
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

double DVDBurn::currentTime()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}
