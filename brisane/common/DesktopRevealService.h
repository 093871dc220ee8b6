#pragma once
// Reveals through the desktop: the file manager's D-Bus call
// org.freedesktop.FileManager1.ShowItems selects the item; when no file
// manager answers it (or the item is gone), the nearest existing folder is
// opened instead. The call does not wait for the file manager. When the
// folder cannot be opened either, the caller is told (selectFile's
// `notShown`).

#include <QDBusConnection>
#include <QUrl>
#include <functional>

#include "common/RevealService.h"

class DesktopRevealService : public RevealService {
public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    // The session bus and QDesktopServices::openUrl by default.
    DesktopRevealService();
    DesktopRevealService(const QDBusConnection& bus, UrlOpener openUrl);

    void selectFile(const QString& path) override;
    void selectFile(const QString& path, std::function<void()> notShown) override;

private:
    // Answers whether the folder was handed to the desktop.
    bool openFolderOf(const QString& path) const;

    QDBusConnection m_bus;
    UrlOpener m_openUrl;
};
