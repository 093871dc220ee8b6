#include "corvane/DVDToolLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>

namespace {

QMutex toolFolderMutex;
QString toolFolderOverride;

}  // namespace

QString DVDToolLocator::pathForTool(const QString& tool)
{
    const QStringList names = namesForTool(tool);
    const QString only = toolFolder();
    if (!only.isEmpty()) {
        const QString found = findIn(only, names);
        return found.isEmpty() ? QDir(only).filePath(tool) : found;
    }
    const QString beside = executableFolder();
    QString found = findIn(beside, names);
    for (qsizetype i = 0; found.isEmpty() && i < names.size(); ++i) {
        found = QStandardPaths::findExecutable(names.at(i));
    }
    return found.isEmpty() ? QDir(beside).filePath(tool) : found;
}

bool DVDToolLocator::isToolAvailable(const QString& tool)
{
    const QFileInfo info(pathForTool(tool));
    return info.isFile() && info.isExecutable();
}

QString DVDToolLocator::executableFolder()
{
    if (QCoreApplication::instance()) {
        return QCoreApplication::applicationDirPath();
    }
    // Without an application object: ask the system where this program lives.
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

void DVDToolLocator::setToolFolder(const QString& folder)
{
    QMutexLocker lock(&toolFolderMutex);
    toolFolderOverride = folder;
}

QString DVDToolLocator::toolFolder()
{
    QMutexLocker lock(&toolFolderMutex);
    return toolFolderOverride;
}

QStringList DVDToolLocator::namesForTool(const QString& tool)
{
    if (tool == QLatin1String("mkisofs")) {
        return {tool, QStringLiteral("genisoimage")};
    }
    return {tool};
}

QString DVDToolLocator::findIn(const QString& folder, const QStringList& names)
{
    if (folder.isEmpty()) {
        return {};
    }
    for (const QString& name : names) {
        const QFileInfo info(QDir(folder).filePath(name));
        if (info.isFile() && info.isExecutable()) {
            return info.filePath();
        }
    }
    return {};
}
