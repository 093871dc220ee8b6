#pragma once
// XML property lists as the template bundle stores its pages: dictionaries,
// arrays, strings, integers, reals, booleans, data and dates (read as
// strings). Reading never trusts the file: anything malformed fails as a whole.

#include <QString>
#include <optional>

#include "platform/Value.h"

class DLPropertyList {
public:
    // The file's root value; empty when the file is missing or not a readable
    // XML property list.
    static std::optional<Value> read(const QString& path);
    // Writes `root` as an XML property list; the file is replaced only when
    // the new one is complete. Values of kinds a property list cannot hold
    // are left out.
    static bool write(const QString& path, const Value& root);
};
