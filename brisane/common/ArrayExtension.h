#pragma once
// Bounds-safe neighbour lookups in lists. An element's position is its first
// match by ==, so shared pointers are found by identity. Instead of failing at
// the ends, or for an element that is not in the list, each lookup answers a
// default-constructed element: null for pointers and Values.

#include <QList>
#include <QtGlobal>
#include <limits>

// Element 0; null when the list is empty.
template <typename T>
T firstObject(const QList<T>& list)
{
    return list.isEmpty() ? T{} : list.first();
}

// The element at `index` when 0 <= index < size, else null.
template <typename T>
T safeObjectAtIndex(const QList<T>& list, qint64 index)
{
    return index >= 0 && index < list.size() ? list.at(index) : T{};
}

// The element `offset` places after the first position of `item` (before it
// for a negative offset); null when `item` is absent or the offset leaves the
// list.
template <typename T>
T object(const QList<T>& list, const T& item, qint64 offset)
{
    const qint64 position = list.indexOf(item);
    if (position < 0 || offset > std::numeric_limits<qint64>::max() - position) {
        return T{};
    }
    return safeObjectAtIndex(list, position + offset);
}

// The element after the first position of `item`; null at the end or when
// `item` is absent.
template <typename T>
T nextObject(const QList<T>& list, const T& item)
{
    return object(list, item, 1);
}

// The element before the first position of `item`; null at position 0 or when
// `item` is absent.
template <typename T>
T previousObject(const QList<T>& list, const T& item)
{
    return object(list, item, -1);
}

// previousObject when `isPre`, else nextObject.
template <typename T>
T previousNextObject(const QList<T>& list, const T& item, bool isPre)
{
    return isPre ? previousObject(list, item) : nextObject(list, item);
}
