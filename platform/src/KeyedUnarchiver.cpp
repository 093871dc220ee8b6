#include "platform/KeyedUnarchiver.h"

#include <QCborArray>
#include <QCborParserError>
#include <QCborStreamReader>
#include <QDebug>
#include <cmath>

#include "ArchiveFormat.h"
#include "platform/ClassRegistry.h"
#include "platform/Object.h"

namespace af = archiveformat;

namespace {

// The numbers of a geometry payload; empty unless it holds exactly `count`
// finite numbers.
std::optional<QList<double>> numbers(const QCborValue& payload, qsizetype count)
{
    if (!payload.isArray()) {
        return std::nullopt;
    }
    const QCborArray array = payload.toArray();
    if (array.size() < count) {
        return std::nullopt;
    }
    QList<double> values;
    for (qsizetype i = 0; i < count; ++i) {
        if (!array.at(i).isDouble() && !array.at(i).isInteger()) {
            return std::nullopt;
        }
        const double v = array.at(i).toDouble();
        values.append(std::isfinite(v) ? v : 0.0);
    }
    return values;
}

QColor colorFrom(const QCborValue& payload)
{
    const auto v = numbers(payload, 4);
    if (!v) {
        return QColor();
    }
    auto unit = [](double x) { return std::clamp(x, 0.0, 1.0); };
    return QColor::fromRgbF(unit((*v)[0]), unit((*v)[1]), unit((*v)[2]), unit((*v)[3]));
}

}  // namespace

KeyedUnarchiver::Result KeyedUnarchiver::unarchive(const QByteArray& data)
{
    KeyedUnarchiver unarchiver;
    Result result;
    if (!unarchiver.load(data, &result.error)) {
        return result;
    }
    Value root = unarchiver.decodeValue(unarchiver.m_root, 0);
    if (!unarchiver.m_error.isEmpty()) {
        result.error = unarchiver.m_error;
        return result;
    }
    result.root = root;
    return result;
}

bool KeyedUnarchiver::unarchiveInto(const QByteArray& data, Object& receiver, QString* error)
{
    KeyedUnarchiver unarchiver;
    QString message;
    if (!unarchiver.load(data, &message) || !unarchiver.decodeRootInto(receiver, &message)) {
        if (error) {
            *error = message;
        }
        return false;
    }
    return true;
}

bool KeyedUnarchiver::decodeRootInto(Object& receiver, QString* error)
{
    const QCborMap root = m_root.toMap();
    const qint64 index = root.value(af::Payload).toInteger(-1);
    if (root.value(af::Type).toString() != af::Reference || index < 0 || index >= m_keys.size()) {
        *error = QStringLiteral("the archive's root is not an object");
        return false;
    }
    if (m_classNames[index] != receiver.className()) {
        *error = QStringLiteral("the archive holds a %1, not a %2")
                     .arg(m_classNames[index], receiver.className());
        return false;
    }
    // The receiver stands for the root object; a back-link to the root inside
    // the graph cannot be re-pointed at it without ownership, so it decodes
    // as the receiver's own shared pointer when it has one.
    m_decoded.insert(index, receiver.weak_from_this().lock());
    m_current.append(index);
    QList<std::pair<QString, Value>> values;
    for (const auto& key : receiver.allCoderKeys()) {
        if (containsValueForKey(key)) {
            values.append({key, decodeObjectForKey(key)});
        }
        if (!m_error.isEmpty()) {
            break;
        }
    }
    m_current.removeLast();
    if (!m_error.isEmpty()) {
        *error = m_error;
        return false;
    }
    for (const auto& [key, value] : values) {
        receiver.setValueForKey(value, key);
    }
    return true;
}

