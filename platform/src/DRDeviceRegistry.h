#pragma once
// The drive monitor's memory: which drives exist, what their media look like,
// and which pseudo-drives were chosen. refresh() looks at every drive again and
// posts what changed through DRNotificationCenter (appeared, disappeared,
// status changed).
//
// Scanning grabs each drive for a moment and releases it at once, so other
// programs are not locked out. While a burn holds a drive (beginUse/endUse),
// refresh() does nothing: libburn cannot scan then, and the snapshot stays.

#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/DRDevice.h"

class DRDeviceRegistry {
public:
    static DRDeviceRegistry& instance();

    // The current list. Scanned first when it was never scanned, or when it is
    // older than the stale time and no timer keeps it fresh.
    QList<DRDevicePtr> devices();
    // Whether the drive monitor's timer refreshes the list.
    void setWatched(bool watched);
    DRDevicePtr addPseudoDevice(const QString& filePath);
    void removePseudoDevice(const DRDevicePtr& device);

    // Looks at every drive now and posts the changes.
    void refresh();

    // A burn holds a drive from beginUse until endUse.
    void beginUse();
    void endUse();

    // How old the list may get before devices() scans again.
    static constexpr int StaleMilliseconds = 1500;

private:
    struct Found {
        QString address;
        QString name;
        bool writesDVD = false;
        bool pseudo = false;
        bool usable = false;  // found and its medium could be read
        DRDevice::Media media;
    };

    DRDeviceRegistry() = default;
    // Nothing when libburn could not scan.
    std::optional<QList<Found>> scanDrives() const;
    static Found probePseudo(const QString& address);
    // Merges a scan into the list; answers the changes to post.
    void merge(const QList<Found>& found, QList<DRDevicePtr>* appeared,
               QList<DRDevicePtr>* disappeared, QList<DRDevicePtr>* changed);

    QMutex mutex_;
    QList<DRDevicePtr> devices_;
    QStringList pseudoAddresses_;
    int inUse_ = 0;
    bool watched_ = false;
    QElapsedTimer lastScan_;
};
