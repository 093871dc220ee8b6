#include "app/ApplicationIdentity.h"

#include <QGuiApplication>
#include <mutex>

// The resource of a static library has to be registered by hand, from
// outside any namespace.
static void registerAppIcons()
{
    Q_INIT_RESOURCE(AppIcons);
}

namespace {

const char* const iconName = "brisane";
const int iconSizes[] = {16, 32, 48, 64, 128, 256};

void initResources()
{
    static std::once_flag once;
    std::call_once(once, registerAppIcons);
}

}  // namespace

QString ApplicationIdentity::desktopFileName()
{
    return QStringLiteral("brisane");
}

QIcon ApplicationIdentity::builtInIcon()
{
    initResources();
    QIcon icon;
    for (const int size : iconSizes) {
        icon.addFile(QStringLiteral(":/app/icons/brisane-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QIcon ApplicationIdentity::windowIcon()
{
    // A theme entry whose pictures cannot be read (an SVG without the SVG
    // image plugin) gives an icon without sizes: that counts as none.
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(iconName));
    if (!themed.isNull() && !themed.availableSizes().isEmpty()) {
        return themed;
    }
    return builtInIcon();
}

void ApplicationIdentity::install()
{
    QGuiApplication::setDesktopFileName(desktopFileName());
    QGuiApplication::setWindowIcon(windowIcon());
}