QString KeyedUnarchiver::budgetError(const QByteArray& data)
{
    QCborStreamReader reader(data);
    qsizetype values = 0;
    while (reader.lastError() == QCborError::NoError) {
        if (!reader.hasNext()) {
            if (reader.containerDepth() == 0) {
                break;
            }
            reader.leaveContainer();
            continue;
        }
        if (++values > MaximumValues) {
            return QStringLiteral("the archive is too large");
        }
        if (reader.isContainer()) {
            if (reader.containerDepth() >= MaximumDepth) {
                return QStringLiteral("the archive is nested too deeply");
            }
            reader.enterContainer();
        } else {
            reader.next();
        }
    }
    return {};  // a damaged stream is the parser's to report
}

bool KeyedUnarchiver::load(const QByteArray& data, QString* error)
{
    if (const QString budget = budgetError(data); !budget.isEmpty()) {
        *error = budget;
        return false;
    }
    QCborParserError parseError;
    const QCborValue document = QCborValue::fromCbor(data, &parseError);
    if (parseError.error != QCborError::NoError) {
        *error = QStringLiteral("not a readable archive: %1").arg(parseError.errorString());
        return false;
    }
    if (!document.isMap()) {
        *error = QStringLiteral("not an archive");
        return false;
    }
    const QCborMap map = document.toMap();
    if (map.value(af::Format).toString() != af::FormatName) {
        *error = QStringLiteral("not an archive of this application");
        return false;
    }
    if (map.value(af::Version).toInteger(0) > af::CurrentVersion) {
        *error = QStringLiteral("the archive was written by a newer version");
        return false;
    }
    const QCborValue objects = map.value(af::Objects);
    if (!objects.isArray() || objects.toArray().size() > MaximumObjects) {
        *error = QStringLiteral("the archive's object table is damaged");
        return false;
    }
    for (const auto& entry : objects.toArray()) {
        const QCborMap object = entry.toMap();
        if (!entry.isMap() || !object.value(af::Class).isString() ||
            !object.value(af::Keys).isMap()) {
            *error = QStringLiteral("the archive's object table is damaged");
            return false;
        }
        m_classNames.append(object.value(af::Class).toString());
        m_keys.append(object.value(af::Keys).toMap());
    }
    m_root = map.value(af::Root);
    return true;
}

Value KeyedUnarchiver::decodeReference(qint64 index)
{
    if (index < 0 || index >= m_keys.size()) {
        fail(QStringLiteral("a reference points outside the object table"));
        return Value();
    }
    if (m_decoded.contains(index)) {
        return Value(m_decoded.value(index));  // shared, or a cycle back to an object in progress
    }
    ObjectPtr object = ClassRegistry::create(m_classNames[index]);
    if (!object) {
        qWarning().noquote() << "archive: unknown class" << m_classNames[index]
                             << "decodes to nothing";
        m_decoded.insert(index, nullptr);
        return Value();
    }
    m_decoded.insert(index, object);
    m_current.append(index);
    const bool accepted = object->initWithCoder(*this);
    m_current.removeLast();
    if (!accepted) {
        m_decoded.insert(index, nullptr);
        return Value();
    }
    return Value(object);
}

Value KeyedUnarchiver::decodeValue(const QCborValue& value, int depth)
{
    if (!m_error.isEmpty()) {
        return Value();
    }
    if (depth > MaximumDepth || m_current.size() > MaximumDepth) {
        fail(QStringLiteral("the archive is nested too deeply"));
        return Value();
    }
    if (++m_values > MaximumValues) {
        fail(QStringLiteral("the archive is too large"));
        return Value();
    }
    switch (value.type()) {
    case QCborValue::Null:
    case QCborValue::Undefined:
        return Value();
    case QCborValue::False:
        return Value(false);
    case QCborValue::True:
        return Value(true);
    case QCborValue::Integer:
        return Value(static_cast<qint64>(value.toInteger()));
    case QCborValue::Double:
        return Value(value.toDouble());
    case QCborValue::String:
        return Value(value.toString());
    case QCborValue::Array: {
        Value::Array array;
        for (const auto& element : value.toArray()) {
            array.append(decodeValue(element, depth + 1));
        }
        return Value(array);
    }
    case QCborValue::Map:
        return decodeTagged(value.toMap(), depth);
    default:
        return Value();  // kinds this archive never writes
    }
}

