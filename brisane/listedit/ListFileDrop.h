#pragma once
// The desktop file drops of the title list: local files dragged over the
// list show the place a clip would go (the clip drop of ListDropResolver)
// and are taken only where there is one and while the list takes file drags.
// Dropped files are opened on a worker behind the import sheet: one clip per
// usable video, or, when none gives a clip, one slideshow clip of the
// pictures among them; the clips go, on the main thread, to the place the
// drop named. Nothing is added, and no source left in the project, when no
// clip comes of them or the place has gone meanwhile. Refused files are
// named, with why, in one alert sheet once the import sheet has closed.
//
// Made and owned by its list, which forwards its drag events and its
// operations of the same names. Main thread, except where an operation says
// otherwise.

#include <QList>
#include <QObject>
#include <QStringList>

#include "listedit/core/ListDropState.h"
#include "listedit/core/ListMediaFactory.h"

class ListTableView;
class QDragMoveEvent;
class QDropEvent;

class ListFileDrop : public QObject {
    Q_OBJECT
public:
    explicit ListFileDrop(ListTableView& list);

    // The drag events of the list's local files.
    void dragMoveEvent(QDragMoveEvent* event);
    void dropEvent(QDropEvent* event);

    // Opens the files and places their clips (see the class comment).
    void addFilesToSource(const QStringList& paths);
    // The clips of a drop's files, made as above, with the refused files
    // (any thread).
    static QList<ListMediaFactory::MadeClip> makeDroppedClips(const QStringList& paths,
                                                              const QSizeF& canvas);
    // Whether a drop's files are being opened and placed.
    bool isImportingDrop() const { return m_importingDrop; }
    // Whether the path names a picture by its extension (any letter case).
    static bool isImagePath(const QString& path);
    // Whether file drags are taken now: not while an import runs, the import
    // sheet or another modal window is up.
    bool isTakingFileDrags() const;

private:
    bool hasPlaceFor(const ListDropState& place) const;
    void placeDroppedClips(const ListDropState& place,
                           const QList<ListMediaFactory::MadeClip>& clips);

    ListTableView& m_list;
    bool m_importingDrop = false;
};
