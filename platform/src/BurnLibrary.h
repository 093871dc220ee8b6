#pragma once
// The one place that starts libburn and turns its messages into log lines.
// libburn is used from the main thread only, except for the write thread it
// runs itself and the verify reader of DRBurnJob.

#include <QString>
#include <QStringList>

#include "platform/DRDevice.h"

namespace burn {
struct burn_drive;
}

class BurnLibrary {
public:
    // Starts libburn once per process. Answers false (logged) when it cannot.
    static bool initialize();

    // Takes libburn's queued error messages, logs each and answers them
    // ("SORRY : text" lines), oldest first; their libburn codes go to `codes`.
    static QStringList takeMessages(QList<int>* codes = nullptr);

    // libburn's code for a write refused because the drive's previous job has
    // not quite ended yet.
    static constexpr int DriveStillBusyCode = 0x20102;

    // Looks at the medium of a grabbed drive.
    static DRDevice::Media probeMedia(burn::burn_drive* drive, const QString& address);

    // Whether a pseudo-drive of this libburn role can be written.
    static bool roleWrites(int role);
};
