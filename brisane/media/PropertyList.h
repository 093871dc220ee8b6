#pragma once
// Reader of XML property lists (the "plist" files of the transition bundle).
// Supports dict, array, string, real, integer, true, false, date (as a string)
// and data. Never trusts its input: a malformed file fails as a whole.

#include <QString>
#include <optional>

#include "platform/Value.h"

class PropertyList {
public:
    // The root dictionary of the file at `path`; empty (and logged) when the
    // file cannot be read, is malformed or its root is not a dictionary.
    static std::optional<Value::Dictionary> readDictionary(const QString& path);

    // The same from the bytes of a property list.
    static std::optional<Value::Dictionary> dictionaryFromData(const QByteArray& data,
                                                               QString* error = nullptr);
};
