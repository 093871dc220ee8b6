#include "production/DVDTitleCount.h"

#include "lumenta/LMDVD.h"

long DVDTitleCount::titleCountAtPath(const QString& path)
{
    const LMDVD::Ptr dvd = LMDVD::open(path);
    return dvd ? static_cast<long>(dvd->titleSources().size()) : 0;
}
