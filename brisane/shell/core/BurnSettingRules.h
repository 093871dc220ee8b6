#pragma once
// The rules of the burn settings sheet, without a window: the status of the
// chosen output, the disc name, the free-space test, size texts and the
// fresh output paths.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

class DataResource;
class IBurnerState;

namespace BurnSettingRules {

// Output kinds: the tag of each choice.
enum BurnType { BurnDisc = 0, BurnFolder = 1, BurnPackage = 2, BurnIso = 3 };

inline const QString ReadyToBurn = QStringLiteral("Ready to burn");
inline const QString NoMedia = QStringLiteral("Please import some media.");
inline const QString NoDevice = QStringLiteral("NO Device.");
inline const QString NoDisc = QStringLiteral("No disc,please insert a blank disc.");
inline const QString NotBlank = QStringLiteral("Disc not blank,please insert a blank disc.");
inline const QString NoSpace = QStringLiteral("Disc space is not enough.");
inline const QString NoDirectory = QStringLiteral("Please choose an output Directory.");
inline const QString DefaultDiscName = QStringLiteral("My Disc");
inline const QString InitialDiscName = QStringLiteral("DVD Name");
constexpr qsizetype MaximumNameBytes = 31;

// The project holds something to put on a disc: a page with a title that
// has a clip. A project with only empty pages (as New leaves it) has none.
bool hasMediaInList(const DataResource* media);

// The disc-output tests in order; the first failing one gives its text.
QString discStatus(bool hasMedia, const IBurnerState& burner, qint64 totalUsedSpace);
// The file-output status.
QString fileStatus(bool hasMedia, bool folderExists);

// The typed name, or "My Disc" when empty.
QString discName(const QString& typed);
bool isNameTooLong(const QString& name);
// The name as one path component: "/" and NUL become "_", and so does a
// leading ".", so the output never leaves its folder.
QString fileNameComponent(const QString& name);
// A path in `folder` for the kind that holds nothing yet: N, N_1, N_2...;
// N.dvdmedia, N_1.dvdmedia...; N.iso, N_1.iso... (N sanitised).
QString uniqueOutputPath(const QString& folder, const QString& name, int burnType);

// 2.5 x the estimate, truncated toward zero.
qint64 neededSpace(qint64 totalUsedSpace);
// The free bytes of the file system holding `path` (its nearest existing
// ancestor); nothing when it cannot be read.
std::optional<qint64> freeBytesAt(const QString& path);
// Both paths lie on one file system (as far as it can be told).
bool sameFileSystem(const QString& first, const QString& second);
// The folders a road of the kind writes to: for a disc, the folder of the
// disc image (`imageFolder`) and the temporary root; for a file output, the
// output folder and the temporary root. One folder per file system.
QStringList writtenFolders(int burnType, const QString& outputFolder, const QString& imageFolder,
                           const QString& tempRoot);

// "%.1f %@": whole megabytes (10^6), in GB (10^9 steps) above 1000 MB.
QString spaceDisplayStringWithSize(qint64 bytes);

}  // namespace BurnSettingRules
