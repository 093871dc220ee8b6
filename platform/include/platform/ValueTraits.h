#pragma once
// Conversions between property types and Value. `fromValue` answers empty for
// a value of the wrong kind, so a property never receives what it cannot hold.
// A null value converts to a null pointer for object properties and to an
// empty list for list properties; scalars refuse it. Lists of objects never
// hold a null: an element that is null (an unknown class or a damaged entry
// in an archive) or an object of another class is left out, with a log line.

#include <QDebug>
#include <QList>
#include <QStringList>
#include <limits>
#include <memory>
#include <optional>
#include <type_traits>

#include "platform/Value.h"

template <typename T, typename Enable = void>
struct ValueTraits;

#define BRISANE_SIMPLE_TRAITS(Type, reader)                                  \
    template <>                                                              \
    struct ValueTraits<Type> {                                               \
        static Value toValue(const Type& v) { return Value(v); }             \
        static std::optional<Type> fromValue(const Value& v) { return v.reader(); } \
    };

BRISANE_SIMPLE_TRAITS(bool, toBool)
BRISANE_SIMPLE_TRAITS(double, toDouble)
BRISANE_SIMPLE_TRAITS(QString, toString)
BRISANE_SIMPLE_TRAITS(QRectF, toRect)
BRISANE_SIMPLE_TRAITS(QSizeF, toSize)
BRISANE_SIMPLE_TRAITS(QPointF, toPoint)
BRISANE_SIMPLE_TRAITS(QImage, toImage)
BRISANE_SIMPLE_TRAITS(QColor, toColor)
BRISANE_SIMPLE_TRAITS(QFont, toFont)
BRISANE_SIMPLE_TRAITS(Shadow, toShadow)
BRISANE_SIMPLE_TRAITS(QByteArray, toData)
#undef BRISANE_SIMPLE_TRAITS

template <>
struct ValueTraits<float> {
    static Value toValue(float v) { return Value(static_cast<double>(v)); }
    static std::optional<float> fromValue(const Value& v)
    {
        if (auto d = v.toDouble()) {
            return static_cast<float>(*d);
        }
        return std::nullopt;
    }
};

// Integers and enumerations, stored as 64-bit integers and narrowed with
// saturation.
template <typename T>
struct ValueTraits<T, std::enable_if_t<(std::is_integral_v<T> && !std::is_same_v<T, bool>) ||
                                       std::is_enum_v<T>>> {
    static Value toValue(T v) { return Value(static_cast<qint64>(v)); }
    static std::optional<T> fromValue(const Value& v)
    {
        auto i = v.toInt();
        if (!i) {
            return std::nullopt;
        }
        if constexpr (std::is_enum_v<T>) {
            return static_cast<T>(*i);
        } else {
            using L = std::numeric_limits<T>;
            if (*i < static_cast<qint64>(L::min())) {
                return L::min();
            }
            if (static_cast<quint64>(*i) > static_cast<quint64>(L::max()) && *i > 0) {
                return L::max();
            }
            return static_cast<T>(*i);
        }
    }
};

template <>
struct ValueTraits<Value> {
    static Value toValue(const Value& v) { return v; }
    static std::optional<Value> fromValue(const Value& v) { return v; }
};

template <>
struct ValueTraits<Value::Dictionary> {
    static Value toValue(const Value::Dictionary& v) { return Value(v); }
    static std::optional<Value::Dictionary> fromValue(const Value& v)
    {
        if (v.isNull() || v.isDictionary()) {
            return v.dictionary();
        }
        return std::nullopt;
    }
};

template <typename T>
struct ValueTraits<std::shared_ptr<T>, std::enable_if_t<std::is_base_of_v<Object, T>>> {
    static Value toValue(const std::shared_ptr<T>& v) { return Value(v); }
    static std::optional<std::shared_ptr<T>> fromValue(const Value& v)
    {
        if (v.isNull()) {
            return std::shared_ptr<T>();
        }
        auto object = v.objectAs<T>();
        if (!object) {
            return std::nullopt;
        }
        return object;
    }
};

template <typename E>
struct IsObjectPointer : std::false_type {};
template <typename T>
struct IsObjectPointer<std::shared_ptr<T>> : std::is_base_of<Object, T> {};

// Lists of any convertible element: every element must convert, except that
// lists of objects leave out null elements and objects of another class.
template <typename E>
struct ValueTraits<QList<E>> {
    static Value toValue(const QList<E>& list)
    {
        Value::Array array;
        array.reserve(list.size());
        for (const auto& e : list) {
            array.append(ValueTraits<E>::toValue(e));
        }
        return Value(array);
    }
    static std::optional<QList<E>> fromValue(const Value& v)
    {
        if (v.isNull()) {
            return QList<E>();
        }
        if (!v.isArray()) {
            return std::nullopt;
        }
        QList<E> list;
        list.reserve(v.array().size());
        qsizetype dropped = 0;
        for (const auto& element : v.array()) {
            if constexpr (IsObjectPointer<E>::value) {
                if (!element.isNull() && element.kind() != Value::Kind::Object) {
                    return std::nullopt;  // not a list of objects at all
                }
                if (auto object = element.objectAs<typename E::element_type>()) {
                    list.append(std::move(object));
                } else {
                    ++dropped;
                }
            } else {
                auto e = ValueTraits<E>::fromValue(element);
                if (!e) {
                    return std::nullopt;
                }
                list.append(*e);
            }
        }
        if (dropped > 0) {
            qWarning().noquote() << "a list of objects left out" << dropped
                                 << "missing or unknown elements";
        }
        return list;
    }
};

