#pragma once
// Base of the application's archived model classes: the key-list scheme of
// Object plus reading and writing a whole object as a file.

#include <QString>

#include "platform/Object.h"

// Object is a virtual base so that a model class can also adopt the Corvane
// protocols, which derive from Object too, and still have one root.
class CodingBase : public virtual Object {
public:
    // Writes this object's archive to `path`. With `atomically` the file is
    // replaced only once the new one is complete; a failed write leaves the old
    // file as it was. Answers whether the file was written.
    bool writeToFile(const QString& path, bool atomically = true) const;

    // Reads a file written by writeToFile into this (already initialised)
    // object: keys present in the file are set, others keep their values. A
    // missing, unreadable, special (not a regular file), oversized or damaged
    // file, or one that holds another class, changes nothing and answers
    // false (logged, except for a missing file).
    bool initWithContentsOfFile(const QString& path);
};
