#include "platform/Value.h"

#include "platform/Numeric.h"

Value::Kind Value::kind() const
{
    return static_cast<Kind>(m_data.index());
}

QString Value::kindName(Kind kind)
{
    static const char* const names[] = {"null",  "bool",  "int",  "double", "string", "rect",
                                        "size",  "point", "image", "color", "font",   "shadow",
                                        "data",  "object", "array", "dictionary"};
    return QString::fromLatin1(names[static_cast<int>(kind)]);
}

std::optional<bool> Value::toBool() const
{
    if (auto b = std::get_if<bool>(&m_data)) {
        return *b;
    }
    if (auto i = std::get_if<qint64>(&m_data)) {
        return *i != 0;
    }
    if (auto d = std::get_if<double>(&m_data)) {
        return *d != 0.0;
    }
    return std::nullopt;
}

std::optional<qint64> Value::toInt() const
{
    if (auto i = std::get_if<qint64>(&m_data)) {
        return *i;
    }
    if (auto b = std::get_if<bool>(&m_data)) {
        return *b ? 1 : 0;
    }
    if (auto d = std::get_if<double>(&m_data)) {
        return saturatingCast<qint64>(*d);
    }
    return std::nullopt;
}

std::optional<double> Value::toDouble() const
{
    if (auto d = std::get_if<double>(&m_data)) {
        return *d;
    }
    if (auto i = std::get_if<qint64>(&m_data)) {
        return static_cast<double>(*i);
    }
    if (auto b = std::get_if<bool>(&m_data)) {
        return *b ? 1.0 : 0.0;
    }
    return std::nullopt;
}

namespace {
template <typename T, typename V>
std::optional<T> exact(const V& data)
{
    if (auto p = std::get_if<T>(&data)) {
        return *p;
    }
    return std::nullopt;
}
}  // namespace

std::optional<QString> Value::toString() const { return exact<QString>(m_data); }
std::optional<QRectF> Value::toRect() const { return exact<QRectF>(m_data); }
std::optional<QSizeF> Value::toSize() const { return exact<QSizeF>(m_data); }
std::optional<QPointF> Value::toPoint() const { return exact<QPointF>(m_data); }
std::optional<QImage> Value::toImage() const { return exact<QImage>(m_data); }
std::optional<QColor> Value::toColor() const { return exact<QColor>(m_data); }
std::optional<QFont> Value::toFont() const { return exact<QFont>(m_data); }
std::optional<::Shadow> Value::toShadow() const { return exact<::Shadow>(m_data); }
std::optional<QByteArray> Value::toData() const { return exact<QByteArray>(m_data); }

ObjectPtr Value::object() const
{
    if (auto p = std::get_if<ObjectPtr>(&m_data)) {
        return *p;
    }
    return nullptr;
}

const Value::Array& Value::array() const
{
    static const Array empty;
    if (auto p = std::get_if<ArrayPtr>(&m_data)) {
        return **p;
    }
    return empty;
}

const Value::Dictionary& Value::dictionary() const
{
    static const Dictionary empty;
    if (auto p = std::get_if<DictionaryPtr>(&m_data)) {
        return **p;
    }
    return empty;
}

bool operator==(const Value& a, const Value& b)
{
    if (a.kind() != b.kind()) {
        return false;
    }
    switch (a.kind()) {
    case Value::Kind::Array:
        return a.array() == b.array();
    case Value::Kind::Dictionary:
        return a.dictionary() == b.dictionary();
    case Value::Kind::Image:
        return *a.toImage() == *b.toImage();
    default:
        return a.m_data == b.m_data;
    }
}
