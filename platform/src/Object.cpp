#include "platform/Object.h"

#include <QDebug>
#include <typeinfo>

#include "platform/ClassRegistry.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

Object::~Object() = default;

QString Object::className() const
{
    const QString name = ClassRegistry::nameOf(typeid(*this));
    return name.isEmpty() ? QString::fromLatin1(typeid(*this).name()) : name;
}

const PropertyTable& Object::propertyTable() const
{
    return properties();
}

const PropertyTable& Object::properties()
{
    static const PropertyTable table;
    return table;
}

Value Object::valueForKey(const QString& key) const
{
    if (const auto* property = propertyTable().find(key)) {
        return property->get(*this);
    }
    qWarning().noquote() << "valueForKey: no key" << key << "in" << className();
    return Value();
}

bool Object::setValueForKey(const Value& value, const QString& key)
{
    const auto* property = propertyTable().find(key);
    if (!property) {
        qWarning().noquote() << "setValueForKey: no key" << key << "in" << className();
        return false;
    }
    if (!property->set(*this, value)) {
        qWarning().noquote() << "setValueForKey: a value of kind" << Value::kindName(value.kind())
                             << "does not fit" << className() << key;
        return false;
    }
    return true;
}

QStringList Object::allCoderKeys() const
{
    return {};
}

void Object::encoder(KeyedArchiver& coder, const QString& key) const
{
    coder.encodeObject(valueForKey(key), key);
}

void Object::decoder(KeyedUnarchiver& coder, const QString& key)
{
    if (coder.containsValueForKey(key)) {
        setValueForKey(coder.decodeObjectForKey(key), key);
    }
}

void Object::copyTo(Object& target, const QString& key) const
{
    target.setValueForKey(valueForKey(key), key);
}

void Object::encodeWithCoder(KeyedArchiver& coder) const
{
    for (const auto& key : allCoderKeys()) {
        encoder(coder, key);
    }
}

bool Object::initWithCoder(KeyedUnarchiver& coder)
{
    for (const auto& key : allCoderKeys()) {
        decoder(coder, key);
    }
    return true;
}
