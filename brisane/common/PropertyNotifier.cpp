#include "common/PropertyNotifier.h"

PropertyNotifier::PropertyNotifier(QObject* parent) : QObject(parent) {}

PropertyNotifier::~PropertyNotifier() = default;

void PropertyNotifier::willChangeValueForKey(const QString& key)
{
    emit willChangeValue(key);
}

void PropertyNotifier::didChangeValueForKey(const QString& key)
{
    emit didChangeValue(key);
}

QMetaObject::Connection PropertyNotifier::observeKey(const QString& key, const QObject* context,
                                                     std::function<void()> refresh)
{
    return connect(this, &PropertyNotifier::didChangeValue, context,
                   [key, refresh = std::move(refresh)](const QString& changed) {
                       if (changed == key && refresh) {
                           refresh();
                       }
                   });
}
