#pragma once
// Two guarded list lookups that answer null instead of failing at the ends.

#include <QList>
#include <memory>

class DLFunc {
public:
    // The element at `index`, or null when the index is negative or past the end.
    template <typename T>
    static T arraySafeObjectAtIndex(const QList<T>& array, qint64 index)
    {
        if (index < 0 || index >= array.size()) {
            return T();
        }
        return array.at(static_cast<qsizetype>(index));
    }

    // The element `offset` places after `object` (before it for a negative
    // offset); null when the object is not in the list or the place is outside it.
    template <typename T>
    static T arrayObjectOffset(const QList<T>& array, const T& object, qint64 offset)
    {
        const qsizetype position = array.indexOf(object);
        if (position < 0 || offset > array.size() || offset < -array.size()) {
            return T();
        }
        return arraySafeObjectAtIndex(array, static_cast<qint64>(position) + offset);
    }
};
