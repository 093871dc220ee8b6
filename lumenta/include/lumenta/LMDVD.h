#pragma once
// An authored DVD-Video (a folder holding VIDEO_TS, the VIDEO_TS folder
// itself, or an ISO image) read through libdvdread.

#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>

#include "platform/Value.h"

class Q_DECL_EXPORT LMDVD {
public:
    using Ptr = std::shared_ptr<LMDVD>;

    // Null when the path holds no readable DVD-Video.
    static Ptr open(const QString& path);

    // One entry per title of the disc: a dictionary with "title" (number from
    // 1), "titleSet", "chapters", "angles", "duration" (seconds) and
    // "chapterStarts" (seconds from the title's start, one per chapter).
    QList<Value> titleSources() const { return m_titles; }

private:
    QList<Value> m_titles;
};
