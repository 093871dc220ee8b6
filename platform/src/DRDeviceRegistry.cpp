#include "DRDeviceRegistry.h"

#include <QByteArray>
#include <QDebug>
#include <QMutexLocker>
#include <QThread>

#include <libburn/libburn.h>

#include "BurnLibrary.h"
#include "platform/DRNotificationCenter.h"

namespace {

const QString PseudoPrefix = QStringLiteral("stdio:");

QString driveName(const burn::burn_drive_info& info)
{
    return QStringLiteral("%1 %2")
        .arg(QString::fromLatin1(info.vendor).trimmed(),
             QString::fromLatin1(info.product).trimmed())
        .trimmed();
}

}  // namespace

DRDeviceRegistry& DRDeviceRegistry::instance()
{
    static DRDeviceRegistry registry;
    return registry;
}

QList<DRDevicePtr> DRDeviceRegistry::devices()
{
    bool stale = false;
    {
        QMutexLocker lock(&mutex_);
        stale = !lastScan_.isValid() || (!watched_ && lastScan_.elapsed() > StaleMilliseconds);
    }
    if (stale) {
        refresh();
    }
    QMutexLocker lock(&mutex_);
    return devices_;
}

DRDevicePtr DRDeviceRegistry::addPseudoDevice(const QString& filePath)
{
    const QString address = PseudoPrefix + filePath;
    {
        QMutexLocker lock(&mutex_);
        if (!pseudoAddresses_.contains(address)) {
            pseudoAddresses_ << address;
        }
    }
    refresh();
    DRDevicePtr device;
    {
        QMutexLocker lock(&mutex_);
        for (const DRDevicePtr& known : std::as_const(devices_)) {
            if (known->address() == address) {
                return known;
            }
        }
        // The list was not rescanned (a drive is in use, or libburn is still
        // ending a burn): look at this drive alone.
        const Found found = probePseudo(address);
        if (!found.usable) {
            pseudoAddresses_.removeAll(address);
            qWarning().noquote() << "no pseudo-drive can write to" << filePath;
            return nullptr;
        }
        device = std::make_shared<DRDevice>(address, found.name, found.writesDVD, true);
        device->updateMedia(found.media);
        devices_ << device;
    }
    DRNotificationCenter::currentRunLoopCenter()->postDeviceAppeared(device);
    return device;
}

void DRDeviceRegistry::removePseudoDevice(const DRDevicePtr& device)
{
    if (!device || !device->isPseudo()) {
        return;
    }
    bool removed = false;
    {
        QMutexLocker lock(&mutex_);
        pseudoAddresses_.removeAll(device->address());
        removed = devices_.removeAll(device) > 0;
    }
    device->invalidate();
    if (removed) {
        DRNotificationCenter::currentRunLoopCenter()->postDeviceDisappeared(device);
    }
}

void DRDeviceRegistry::setWatched(bool watched)
{
    QMutexLocker lock(&mutex_);
    watched_ = watched;
}

void DRDeviceRegistry::beginUse()
{
    QMutexLocker lock(&mutex_);
    ++inUse_;
}

void DRDeviceRegistry::endUse()
{
    QMutexLocker lock(&mutex_);
    inUse_ = qMax(0, inUse_ - 1);
}

void DRDeviceRegistry::refresh()
{
    QList<DRDevicePtr> appeared;
    QList<DRDevicePtr> disappeared;
    QList<DRDevicePtr> changed;
    {
        QMutexLocker lock(&mutex_);
        if (inUse_ > 0 || !BurnLibrary::initialize()) {
            return;
        }
        std::optional<QList<Found>> found = scanDrives();
        if (found) {
            for (const QString& address : std::as_const(pseudoAddresses_)) {
                *found << probePseudo(address);
            }
        }
        // libburn refuses to look while it is still ending a burn: keep the
        // last look rather than have every drive disappear for a moment.
        QList<int> codes;
        BurnLibrary::takeMessages(&codes);
        if (!found || codes.contains(BurnLibrary::DriveStillBusyCode)) {
            return;
        }
        merge(*found, &appeared, &disappeared, &changed);
        lastScan_.start();
    }
    DRNotificationCenter* center = DRNotificationCenter::currentRunLoopCenter();
    for (const DRDevicePtr& device : std::as_const(disappeared)) {
        center->postDeviceDisappeared(device);
    }
    for (const DRDevicePtr& device : std::as_const(appeared)) {
        center->postDeviceAppeared(device);
    }
    for (const DRDevicePtr& device : std::as_const(changed)) {
        center->postDeviceStatusChanged(device);
    }
}

