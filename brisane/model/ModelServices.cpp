#include "model/ModelServices.h"

#include "media/ImageRenderVideo.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>

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
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QLatin1Char('/') + bundleIdentifier();
}

QString ModelServices::defaultOutputVideoPath() const
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation) +
                         QLatin1Char('/') + bundleIdentifier();
    createDirectoryAtPathIfCan(path);
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
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
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    if (!info.exists() && !QDir().mkpath(path)) {
        qWarning().noquote() << "could not create the folder" << path;
    }
    return QFileInfo(path).isDir();
}

QString ModelServices::bundleIdentifier()
{
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty()) {
        name = QStringLiteral("Brisane");
    }
    return QStringLiteral("org.brisane.") + name;
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
