#pragma once
// The number of titles of an authored disc, as the failure texts of
// production print it: a DVD folder or an ISO image read through Lumenta's
// LMDVD; 0 for anything unreadable (a random file, a missing path). Any
// thread.

#include <QString>

class DVDTitleCount {
public:
    DVDTitleCount() = delete;

    static long titleCountAtPath(const QString& path);
};
