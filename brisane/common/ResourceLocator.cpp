#include "common/ResourceLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ResourceLocator::sharedResourceFolder(const QString& executableFolder)
{
    return QDir::cleanPath(executableFolder + QLatin1Char('/') +
                           QStringLiteral(BRISANE_RESOURCES_FROM_PROGRAM));
}

QString ResourceLocator::resourcePath(const QString& name, const QString& executableFolder)
{
    const QString beside = QDir(executableFolder).filePath(name);
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    const QString installed = QDir(sharedResourceFolder(executableFolder)).filePath(name);
    return QFileInfo::exists(installed) ? installed : beside;
}

QString ResourceLocator::resourcePath(const QString& name)
{
    return resourcePath(name, QCoreApplication::applicationDirPath());
}
