#pragma once
// Reads an archive written by KeyedArchiver. Never trusts its input: a
// malformed archive fails as a whole with a message, an unknown class name
// decodes to null (and is left out of typed object lists), a value of the
// wrong kind for its property is ignored, and nesting depth and the number of
// values are bounded, so that a damaged or hostile archive can neither crash
// the reader nor make it grow without end.

#include <QByteArray>
#include <QCborMap>
#include <QCborValue>
#include <QHash>
#include <QList>
#include <optional>

#include "platform/Value.h"

class KeyedUnarchiver {
public:
    struct Result {
        std::optional<Value> root;  // empty when the archive was rejected
        QString error;
    };

    static constexpr int MaximumDepth = 512;
    static constexpr qsizetype MaximumObjects = 1'000'000;
    // The decode budget: values of every kind (keys, numbers, strings,
    // containers) an archive may hold. Far above any real project, low
    // enough that the decoded graph stays within a few hundred MB.
    static constexpr qsizetype MaximumValues = 2'000'000;

    // Decodes the whole graph.
    static Result unarchive(const QByteArray& data);
    // Decodes the archive's root object into an existing receiver: every key of
    // the receiver's list that the archive holds is set, the rest is left as
    // it is. All or nothing: every value is decoded first and the receiver is
    // touched only when the whole archive decoded; a malformed archive, a root
    // that is not an object, or a root of another class than the receiver's
    // fails with the reason in `error` and changes nothing.
    static bool unarchiveInto(const QByteArray& data, Object& receiver, QString* error = nullptr);

    // Within Object::initWithCoder: read keys of the object being decoded.
    bool containsValueForKey(const QString& key) const;
    Value decodeObjectForKey(const QString& key);
    bool decodeBool(const QString& key);
    qint64 decodeInt(const QString& key);
    double decodeDouble(const QString& key);
    QString decodeString(const QString& key);
    QSizeF decodeSize(const QString& key);
    QRectF decodeRect(const QString& key);
    QPointF decodePoint(const QString& key);

private:
    KeyedUnarchiver() = default;
    bool load(const QByteArray& data, QString* error);
    // Counts the archive's values and depth without building them: why the
    // archive is refused, or empty when it is within bounds.
    static QString budgetError(const QByteArray& data);
    bool decodeRootInto(Object& receiver, QString* error);
    Value decodeValue(const QCborValue& value, int depth);
    Value decodeTagged(const QCborMap& map, int depth);
    void fail(const QString& message);
    Value decodeReference(qint64 index);
    const QCborMap* currentKeys() const;

    QList<QCborMap> m_keys;            // per object: its key map
    QList<QString> m_classNames;       // per object
    QHash<qint64, ObjectPtr> m_decoded;  // objects created so far (also while decoding)
    QList<qint64> m_current;           // stack of objects being decoded
    QCborValue m_root;
    QString m_error;
    qsizetype m_values = 0;  // values decoded so far, against MaximumValues
};
