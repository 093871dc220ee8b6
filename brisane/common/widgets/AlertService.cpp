#include "common/widgets/AlertService.h"

#include <QMutex>
#include <QMutexLocker>

#include "common/widgets/WidgetAlertService.h"

namespace {

QMutex& serviceLock()
{
    static QMutex lock;
    return lock;
}

std::shared_ptr<AlertService>& installedService()
{
    static std::shared_ptr<AlertService> service;
    return service;
}

}  // namespace

AlertService::~AlertService() = default;

std::shared_ptr<AlertService> AlertService::current()
{
    QMutexLocker locker(&serviceLock());
    if (!installedService()) {
        installedService() = std::make_shared<WidgetAlertService>();
    }
    return installedService();
}

void AlertService::install(std::shared_ptr<AlertService> service)
{
    QMutexLocker locker(&serviceLock());
    installedService() = std::move(service);
}
