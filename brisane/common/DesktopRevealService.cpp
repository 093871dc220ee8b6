#include "common/DesktopRevealService.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QtDebug>

namespace {

const char* const kService = "org.freedesktop.FileManager1";
const char* const kPath = "/org/freedesktop/FileManager1";
const char* const kInterface = "org.freedesktop.FileManager1";

}  // namespace

DesktopRevealService::DesktopRevealService()
    : DesktopRevealService(QDBusConnection::sessionBus(), &QDesktopServices::openUrl)
{
}

DesktopRevealService::DesktopRevealService(const QDBusConnection& bus, UrlOpener openUrl)
    : m_bus(bus), m_openUrl(std::move(openUrl))
{
}

void DesktopRevealService::selectFile(const QString& path)
{
    selectFile(path, {});
}

void DesktopRevealService::selectFile(const QString& path, std::function<void()> notShown)
{
    const QFileInfo info(path);
    if (!info.exists() || !m_bus.isConnected()) {
        if (!openFolderOf(path) && notShown) {
            notShown();
        }
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(info.absoluteFilePath()).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call));
    const DesktopRevealService copy = *this;
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [copy, path, notShown](QDBusPendingCallWatcher* finished) {
                         if (finished->isError()) {
                             qWarning("The file manager did not show %s: %s", qPrintable(path),
                                      qPrintable(finished->error().message()));
                             if (!copy.openFolderOf(path) && notShown) {
                                 notShown();
                             }
                         }
                         finished->deleteLater();
                     });
}

bool DesktopRevealService::openFolderOf(const QString& path) const
{
    QFileInfo folder(QFileInfo(path).absolutePath());
    while (!folder.isDir() && !folder.isRoot()) {
        folder = QFileInfo(folder.absolutePath());
    }
    if (!m_openUrl || !m_openUrl(QUrl::fromLocalFile(folder.absoluteFilePath()))) {
        qWarning("Cannot open the folder %s", qPrintable(folder.absoluteFilePath()));
        return false;
    }
    return true;
}
