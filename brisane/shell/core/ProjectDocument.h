#pragma once
// A project folder on disk: "project.data" (the keyed archive of the two
// roots) beside "dvd-file", "slideshow-photo" and "slideshow-audio", which
// hold a copy (hard link where the volume allows) of every file the project
// uses. No windows: the delegate drives it and tests call it directly.
//
// The saved objects, visited in this order by a save and by the re-pointing
// after a save or a load: for each imported source its file source, then its
// slideshow; for each menu page with music, the music's file source; for
// each user button picture, its file source; for each clip with a subtitle,
// the subtitle's file source (MediaData::subtitleFileSource). A subtitle whose
// chosen file is gone while its clip still shows it is kept: its copy is
// written from the text the clip holds (MediaData::keepSubtitleText).
//
// A save never touches the previous folder until the new one is complete:
// the whole project is written into a fresh sibling folder and read back,
// then swapped in by renames (see saveAndReplace). A load decodes into local
// objects and refuses anything that is not a complete project.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "model/ProjectRoots.h"

class ProjectDocument {
public:
    static inline const QString DataFileName = QStringLiteral("project.data");
    static inline const QString MediaKey = QStringLiteral("DataResourceData");
    static inline const QString DiscKey = QStringLiteral("DVDData");

    // The project folder's extension, without the dot.
    static QString documentExtension();
    // The folder's name without its extension ("Holiday.brisane" -> "Holiday").
    static QString projectName(const QString& folder);
    // A chosen path as a project folder: the "project.data" inside a folder
    // stands for the folder. Trailing separators are dropped.
    static QString projectFolderForChosenPath(const QString& chosen);

    // Writes the project into `folder` (made when missing): every saved
    // object's copies, then "project.data" atomically. False with `error`
    // set when a copy of an existing file or the archive could not be made;
    // the folder is then as it was before (a folder made here is removed).
    // A volume without room for the copies that cannot be hard links and
    // the archive is refused before anything is written, and a save that
    // ran out of room says that the disk is full and how much it needs.
    static bool saveDocumentAtPath(const ProjectRoots& roots, const QString& folder,
                                   QString* error);
    // The whole save into `destination`: a fresh sibling folder in the same
    // parent is written and its "project.data" read back; then the previous
    // folder (if any) is renamed aside, the new one renamed into place and
    // the old one removed. On any failure the previous folder is left as it
    // was and nothing else remains. The roots' sources are not re-pointed.
    static bool saveAndReplace(const ProjectRoots& roots, const QString& destination,
                               QString* error);
    // Points every saved object at its copy in `folder` (not checked).
    static void loadFileSourceWithProject(const ProjectRoots& roots, const QString& folder);
    // Decodes "project.data" of `folder` into new roots; nullopt with `error`
    // when the file is missing, unreadable, or lacks either root.
    static std::optional<ProjectRoots> readDocumentAtPath(const QString& folder, QString* error);
    // readDocumentAtPath, then the sources re-pointed, the clips' and page
    // music's media items rebuilt and every page item's edits re-applied.
    static std::optional<ProjectRoots> loadDocumentAtPath(const QString& folder, QString* error);

    static QByteArray archivedProject(const ProjectRoots& roots);

    // Replaces how the archive is written (tests make it fail); null
    // restores the atomic file write.
    using ArchiveWriter = std::function<bool(const QString& path, const QByteArray& data)>;
    static void setArchiveWriter(ArchiveWriter writer);
};
