#include "common/NamedImage.h"

#include <QFile>
#include <QHash>
#include <QtDebug>
#include <mutex>

// The resource of a static library has to be registered by hand, from
// outside any namespace.
static void registerCommonImages()
{
    Q_INIT_RESOURCE(CommonImages);
}

namespace {

void initResources()
{
    static std::once_flag once;
    std::call_once(once, registerCommonImages);
}

const QString kPrefix = QStringLiteral(":/common/images/");

struct Cache {
    std::mutex mutex;
    QHash<QString, QImage> images;
};

Cache& cache()
{
    static Cache instance;
    return instance;
}

}  // namespace

QString NamedImage::resourcePath(const QString& name)
{
    initResources();
    if (name.isEmpty()) {
        return {};
    }
    for (const QString& candidate : {kPrefix + name, kPrefix + name + QStringLiteral(".png")}) {
        if (QFile::exists(candidate)) {
            return candidate;
        }
    }
    return {};
}

QImage NamedImage::imageNamed(const QString& name)
{
    Cache& shared = cache();
    {
        std::lock_guard lock(shared.mutex);
        const auto found = shared.images.constFind(name);
        if (found != shared.images.constEnd()) {
            return *found;
        }
    }
    QImage image;
    const QString path = resourcePath(name);
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly)) {
        // Decoded by content: some names carry a ".tiff" extension over PNG data.
        image = QImage::fromData(file.readAll());
    }
    if (image.isNull()) {
        qWarning().noquote() << QStringLiteral("No picture named \"%1\"").arg(name);
    }
    std::lock_guard lock(shared.mutex);
    shared.images.insert(name, image);
    return image;
}
