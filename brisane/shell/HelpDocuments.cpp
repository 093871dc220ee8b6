#include "shell/HelpDocuments.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "common/ResourceLocator.h"

namespace {

HelpDocuments::DocumentOpener& installedOpener()
{
    static HelpDocuments::DocumentOpener opener;
    return opener;
}

}  // namespace

void HelpDocuments::setDocumentOpener(DocumentOpener opener)
{
    installedOpener() = std::move(opener);
}

QString HelpDocuments::helpDocumentFolder()
{
    // The user's own cache: nobody else can put a file under these fixed
    // names, as anyone could in the shared temporary folder.
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/help");
}

HelpDocuments::Opened HelpDocuments::openHelpDocument(const QString& fileName)
{
    const QString original = ResourceLocator::resourcePath(fileName);
    const QString folder = helpDocumentFolder();
    const QString copy = QDir(folder).filePath(fileName);
    const QFileInfo copyInfo(copy);
    const QFileInfo originalInfo(original);
    // A copy older than the installed document is replaced.
    const bool stale = copyInfo.exists() && originalInfo.isFile() &&
                       copyInfo.lastModified() < originalInfo.lastModified();
    if (!copyInfo.exists() || stale) {
        if (stale) {
            QFile::remove(copy);
        }
        if (!QDir().mkpath(folder) || !QFile::copy(original, copy)) {
            return {{},
                    QStringLiteral("The document \"%1\" could not be opened.").arg(fileName),
                    originalInfo.isFile() ? QStringLiteral("It cannot be copied to %1.").arg(folder)
                                          : QStringLiteral("It is missing from the installation.")};
        }
    }
    if (const DocumentOpener& opener = installedOpener()) {
        opener(copy);
    } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(copy));
    }
    return {copy, {}, {}};
}
