#include "shell/core/BurnSettingRules.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "shell/core/IBurnerState.h"

namespace BurnSettingRules {

bool hasMediaInList(const DataResource* media)
{
    if (!media) {
        return false;
    }
    const auto& pages = media->dvdPageArray();
    return std::any_of(pages.begin(), pages.end(), [](const auto& page) {
        if (!page) {
            return false;
        }
        const auto& titles = page->titleDataArray();
        return std::any_of(titles.begin(), titles.end(), [](const auto& title) {
            return title && !title->mediaDataArray().isEmpty();
        });
    });
}

QString discStatus(bool hasMedia, const IBurnerState& burner, qint64 totalUsedSpace)
{
    if (!hasMedia) {
        return NoMedia;
    }
    if (!burner.hasDevice()) {
        return NoDevice;
    }
    if (!burner.mediaIsPresent()) {
        return NoDisc;
    }
    if (!burner.mediaIsBlank()) {
        return NotBlank;
    }
    if (burner.mediaWritableSpace() < totalUsedSpace) {
        return NoSpace;
    }
    return ReadyToBurn;
}

QString fileStatus(bool hasMedia, bool folderExists)
{
    if (!hasMedia) {
        return NoMedia;
    }
    return folderExists ? ReadyToBurn : NoDirectory;
}

QString discName(const QString& typed)
{
    return typed.isEmpty() ? DefaultDiscName : typed;
}

bool isNameTooLong(const QString& name)
{
    return name.toUtf8().size() > MaximumNameBytes;
}

QString fileNameComponent(const QString& name)
{
    QString component = name;
    component.replace(QLatin1Char('/'), QLatin1Char('_'));
    component.replace(QChar(u'\0'), QLatin1Char('_'));
    if (component.startsWith(QLatin1Char('.'))) {
        component[0] = QLatin1Char('_');
    }
    return component;
}

namespace {

QString candidate(const QString& folder, const QString& name, int burnType, int counter)
{
    QString file = counter == 0 ? name : QStringLiteral("%1_%2").arg(name).arg(counter);
    if (burnType == BurnPackage) {
        file += QStringLiteral(".dvdmedia");
    } else if (burnType == BurnIso) {
        file += QStringLiteral(".iso");
    }
    return QDir(folder).filePath(file);
}

bool takenAt(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

}  // namespace

QString uniqueOutputPath(const QString& folder, const QString& name, int burnType)
{
    const QString component = fileNameComponent(name);
    int counter = 0;
    QString path = candidate(folder, component, burnType, counter);
    while (takenAt(path)) {
        path = candidate(folder, component, burnType, ++counter);
    }
    return path;
}

qint64 neededSpace(qint64 totalUsedSpace)
{
    return static_cast<qint64>(static_cast<double>(totalUsedSpace) * 2.5);
}

namespace {

QString nearestExisting(const QString& path)
{
    QFileInfo info(path);
    while (!info.exists() && !info.isRoot() && !info.absolutePath().isEmpty()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath()) {
            break;
        }
        info = QFileInfo(parent);
    }
    return info.absoluteFilePath();
}

}  // namespace

bool sameFileSystem(const QString& first, const QString& second)
{
    const QStorageInfo one(nearestExisting(first));
    const QStorageInfo two(nearestExisting(second));
    return one.isValid() && two.isValid() && one.device() == two.device() &&
           one.rootPath() == two.rootPath();
}

QStringList writtenFolders(int burnType, const QString& outputFolder, const QString& imageFolder,
                           const QString& tempRoot)
{
    QStringList folders;
    for (const QString& folder : {burnType == BurnDisc ? imageFolder : outputFolder, tempRoot}) {
        if (folder.isEmpty()) {
            continue;
        }
        const bool measured = std::any_of(folders.cbegin(), folders.cend(), [&](const QString& f) {
            return sameFileSystem(f, folder);
        });
        if (!measured) {
            folders.append(folder);
        }
    }
    return folders;
}

std::optional<qint64> freeBytesAt(const QString& path)
{
    const QStorageInfo storage(nearestExisting(path));
    if (!storage.isValid()) {
        return std::nullopt;
    }
    return storage.bytesAvailable();
}

QString spaceDisplayStringWithSize(qint64 bytes)
{
    double size = static_cast<double>(bytes / 1000000);
    QString unit = QStringLiteral("MB");
    if (size > 1000.0) {
        size /= 1000.0;
        unit = QStringLiteral("GB");
    }
    return QString::asprintf("%.1f ", size) + unit;
}

}  // namespace BurnSettingRules
