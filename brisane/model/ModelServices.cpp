#include "model/ModelServices.h"

#include <QMutex>
#include <QMutexLocker>

#include "corvane/DVDLibraryResource.h"

namespace {

QMutex& servicesLock()
{
    static QMutex lock;
    return lock;
}

std::shared_ptr<ModelServices>& installedServices()
{
    static std::shared_ptr<ModelServices> services;
    return services;
}

}  // namespace

ModelServices::~ModelServices() = default;

std::shared_ptr<DVDResource> ModelServices::dvd() const
{
    return nullptr;
}

std::shared_ptr<DVDLibraryResource> ModelServices::dvdLibSource() const
{
    return DVDLibraryResource::share();
}

std::shared_ptr<DataResource> ModelServices::dateResource() const
{
    return nullptr;
}

std::shared_ptr<ModelServices> ModelServices::current()
{
    QMutexLocker lock(&servicesLock());
    if (!installedServices()) {
        installedServices() = std::make_shared<ModelServices>();
    }
    return installedServices();
}

void ModelServices::install(std::shared_ptr<ModelServices> services)
{
    QMutexLocker lock(&servicesLock());
    installedServices() = std::move(services);
}