Value KeyedUnarchiver::decodeTagged(const QCborMap& map, int depth)
{
    const QString type = map.value(af::Type).toString();
    const QCborValue payload = map.value(af::Payload);
    if (type == af::Reference) {
        if (!payload.isInteger()) {
            fail(QStringLiteral("a reference is damaged"));
            return Value();
        }
        return decodeReference(payload.toInteger());
    }
    if (type == af::Dictionary) {
        Value::Dictionary dictionary;
        const QCborMap entries = payload.toMap();
        for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
            dictionary.insert(it.key().toString(), decodeValue(it.value(), depth + 1));
        }
        return Value(dictionary);
    }
    if (type == af::Rect) {
        if (auto v = numbers(payload, 4)) {
            return Value(QRectF((*v)[0], (*v)[1], (*v)[2], (*v)[3]));
        }
    } else if (type == af::Size) {
        if (auto v = numbers(payload, 2)) {
            return Value(QSizeF((*v)[0], (*v)[1]));
        }
    } else if (type == af::Point) {
        if (auto v = numbers(payload, 2)) {
            return Value(QPointF((*v)[0], (*v)[1]));
        }
    } else if (type == af::Image) {
        QImage image;
        if (payload.isByteArray() && !payload.toByteArray().isEmpty()) {
            image.loadFromData(payload.toByteArray(), "PNG");
        }
        return Value(image);
    } else if (type == af::Color) {
        return Value(colorFrom(payload));
    } else if (type == af::Font) {
        QFont font;
        font.fromString(payload.toString());
        return Value(font);
    } else if (type == af::Shadow) {
        if (auto v = numbers(payload, 3)) {
            ::Shadow shadow;
            shadow.offset = QPointF((*v)[0], (*v)[1]);
            shadow.blurRadius = (*v)[2];
            shadow.color = colorFrom(payload.toArray().at(3));
            return Value(shadow);
        }
    } else if (type == af::Data) {
        return Value(payload.toByteArray());
    }
    return Value();  // unknown or damaged values read as nothing
}

void KeyedUnarchiver::fail(const QString& message)
{
    if (m_error.isEmpty()) {
        m_error = message;
    }
}

const QCborMap* KeyedUnarchiver::currentKeys() const
{
    if (m_current.isEmpty()) {
        return nullptr;
    }
    return &m_keys[m_current.last()];
}

bool KeyedUnarchiver::containsValueForKey(const QString& key) const
{
    const QCborMap* keys = currentKeys();
    return keys && keys->contains(key);
}

Value KeyedUnarchiver::decodeObjectForKey(const QString& key)
{
    const QCborMap* keys = currentKeys();
    if (!keys) {
        return Value();
    }
    return decodeValue(keys->value(key), static_cast<int>(m_current.size()));
}

bool KeyedUnarchiver::decodeBool(const QString& key)
{
    return decodeObjectForKey(key).toBool().value_or(false);
}

qint64 KeyedUnarchiver::decodeInt(const QString& key)
{
    return decodeObjectForKey(key).toInt().value_or(0);
}

double KeyedUnarchiver::decodeDouble(const QString& key)
{
    return decodeObjectForKey(key).toDouble().value_or(0.0);
}

QString KeyedUnarchiver::decodeString(const QString& key)
{
    return decodeObjectForKey(key).toString().value_or(QString());
}

QSizeF KeyedUnarchiver::decodeSize(const QString& key)
{
    return decodeObjectForKey(key).toSize().value_or(QSizeF());
}

QRectF KeyedUnarchiver::decodeRect(const QString& key)
{
    return decodeObjectForKey(key).toRect().value_or(QRectF());
}

QPointF KeyedUnarchiver::decodePoint(const QString& key)
{
    return decodeObjectForKey(key).toPoint().value_or(QPointF());
}
