#include "BurnLibrary.h"

#include <QDebug>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <limits>
#include <mutex>

#include <libburn/libburn.h>

namespace {

constexpr qint64 SectorSize = 2048;

quint32 sectorsForBytes(qint64 bytes)
{
    const qint64 sectors = std::max<qint64>(0, bytes) / SectorSize;
    return quint32(std::min<qint64>(sectors, std::numeric_limits<quint32>::max()));
}

// Profiles written in place: DVD-RAM, DVD-RW restricted overwrite, DVD+RW, BD-RE.
bool profileOverwrites(int profile)
{
    return profile == 0x12 || profile == 0x13 || profile == 0x1a || profile == 0x43;
}

// The sectors the disc's recorded tracks take.
qint64 recordedSectors(burn::burn_drive* drive)
{
    burn::burn_disc* disc = burn::burn_drive_get_disc(drive);
    if (!disc) {
        return 0;
    }
    qint64 total = 0;
    int sessionCount = 0;
    burn::burn_session** sessions = burn::burn_disc_get_sessions(disc, &sessionCount);
    for (int s = 0; s < sessionCount; ++s) {
        int trackCount = 0;
        burn::burn_track** tracks = burn::burn_session_get_tracks(sessions[s], &trackCount);
        for (int t = 0; t < trackCount; ++t) {
            total += std::max(0, burn::burn_track_get_sectors(tracks[t]));
        }
    }
    burn::burn_disc_free(disc);
    return total;
}

}  // namespace

bool BurnLibrary::initialize()
{
    static bool started = false;
    static std::once_flag once;
    std::call_once(once, [] {
        started = burn::burn_initialize() == 1;
        if (!started) {
            qWarning() << "libburn could not be started";
            return;
        }
        // Errors are queued for takeMessages(), nothing is printed by libburn.
        burn::burn_msgs_set_severities(const_cast<char*>("SORRY"), const_cast<char*>("NEVER"),
                                       const_cast<char*>("libburn : "));
    });
    return started;
}

QStringList BurnLibrary::takeMessages(QList<int>* codes)
{
    QStringList lines;
    int errorCode = 0;
    int osErrno = 0;
    char text[BURN_MSGS_MESSAGE_LEN];
    char severity[80];
    while (burn::burn_msgs_obtain(const_cast<char*>("ALL"), &errorCode, text, &osErrno, severity) >
           0) {
        QString line = QStringLiteral("%1 : %2").arg(QString::fromLatin1(severity),
                                                     QString::fromLocal8Bit(text).trimmed());
        if (osErrno != 0) {
            line += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(strerror(osErrno)));
        }
        qWarning().noquote() << "libburn :" << line;
        lines << line;
        if (codes) {
            *codes << errorCode;
        }
    }
    return lines;
}

bool BurnLibrary::roleWrites(int role)
{
    // 2 random access file or block device, 3 sequential (fifo, character
    // device), 5 write-only random access; 0 is the null drive, 4 read-only.
    return role == 2 || role == 3 || role == 5;
}

DRDevice::Media BurnLibrary::probeMedia(burn::burn_drive* drive, const QString& address)
{
    DRDevice::Media media;
    const burn::burn_disc_status status = burn::burn_disc_get_status(drive);
    media.present = status == burn::BURN_DISC_BLANK || status == burn::BURN_DISC_APPENDABLE ||
                    status == burn::BURN_DISC_FULL;
    if (!media.present) {
        return media;
    }
    media.blank = status == burn::BURN_DISC_BLANK;

    int profile = 0;
    char profileName[80] = {};
    burn::burn_disc_get_profile(drive, &profile, profileName);
    media.profile = QString::fromLatin1(profileName);

    const int role = burn::burn_drive_get_drive_role(drive);
    const bool pseudo = role != 1;
    media.overwritable = pseudo ? role == 2 || role == 5 : profileOverwrites(profile);

    const qint64 freeBytes = burn::burn_disc_available_space(drive, nullptr);
    media.freeSectors =
        media.blank || status == burn::BURN_DISC_APPENDABLE ? sectorsForBytes(freeBytes) : 0;
    if (pseudo) {
        // A pseudo-drive's "disc" is its file: what the file holds is used.
        const QFileInfo target(address.mid(int(qstrlen("stdio:"))));
        media.usedSectors = target.isFile() ? sectorsForBytes(target.size() + SectorSize - 1) : 0;
    } else {
        media.usedSectors = sectorsForBytes(recordedSectors(drive) * SectorSize);
    }
    if (media.overwritable || burn::burn_disc_erasable(drive)) {
        const qint64 whole = qint64(media.freeSectors) + media.usedSectors;
        media.overwritableSectors = quint32(std::min<qint64>(whole, 0xffffffffLL));
    }
    return media;
}
