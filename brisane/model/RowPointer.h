#pragma once
// A non-owning pointer to a list row that reads as null once the row is
// destroyed, as QPointer does for a QObject. `Row` is a ListRowView role.
//
// Main thread only.

#include <memory>

template <class Row>
class RowPointer {
public:
    Row* get() const { return m_lifetime.expired() ? nullptr : m_row; }
    void reset(Row* row)
    {
        m_row = row;
        m_lifetime = row ? row->lifetime() : std::weak_ptr<const void>();
    }

private:
    Row* m_row = nullptr;
    std::weak_ptr<const void> m_lifetime;
};
