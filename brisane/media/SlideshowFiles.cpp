#include "media/SlideshowFiles.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace SlideshowFiles {

bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

bool linkOrCopy(const QString& source, const QString& target)
{
    const QFileInfo targetInfo(target);
    if (targetInfo.exists()) {
        return true;
    }
    if (!QFileInfo(source).isFile()) {
        qWarning().noquote() << "No file to store at" << target << ": missing" << source;
        return false;
    }
    if (!QDir().mkpath(targetInfo.absolutePath())) {
        qWarning().noquote() << "Cannot make folder" << targetInfo.absolutePath();
        return false;
    }
    // A hard link to a link would be a link again, which need not lead
    // anywhere from the project folder: the file it leads to is linked.
    const QString file = QFileInfo(source).canonicalFilePath();
    std::error_code error;
    std::filesystem::create_hard_link(QFile::encodeName(file).toStdString(),
                                      QFile::encodeName(target).toStdString(), error);
    if (!error) {
        return true;
    }
    if (!QFile::copy(source, target)) {
        qWarning().noquote() << "Cannot link or copy" << source << "to" << target;
        return false;
    }
    return true;
}

QString sha256Hex(const QString& text)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

}  // namespace SlideshowFiles
