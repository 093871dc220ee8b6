#pragma once
// Whether the files a project plays are there and can be played: each
// clip's video file and subtitle file, each slideshow's photos and music,
// each menu page's music and each user button picture. A project whose files
// were deleted, cut short, replaced or made unreadable after it was saved
// still opens; the user is told which files are missing, their clips' rows
// show it, and production refuses to start (the burn sheet, and the
// production workflow whoever runs it) rather than leave titles, photos,
// sounds or subtitles out of the disc.
//
// A video or sound file must really hold what is played from it: its length
// as the container claims it, and its packets too (LMMedia::reachesTime),
// must reach the end of the longest clip made from it (a sound: the end of
// its kept part). A subtitle counts as long as its clip shows it: a clip
// whose chosen file is gone still holds its text (and a save writes the
// project's copy from it).
//
// Only sources that are used are looked at. missingSources(roots) looks at
// the whole project: a video file with at least one clip, a slideshow with
// at least one clip, the music of a page, a button picture, the subtitle of
// a clip. missingSources(dvd) looks at what a disc model made from the
// project (DiscModelBuilder) plays: the clips its menus' items show and
// lead to, with their sources and subtitles, the menus' music and the user
// pictures of their buttons. Any thread; the clips' media items must have
// been built (as a load does).

#include <QList>
#include <QString>
#include <memory>

#include "model/ProjectRoots.h"

class DVDLibrary;
class MediaData;

// One source that cannot be played.
struct MissingSource {
    QString kind;    // "video", "photo", "slideshow music", "page music", "button picture",
                     // "subtitle"
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
    // The same for the sources the disc model plays, in the order of its
    // menus and their items.
    static QList<MissingSource> missingSources(const DVDLibrary& dvd);

    // One line per source.
    static QString describe(const QList<MissingSource>& missing);
    // The line above those when production refuses.
    static QString refusalHeading()
    {
        return QStringLiteral("These files of the project are missing or cannot be read:");
    }

    // Sets each clip's missing-source reason (clearing it on the others), so
    // that the list shows which clips cannot be played. Main thread.
    static void markClips(const ProjectRoots& roots, const QList<MissingSource>& missing);
};
