#pragma once
// Key-value access for one class: each key maps to a getter and a setter that
// work through Value. A class builds its table once, usually starting from its
// base class's table (classes may reach Object through a virtual base, as the
// Corvane protocols do, so the accessors cast with dynamic_cast):
//
//   const PropertyTable& Widget::properties()
//   {
//       static const PropertyTable table = PropertyTable(Object::properties())
//           .add("name", &Widget::name, &Widget::setName)
//           .add("frameObject", &Widget::frameObject, &Widget::setFrameObject);
//       return table;
//   }

#include <QHash>
#include <QString>
#include <functional>
#include <type_traits>

#include "platform/ValueTraits.h"

class Object;

class PropertyTable {
public:
    using Getter = std::function<Value(const Object&)>;
    // Answers false when the value is of the wrong kind; the property is then unchanged.
    using Setter = std::function<bool(Object&, const Value&)>;

    struct Property {
        Getter get;
        Setter set;
    };

    PropertyTable() = default;

    // Reads and writes a typed property through its member functions.
    template <typename C, typename R, typename S, typename A>
    PropertyTable& add(const QString& key, R (C::*getter)() const, S (C::*setter)(A))
    {
        using T = std::decay_t<A>;
        static_assert(std::is_convertible_v<R, T>, "getter and setter types differ");
        m_properties.insert(
            key, Property{[getter](const Object& o) {
                              return ValueTraits<T>::toValue(
                                  T((dynamic_cast<const C&>(o).*getter)()));
                          },
                          [setter](Object& o, const Value& v) {
                              auto typed = ValueTraits<T>::fromValue(v);
                              if (!typed) {
                                  return false;
                              }
                              (dynamic_cast<C&>(o).*setter)(*typed);
                              return true;
                          }});
        return *this;
    }

    // A property with hand-written access.
    PropertyTable& add(const QString& key, Getter getter, Setter setter)
    {
        m_properties.insert(key, Property{std::move(getter), std::move(setter)});
        return *this;
    }

    const Property* find(const QString& key) const
    {
        auto it = m_properties.constFind(key);
        return it == m_properties.constEnd() ? nullptr : &it.value();
    }

    bool contains(const QString& key) const { return m_properties.contains(key); }
    QList<QString> keys() const { return m_properties.keys(); }

private:
    QHash<QString, Property> m_properties;
};
