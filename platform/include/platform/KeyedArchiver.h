#pragma once
// Writes an object graph into a keyed archive. Each object is recorded once
// with its class name and one entry per key; an object reached again is
// written as a reference, so shared objects and cycles survive.
//
// The byte form is CBOR: {"format": "brisane-archive", "version": 1,
// "root": <value>, "objects": [{"class": name, "keys": {key: <value>}}]}.

#include <QByteArray>
#include <QCborMap>
#include <QCborValue>
#include <QHash>
#include <QList>

#include "platform/Value.h"

class KeyedArchiver {
public:
    // The archive of a whole graph rooted at `root` (any value kind).
    static QByteArray archivedData(const Value& root);

    // Within Object::encodeWithCoder: write one key of the object being encoded.
    void encodeObject(const Value& value, const QString& key);
    void encodeBool(bool value, const QString& key) { encodeObject(Value(value), key); }
    void encodeInt(qint64 value, const QString& key) { encodeObject(Value(value), key); }
    void encodeDouble(double value, const QString& key) { encodeObject(Value(value), key); }
    void encodeString(const QString& value, const QString& key) { encodeObject(Value(value), key); }
    void encodeSize(const QSizeF& value, const QString& key) { encodeObject(Value(value), key); }
    void encodeRect(const QRectF& value, const QString& key) { encodeObject(Value(value), key); }
    void encodePoint(const QPointF& value, const QString& key) { encodeObject(Value(value), key); }

private:
    KeyedArchiver() = default;
    QCborValue encodeValue(const Value& value);
    QCborValue encodeReference(const ObjectPtr& object);

    QHash<const Object*, qsizetype> m_indexOf;
    QList<QCborMap> m_objects;
    QList<qsizetype> m_current;  // stack of objects being encoded
};
