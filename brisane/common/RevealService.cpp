#include "common/RevealService.h"

#include <QMutex>
#include <QMutexLocker>

#include "common/DesktopRevealService.h"

namespace {

QMutex& serviceLock()
{
    static QMutex lock;
    return lock;
}

std::shared_ptr<RevealService>& installedService()
{
    static std::shared_ptr<RevealService> service;
    return service;
}

}  // namespace

RevealService::~RevealService() = default;

void RevealService::selectFile(const QString& path, std::function<void()>)
{
    selectFile(path);
}

std::shared_ptr<RevealService> RevealService::current()
{
    QMutexLocker locker(&serviceLock());
    if (!installedService()) {
        installedService() = std::make_shared<DesktopRevealService>();
    }
    return installedService();
}

void RevealService::install(std::shared_ptr<RevealService> service)
{
    QMutexLocker locker(&serviceLock());
    installedService() = std::move(service);
}
