#pragma once
// Whether the files an open project plays are there and can be played: each
// clip's video file, each slideshow's photos and music, each menu page's
// music and each user button picture. A project whose files were deleted,
// cut short, replaced or made unreadable after it was saved still opens; the
// user is told which files are missing, their clips' rows show it, and
// production refuses to start rather than leave titles, photos or sounds
// out of the disc.
//
// Only sources the project uses are looked at: a video file with at least
// one clip, a slideshow with at least one clip, the music of a page, a
// button picture. Any thread; the clips' media items must have been built
// (as a load does).

#include <QList>
#include <QString>
#include <memory>

#include "shell/core/ProjectDocument.h"

class MediaData;

// One source that cannot be played.
struct MissingSource {
    QString kind;    // "video", "photo", "slideshow music", "page music", "button picture"
    QString name;    // what the user knows it by
    QString path;    // the file the project reads
    QString reason;  // why it cannot be played
    QList<std::shared_ptr<MediaData>> clips;  // the clips that play it

    // `kind "name": reason (path)`.
    QString description() const;
};

class ProjectSourceCheck {
public:
    ProjectSourceCheck() = delete;

    // Every used source of the project that is missing or cannot be played,
    // in the order of the saved objects.
    static QList<MissingSource> missingSources(const ProjectRoots& roots);

    // One line per source.
    static QString describe(const QList<MissingSource>& missing);

    // Sets each clip's missing-source reason (clearing it on the others), so
    // that the list shows which clips cannot be played. Main thread.
    static void markClips(const ProjectRoots& roots, const QList<MissingSource>& missing);
};
