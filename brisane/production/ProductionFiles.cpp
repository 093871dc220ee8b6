#include "production/ProductionFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

bool copyTree(const QString& from, const QString& to, QString* error)
{
    if (!QDir().mkpath(to)) {
        *error = QStringLiteral("cannot create %1").arg(to);
        return false;
    }
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        const QFileInfo info = it.fileInfo();
        if (info.isDir() && !info.isSymLink()) {
            if (!QDir().mkpath(target)) {
                *error = QStringLiteral("cannot create %1").arg(target);
                return false;
            }
        } else if (!QFile::copy(source, target)) {
            *error = QStringLiteral("cannot copy %1 to %2").arg(source, target);
            return false;
        }
    }
    return true;
}

}  // namespace

bool ProductionFiles::isPlaceholder(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        return false;
    }
    if (!info.exists()) {
        return true;
    }
    if (info.isFile()) {
        return info.size() == 0;
    }
    return info.isDir() && QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                              QDir::NoDotAndDotDot);
}

bool ProductionFiles::removePlaceholder(const QString& path)
{
    if (!isPlaceholder(path)) {
        return false;
    }
    const QFileInfo info(path);
    if (info.isDir()) {
        QDir().rmdir(path);
    } else if (info.exists()) {
        QFile::remove(path);
    }
    return !QFileInfo::exists(path);
}

bool ProductionFiles::moveItem(const QString& from, const QString& to, QString* error)
{
    QString ignored;
    QString& message = error ? *error : ignored;
    const QFileInfo source(from);
    if (!source.exists()) {
        message = QStringLiteral("%1 does not exist").arg(from);
        return false;
    }
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink()) {
        message = QStringLiteral("something is already at %1").arg(to);
        return false;
    }
    if (QDir().rename(from, to)) {
        return true;
    }
    // Another file system: copy, then remove the source.
    const bool copied = source.isDir() ? copyTree(from, to, &message) : QFile::copy(from, to);
    if (!copied) {
        if (message.isEmpty()) {
            message = QStringLiteral("cannot copy %1 to %2").arg(from, to);
        }
        removeItem(to);
        return false;
    }
    removeItem(from);
    return true;
}

QStringList ProductionFiles::entryNames(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void ProductionFiles::removeItem(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) {
        QDir(path).removeRecursively();
    } else if (info.exists() || info.isSymLink()) {
        QFile::remove(path);
    }
}

qint64 ProductionFiles::freeBytesAt(const QString& path)
{
    QFileInfo folder(path);
    while (!folder.exists() && !folder.isRoot() && !folder.filePath().isEmpty()) {
        folder = QFileInfo(folder.absolutePath());
    }
    const QStorageInfo volume(folder.absoluteFilePath());
    return volume.isValid() ? volume.bytesAvailable() : -1;
}
