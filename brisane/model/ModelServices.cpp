#include "model/ModelServices.h"

#include "media/ImageRenderVideo.h"

#include <QMutex>
#include <QMutexLocker>

#include "common/FileManagerExtention.h"
#include "corvane/DVDLibraryResource.h"
#include "model/DVDResource.h"

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

void ModelServices::displayCanvasView() {}

std::shared_ptr<DataResource> ModelServices::dateResource() const
{
    return nullptr;
}

QString ModelServices::applicationSupportPath() const
{
    return FileManagerExtention::applicationSupportPath();
}

QString ModelServices::defaultOutputVideoPath() const
{
    return FileManagerExtention::defaultOutputVideoPath();
}

IMovie::Ptr ModelServices::slideshowMovie(const std::shared_ptr<RenderItem>& slideshow) const
{
    if (!slideshow) {
        return nullptr;
    }
    return std::make_shared<ImageRenderVideo>(slideshow);
}

bool ModelServices::createDirectoryAtPathIfCan(const QString& path)
{
    return FileManagerExtention::createDirectoryAtPathIfCan(path);
}

QString ModelServices::bundleIdentifier()
{
    return FileManagerExtention::bundleIdentifier();
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