std::optional<QList<DRDeviceRegistry::Found>> DRDeviceRegistry::scanDrives() const
{
    QList<Found> found;
    burn::burn_drive_info* infos = nullptr;
    unsigned int count = 0;
    int scanned = 0;
    while ((scanned = burn::burn_drive_scan(&infos, &count)) == 0) {
        QThread::usleep(1000);
    }
    if (scanned < 0) {
        return std::nullopt;
    }
    if (!infos) {
        return found;
    }
    for (unsigned int i = 0; i < count; ++i) {
        burn::burn_drive_info& info = infos[i];
        Found drive;
        char address[BURN_DRIVE_ADR_LEN] = {};
        burn::burn_drive_get_adr(&info, address);
        drive.address = QString::fromLocal8Bit(address);
        drive.name = driveName(info);
        drive.writesDVD = info.write_dvdr || info.write_dvdram;
        if (!drive.writesDVD) {
            burn::burn_drive_info_forget(&info, 0);
            continue;
        }
        // Grab without loading the tray, read the medium, let go at once.
        if (burn::burn_drive_grab(info.drive, 0) == 1) {
            drive.media = BurnLibrary::probeMedia(info.drive, drive.address);
            burn::burn_drive_release(info.drive, 0);
        } else {
            burn::burn_drive_info_forget(&info, 0);
        }
        drive.usable = true;
        found << drive;
    }
    burn::burn_drive_info_free(infos);
    return found;
}

DRDeviceRegistry::Found DRDeviceRegistry::probePseudo(const QString& address)
{
    Found drive;
    drive.address = address;
    drive.pseudo = true;
    drive.name = address;
    burn::burn_drive_info* infos = nullptr;
    QByteArray adr = address.toLocal8Bit();
    if (adr.size() >= BURN_DRIVE_ADR_LEN ||
        burn::burn_drive_scan_and_grab(&infos, adr.data(), 0) != 1 || !infos) {
        if (infos) {
            burn::burn_drive_info_free(infos);
        }
        return drive;
    }
    burn::burn_drive* handle = infos[0].drive;
    drive.writesDVD = BurnLibrary::roleWrites(burn::burn_drive_get_drive_role(handle));
    drive.media = BurnLibrary::probeMedia(handle, address);
    drive.usable = drive.writesDVD;
    burn::burn_drive_release(handle, 0);
    burn::burn_drive_info_free(infos);
    return drive;
}

void DRDeviceRegistry::merge(const QList<Found>& found, QList<DRDevicePtr>* appeared,
                             QList<DRDevicePtr>* disappeared, QList<DRDevicePtr>* changed)
{
    QList<DRDevicePtr> next;
    for (const Found& drive : found) {
        if (!drive.usable) {
            continue;
        }
        DRDevicePtr device;
        for (const DRDevicePtr& known : std::as_const(devices_)) {
            if (known->address() == drive.address) {
                device = known;
                break;
            }
        }
        if (!device) {
            device = std::make_shared<DRDevice>(drive.address, drive.name, drive.writesDVD,
                                                drive.pseudo);
            device->updateMedia(drive.media);
            *appeared << device;
        } else if (device->updateMedia(drive.media)) {
            *changed << device;
        }
        next << device;
    }
    for (const DRDevicePtr& known : std::as_const(devices_)) {
        if (!next.contains(known)) {
            known->invalidate();
            *disappeared << known;
        }
    }
    devices_ = next;
}
