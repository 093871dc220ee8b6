#include "listedit/ListFileDrop.h"

#include <QApplication>
#include <QDialog>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent>

#include "common/DraggedFiles.h"
#include "listedit/InsertLineView.h"
#include "listedit/ListEditViewController.h"
#include "listedit/ListTableView.h"
#include "listedit/MediaOpenPanel.h"
#include "listedit/core/ListMediaPlacement.h"
#include "model/DataResource.h"

ListFileDrop::ListFileDrop(ListTableView& list) : QObject(&list), m_list(list) {}

bool ListFileDrop::hasPlaceFor(const ListDropState& place) const
{
    const auto project = m_list.project();
    return project && ListMediaPlacement(*project).canPlace(place);
}

bool ListFileDrop::isTakingFileDrags() const
{
    if (!m_list.acceptDrops() || m_importingDrop || QApplication::activeModalWidget()) {
        return false;
    }
    if (const ListEditViewController* controller = m_list.controller()) {
        const QDialog* sheet = controller->importWindow();
        if (controller->isImporting() || (sheet && sheet->isVisible())) {
            return false;
        }
    }
    return true;
}

bool ListFileDrop::isImagePath(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    return !extension.isEmpty() && MediaOpenPanel::imageUnfilteredTypes().contains(extension);
}

void ListFileDrop::dragMoveEvent(QDragMoveEvent* event)
{
    if (!isTakingFileDrags() || DraggedFiles::localFiles(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    ListDropState state = m_list.dropState();
    const QRectF line =
        m_list.dropResolver().resolve(ListDropResolver::Variant::Media, state, event->position());
    m_list.setDropState(state);
    m_list.lineView()->setLineFrame(line);
    if (hasPlaceFor(state)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ListFileDrop::dropEvent(QDropEvent* event)
{
    const QStringList paths = DraggedFiles::localFiles(event->mimeData());
    if (paths.isEmpty() || !isTakingFileDrags() || !hasPlaceFor(m_list.dropState())) {
        event->ignore();
        m_list.resetStatus();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    addFilesToSource(paths);
}

void ListFileDrop::addFilesToSource(const QStringList& paths)
{
    if (m_importingDrop) {
        return;
    }
    m_importingDrop = true;
    const ListDropState place = m_list.dropState();
    if (ListEditViewController* controller = m_list.controller()) {
        controller->showImportWindowInMainThread();
    }
    using Clips = QList<ListMediaFactory::MadeClip>;
    auto* watcher = new QFutureWatcher<Clips>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, place] {
        const Clips made = watcher->result();
        watcher->deleteLater();
        Clips clips;
        QList<ImportRefusal> refused;
        for (const auto& one : made) {
            if (one) {
                clips.append(one);
            }
            refused.append(one.refused);
        }
        placeDroppedClips(place, clips);
        m_importingDrop = false;
        ListEditViewController::alertRefusedFiles(refused, m_list.window());
        emit m_list.dropImportFinished();
    });
    ListEditViewController* controller = m_list.controller();
    const QSizeF canvas =
        controller ? controller->discCanvasSize() : DataResource().discCanvasSize();
    watcher->setFuture(
        QtConcurrent::run([paths, canvas] { return makeDroppedClips(paths, canvas); }));
}

QList<ListMediaFactory::MadeClip> ListFileDrop::makeDroppedClips(const QStringList& paths,
                                                                 const QSizeF& canvas)
{
    // The video pass; the pictures it refuses are looked at again below.
    QList<ListMediaFactory::MadeClip> made;
    QStringList pictures;
    bool anyClip = false;
    for (const QString& path : paths) {
        auto clip = ListMediaFactory::makeMediaDataWithPath(path, canvas);
        anyClip = anyClip || bool(clip);
        if (!clip && isImagePath(path)) {
            pictures.append(path);
            clip.refused.clear();
        }
        made.append(clip);
    }
    if (anyClip) {
        for (const QString& picture : pictures) {
            made.append(ListMediaFactory::MadeClip{
                nullptr,
                nullptr,
                {{picture, QStringLiteral("pictures are added only when no video is dropped "
                                          "with them")}}});
        }
    } else if (!pictures.isEmpty()) {
        made.append(ListMediaFactory::makeMediaDataWithImagePaths(pictures, canvas));
    }
    return made;
}

void ListFileDrop::placeDroppedClips(const ListDropState& place,
                                     const QList<ListMediaFactory::MadeClip>& clips)
{
    const auto project = m_list.project();
    bool placed = false;
    if (!clips.isEmpty() && project) {
        MediaData::ClipList media;
        for (const auto& made : clips) {
            media.append(made.media);
        }
        placed = ListMediaPlacement(*project).addMediaArrayToList(place, media);
        if (placed) {
            for (const auto& made : clips) {
                ListMediaFactory::registerSourceOfMedia(*project, made);
            }
        } else {
            qWarning(
                "ListTableView: the place of the drop has gone; the dropped files are not "
                "added");
        }
    }
    if (ListEditViewController* controller = m_list.controller()) {
        controller->closeImportWindowInMainThread(placed);
    } else {
        if (placed) {
            m_list.reloadView();
        } else {
            m_list.resetStatus();
            m_list.update();
        }
        m_list.setAcceptDrops(true);
    }
}
