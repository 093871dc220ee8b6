#pragma once
// XML property lists, as the template and transition bundles and the format
// tables store them: dictionaries, arrays, strings, integers, reals, booleans,
// data and dates (read as strings). Reading never trusts the file: anything
// malformed fails as a whole, and size and nesting are bounded.

#include <QByteArray>
#include <QString>
#include <optional>

#include "platform/Value.h"

class PropertyList {
public:
    // The root value of the file or bytes; empty when missing or malformed,
    // with the reason in `error`.
    static std::optional<Value> read(const QString& path, QString* error = nullptr);
    static std::optional<Value> fromData(const QByteArray& data, QString* error = nullptr);

    // The root dictionary of the file at `path`; empty (and logged) when the
    // file cannot be read, is malformed or its root is not a dictionary.
    static std::optional<Value::Dictionary> readDictionary(const QString& path);
    static std::optional<Value::Dictionary> dictionaryFromData(const QByteArray& data,
                                                               QString* error = nullptr);

    // Writes `root` as an XML property list; the file is replaced only when
    // the new one is complete. Values a property list cannot hold are left out.
    static bool write(const QString& path, const Value& root);
};
