#include "platform/ClassRegistry.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include "platform/Object.h"

namespace {

struct Registry {
    QMutex mutex;
    QHash<QString, ClassRegistry::Factory> factories;
    std::unordered_map<std::type_index, QString> names;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

}  // namespace

void ClassRegistry::add(const QString& name, std::type_index type, Factory factory)
{
    auto& r = registry();
    QMutexLocker lock(&r.mutex);
    r.factories.insert(name, std::move(factory));
    r.names[type] = name;
}

std::shared_ptr<Object> ClassRegistry::create(const QString& name)
{
    Factory factory;
    {
        auto& r = registry();
        QMutexLocker lock(&r.mutex);
        factory = r.factories.value(name);
    }
    return factory ? factory() : nullptr;
}

QString ClassRegistry::nameOf(std::type_index type)
{
    auto& r = registry();
    QMutexLocker lock(&r.mutex);
    auto it = r.names.find(type);
    return it == r.names.end() ? QString() : it->second;
}

bool ClassRegistry::contains(const QString& name)
{
    auto& r = registry();
    QMutexLocker lock(&r.mutex);
    return r.factories.contains(name);
}
