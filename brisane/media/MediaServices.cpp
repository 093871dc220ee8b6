#include "media/MediaServices.h"

#include <QMutex>
#include <QMutexLocker>

#include "corvane/DVDMenu.h"

namespace {

QMutex& servicesLock()
{
    static QMutex lock;
    return lock;
}

std::shared_ptr<MediaServices>& installedServices()
{
    static std::shared_ptr<MediaServices> services;
    return services;
}

}  // namespace

MediaServices::~MediaServices() = default;

QSizeF MediaServices::projectCanvasSize() const
{
    return DVDMenu::menuSizeForAspectType(1);
}

std::shared_ptr<MediaServices> MediaServices::current()
{
    QMutexLocker lock(&servicesLock());
    if (!installedServices()) {
        installedServices() = std::make_shared<MediaServices>();
    }
    return installedServices();
}

void MediaServices::install(std::shared_ptr<MediaServices> services)
{
    QMutexLocker lock(&servicesLock());
    installedServices() = std::move(services);
}
