#pragma once
// A value of any archivable kind: what a property holds when it is read or
// written by key, and what an archive stores under a key.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>
#include <optional>
#include <type_traits>
#include <variant>

#include "platform/Shadow.h"

class Object;
using ObjectPtr = std::shared_ptr<Object>;

class Value {
public:
    using Array = QList<Value>;
    using Dictionary = QMap<QString, Value>;

    enum class Kind {
        Null,
        Bool,
        Int,
        Double,
        String,
        Rect,
        Size,
        Point,
        Image,
        Color,
        Font,
        Shadow,
        Data,
        Object,
        Array,
        Dictionary,
    };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool v) : m_data(v) {}
    Value(int v) : m_data(static_cast<qint64>(v)) {}
    Value(long v) : m_data(static_cast<qint64>(v)) {}
    Value(long long v) : m_data(static_cast<qint64>(v)) {}
    Value(unsigned v) : m_data(static_cast<qint64>(v)) {}
    Value(float v) : m_data(static_cast<double>(v)) {}
    Value(double v) : m_data(v) {}
    Value(const QString& v) : m_data(v) {}
    Value(const char* v) : m_data(QString::fromUtf8(v)) {}
    Value(const QRectF& v) : m_data(v) {}
    Value(const QSizeF& v) : m_data(v) {}
    Value(const QPointF& v) : m_data(v) {}
    Value(const QImage& v) : m_data(v) {}
    Value(const QColor& v) : m_data(v) {}
    Value(const QFont& v) : m_data(v) {}
    Value(const ::Shadow& v) : m_data(v) {}
    Value(const QByteArray& v) : m_data(v) {}
    Value(const Array& v) : m_data(std::make_shared<const Array>(v)) {}
    Value(const Dictionary& v) : m_data(std::make_shared<const Dictionary>(v)) {}
    template <typename T, typename = std::enable_if_t<std::is_base_of_v<Object, T>>>
    Value(const std::shared_ptr<T>& v)
    {
        if (v) {
            m_data = std::static_pointer_cast<Object>(v);
        }
    }

    Kind kind() const;
    bool isNull() const { return kind() == Kind::Null; }
    static QString kindName(Kind kind);

    // Checked reads. Numbers convert among themselves (saturating); every other
    // kind must match exactly, else the result is empty.
    std::optional<bool> toBool() const;
    std::optional<qint64> toInt() const;
    std::optional<double> toDouble() const;
    std::optional<QString> toString() const;
    std::optional<QRectF> toRect() const;
    std::optional<QSizeF> toSize() const;
    std::optional<QPointF> toPoint() const;
    std::optional<QImage> toImage() const;
    std::optional<QColor> toColor() const;
    std::optional<QFont> toFont() const;
    std::optional<::Shadow> toShadow() const;
    std::optional<QByteArray> toData() const;

    // The object held, or null (also when the value is not an object).
    ObjectPtr object() const;
    template <typename T>
    std::shared_ptr<T> objectAs() const
    {
        return std::dynamic_pointer_cast<T>(object());
    }

    // The array or dictionary held; empty when the value is of another kind.
    const Array& array() const;
    const Dictionary& dictionary() const;
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }

    // Objects compare by identity, pictures by pixels, everything else by value.
    friend bool operator==(const Value& a, const Value& b);

private:
    using ArrayPtr = std::shared_ptr<const Array>;
    using DictionaryPtr = std::shared_ptr<const Dictionary>;
    std::variant<std::monostate, bool, qint64, double, QString, QRectF, QSizeF, QPointF, QImage,
                 QColor, QFont, ::Shadow, QByteArray, ObjectPtr, ArrayPtr, DictionaryPtr>
        m_data;
};
