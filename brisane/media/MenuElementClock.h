#pragma once
// What the menu source tells each element of its page when its clock moves
// or its export starts and ends. Page elements that keep a timeline of their
// own adopt this role; other elements are left alone.

#include <QtGlobal>

class MenuElementClock {
public:
    virtual ~MenuElementClock() = default;
    virtual void setCurrentTime(qint64 time) = 0;
    virtual void setExportMovie(bool on) = 0;
    virtual void flushOperation() = 0;
};
