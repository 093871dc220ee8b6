#pragma once
// The common root of every model object of Corvane and the application, and
// the key-list archiving scheme they share.
//
// A class states its persistent state as an ordered key list (allCoderKeys).
// Encoding writes each key's value under that key; decoding default-constructs
// the object (its defaults are set) and then sets each key the archive
// contains, in list order. A subclass's list replaces its base class's list.
// Keys are read and written through the class's PropertyTable.

#include <QString>
#include <QStringList>
#include <memory>

#include "platform/PropertyTable.h"
#include "platform/Value.h"

class KeyedArchiver;
class KeyedUnarchiver;

class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    // The registered class name (see ClassRegistry), or the C++ type name when
    // the class was never registered.
    QString className() const;

    // Key-value access.
    virtual const PropertyTable& propertyTable() const;
    static const PropertyTable& properties();
    // Null when the key names no property (logged).
    Value valueForKey(const QString& key) const;
    // False when the key names no property or the value is of the wrong kind
    // (both logged); the property then keeps its value.
    bool setValueForKey(const Value& value, const QString& key);

    // The archived keys, in order. Empty for the root.
    virtual QStringList allCoderKeys() const;

    // Writes the key's value under the key.
    virtual void encoder(KeyedArchiver& coder, const QString& key) const;
    // Sets the key from the archive, when the archive holds it.
    virtual void decoder(KeyedUnarchiver& coder, const QString& key);
    // Sets the target's key to this object's value for the key.
    void copyTo(Object& target, const QString& key) const;

    virtual void encodeWithCoder(KeyedArchiver& coder) const;
    // Called on a freshly constructed object. Answers false to refuse (the
    // decoded reference is then null). Overrides call the inherited one first.
    virtual bool initWithCoder(KeyedUnarchiver& coder);

    template <typename T>
    std::shared_ptr<T> sharedAs()
    {
        return std::dynamic_pointer_cast<T>(shared_from_this());
    }
};
