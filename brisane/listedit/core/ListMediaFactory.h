#pragma once
// Making the title list's clips, titles and pages.
//
// A clip is made in two halves so that an import can open files off the main
// thread: the make… operations open the source, cut one section over the
// whole of it and make its clip, touching nothing of the project; the
// register… step then adds the source to the project on the main thread. A
// source whose section or clip is refused is never registered, so it leaves
// no trace in the project (and no copy in a saved project).
//
// Refused: a file with the extension "vob" (any case), a source that reports
// DRM, one with neither audio nor video, one without video or not longer than
// 0.1 s (no section), and one shorter than 1 s (no clip); and pictures that
// cannot be read. Each refusal says why, for the user.

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>

#include "model/MediaData.h"

class DataResource;
class DVDPageData;
class DVDTitleData;
class SectionDataResource;
struct ListSelection;

// A file an import did not add, and why.
struct ImportRefusal {
    QString path;
    QString reason;
};

class ListMediaFactory {
public:
    // A clip made off the project, with the source that owns its section
    // until the source is registered; `refused` names the files left out
    // (the file itself when there is no clip, unreadable pictures of a
    // slideshow).
    struct MadeClip {
        MediaData::Ptr media;
        std::shared_ptr<SectionDataResource> source;
        QList<ImportRefusal> refused;
        explicit operator bool() const { return media != nullptr; }
    };

    ListMediaFactory() = delete;

    // --- Any thread: nothing of the project is touched ---
    // The clip of a section over the whole source, the section appended to
    // the source's sections; null when the source is refused (the source is
    // then left as it was). `canvas` is the menu canvas of the project's disc
    // (DataResource::discCanvasSize), the clip's output size.
    static MadeClip makeMediaDataWithResource(const std::shared_ptr<SectionDataResource>& source,
                                              const QSizeF& canvas);
    // The same over a new source of one file.
    static MadeClip makeMediaDataWithPath(const QString& path, const QSizeF& canvas);
    // The same over a new photo slideshow of the readable pictures, in the
    // given order; the others are refused.
    static MadeClip makeMediaDataWithImagePaths(const QStringList& paths, const QSizeF& canvas);

    // "<file name>: <reason>", one line per refused file.
    static QString describeRefusals(const QList<ImportRefusal>& refused);

    // --- Main thread ---
    // Adds the source of a clip made above to the project's sources.
    static void registerSourceOfMedia(DataResource& project, const MadeClip& made);
    // make… (for the project's disc) then register…: the clip, its source
    // registered; null leaves the project as it was.
    static MediaData::Ptr createMediaDataWithResource(
        DataResource& project, const std::shared_ptr<SectionDataResource>& source);
    static MediaData::Ptr createMediaDataWithPath(DataResource& project, const QString& path);
    static MediaData::Ptr createMediaDataWithImagePaths(DataResource& project,
                                                        const QStringList& paths);

    // A new title named "Title _ 0" holding the clip, the clip filed under it.
    // The caller sets the title's page and places it.
    static std::shared_ptr<DVDTitleData> createDVDTitleDataWithMedia(const MediaData::Ptr& clip);
    // Appends the title to the page's titles and makes the page its page.
    static void appendTitleToPage(const std::shared_ptr<DVDTitleData>& title,
                                  const std::shared_ptr<DVDPageData>& page);
    // A new empty page appended to the project's pages; it becomes the
    // current page.
    static std::shared_ptr<DVDPageData> addMenuPageToArray(DataResource& project,
                                                           ListSelection& selection);
};
