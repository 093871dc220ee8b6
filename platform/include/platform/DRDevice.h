#pragma once
// A disc drive that can record, as last seen by the drive monitor.
//
// Drives are found by scanning (libburn underneath); a regular file can stand
// for a writable disc through a "stdio:" pseudo-drive (pseudoDevice), which is
// how burns run without hardware. A DRDevice is a snapshot that the monitor
// (DRNotificationCenter) refreshes on the main thread; reading it is cheap and
// safe from any thread. Once a drive has disappeared its object stays invalid:
// a drive that comes back gets a new object.
//
// Media sizes are counted in sectors of 2048 bytes.

#include <QList>
#include <QMutex>
#include <QString>
#include <QtGlobal>
#include <memory>

class DRDevice;
using DRDevicePtr = std::shared_ptr<DRDevice>;

class DRDevice {
public:
    // What the drive holds, as of the last look.
    struct Media {
        bool present = false;       // a disc (or a pseudo-drive's target) is there
        bool blank = false;         // it can be written from its start
        bool overwritable = false;  // it is rewritten in place (DVD-RAM, DVD+RW, files)
        quint32 freeSectors = 0;
        quint32 usedSectors = 0;
        quint32 overwritableSectors = 0;
        QString profile;  // the medium's kind as the drive names it
        friend bool operator==(const Media&, const Media&) = default;
    };

    // Every drive that writes DVDs: scanned drives first, then the pseudo-drives
    // in the order they were chosen. Scans when the last look is stale.
    static QList<DRDevicePtr> devices();

    // A pseudo-drive writing into the file at `filePath` (created on the first
    // write; its folder must exist). It joins devices() and is watched like a
    // drive. Answers the existing device when the file was chosen before, null
    // when libburn cannot use the path.
    static DRDevicePtr pseudoDevice(const QString& filePath);
    // Removes a pseudo-drive: it disappears and turns invalid.
    static void forgetPseudoDevice(const DRDevicePtr& device);

    DRDevice(const QString& address, const QString& displayName, bool writesDVD, bool pseudo);

    // The libburn address ("/dev/sr0", "stdio:/path/file.iso").
    QString address() const { return address_; }
    QString displayName() const { return displayName_; }
    bool isPseudo() const { return pseudo_; }
    bool writesDVD() const { return writesDVD_; }
    // False once the drive has disappeared.
    bool isValid() const;

    Media media() const;
    bool mediaIsPresent() const { return media().present; }
    bool mediaIsBlank() const { return media().blank; }
    bool mediaIsOverwritable() const { return media().overwritable; }
    quint32 mediaSpaceFree() const { return media().freeSectors; }
    quint32 mediaSpaceUsed() const { return media().usedSectors; }
    quint32 mediaSpaceOverwritable() const { return media().overwritableSectors; }

    // For the monitor: records a new look at the drive; answers whether it changed.
    bool updateMedia(const Media& media);
    void invalidate();

private:
    const QString address_;
    const QString displayName_;
    const bool writesDVD_;
    const bool pseudo_;
    mutable QMutex mutex_;
    Media media_;
    bool valid_ = true;
};
