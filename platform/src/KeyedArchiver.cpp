#include "platform/KeyedArchiver.h"

#include <QBuffer>
#include <QCborArray>

#include "ArchiveFormat.h"
#include "platform/Object.h"

namespace af = archiveformat;

namespace {

QCborValue tagged(const QString& type, const QCborValue& payload)
{
    QCborMap map;
    map.insert(af::Type, type);
    map.insert(af::Payload, payload);
    return map;
}

QCborArray numbers(std::initializer_list<double> values)
{
    QCborArray array;
    for (double v : values) {
        array.append(v);
    }
    return array;
}

QCborValue colorPayload(const QColor& color)
{
    if (!color.isValid()) {
        return QCborValue(nullptr);
    }
    const QColor rgb = color.toRgb();
    return numbers({rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()});
}

QByteArray pngData(const QImage& image)
{
    QByteArray bytes;
    if (image.isNull()) {
        return bytes;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

QByteArray KeyedArchiver::archivedData(const Value& root)
{
    KeyedArchiver archiver;
    const QCborValue encodedRoot = archiver.encodeValue(root);
    QCborArray objects;
    for (const auto& object : archiver.m_objects) {
        objects.append(object);
    }
    QCborMap document;
    document.insert(af::Format, af::FormatName);
    document.insert(af::Version, af::CurrentVersion);
    document.insert(af::Root, encodedRoot);
    document.insert(af::Objects, objects);
    return document.toCborValue().toCbor();
}

void KeyedArchiver::encodeObject(const Value& value, const QString& key)
{
    if (m_current.isEmpty()) {
        return;  // only meaningful inside encodeWithCoder
    }
    const qsizetype index = m_current.last();
    const QCborValue encoded = encodeValue(value);
    QCborMap keys = m_objects[index].value(af::Keys).toMap();
    keys.insert(key, encoded);
    m_objects[index].insert(af::Keys, keys);
}

QCborValue KeyedArchiver::encodeReference(const ObjectPtr& object)
{
    auto found = m_indexOf.constFind(object.get());
    if (found != m_indexOf.constEnd()) {
        return tagged(af::Reference, *found);
    }
    const qsizetype index = m_objects.size();
    m_indexOf.insert(object.get(), index);
    QCborMap entry;
    entry.insert(af::Class, object->className());
    entry.insert(af::Keys, QCborMap());
    m_objects.append(entry);
    m_current.append(index);
    object->encodeWithCoder(*this);
    m_current.removeLast();
    return tagged(af::Reference, index);
}

QCborValue KeyedArchiver::encodeValue(const Value& value)
{
    switch (value.kind()) {
    case Value::Kind::Null:
        return QCborValue(nullptr);
    case Value::Kind::Bool:
        return QCborValue(*value.toBool());
    case Value::Kind::Int:
        return QCborValue(*value.toInt());
    case Value::Kind::Double:
        return QCborValue(*value.toDouble());
    case Value::Kind::String:
        return QCborValue(*value.toString());
    case Value::Kind::Rect: {
        const QRectF r = *value.toRect();
        return tagged(af::Rect, numbers({r.x(), r.y(), r.width(), r.height()}));
    }
    case Value::Kind::Size: {
        const QSizeF s = *value.toSize();
        return tagged(af::Size, numbers({s.width(), s.height()}));
    }
    case Value::Kind::Point: {
        const QPointF p = *value.toPoint();
        return tagged(af::Point, numbers({p.x(), p.y()}));
    }
    case Value::Kind::Image:
        return tagged(af::Image, pngData(*value.toImage()));
    case Value::Kind::Color:
        return tagged(af::Color, colorPayload(*value.toColor()));
    case Value::Kind::Font:
        return tagged(af::Font, value.toFont()->toString());
    case Value::Kind::Shadow: {
        const ::Shadow s = *value.toShadow();
        QCborArray payload = numbers({s.offset.x(), s.offset.y(), s.blurRadius});
        payload.append(colorPayload(s.color));
        return tagged(af::Shadow, payload);
    }
    case Value::Kind::Data:
        return tagged(af::Data, *value.toData());
    case Value::Kind::Object:
        return encodeReference(value.object());
    case Value::Kind::Array: {
        QCborArray array;
        for (const auto& element : value.array()) {
            array.append(encodeValue(element));
        }
        return array;
    }
    case Value::Kind::Dictionary: {
        QCborMap map;
        for (auto it = value.dictionary().cbegin(); it != value.dictionary().cend(); ++it) {
            map.insert(it.key(), encodeValue(it.value()));
        }
        return tagged(af::Dictionary, map);
    }
    }
    return QCborValue(nullptr);
}
