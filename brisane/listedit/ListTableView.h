#pragma once
// The tree of the title list inside the list screen's scroll area: a row for
// every page, under it a row for each of its titles, under each title a row
// for each clip, and under a merged clip a row for each of its members,
// joined by dashed connectors. A reload names every entry from its place,
// makes the rows it has not met yet, refreshes and places them, sizes the
// list to its content (never less than the scroll area's height) and reports
// the change to the list editor.
//
// Rows follow the list's width; below the width a member's row needs for
// its buttons the scroll area scrolls sideways. Page rows are owned by their
// pages; title and clip rows by this list, which deletes a row once its
// entry has gone (at the next reload) and all of them when it goes itself.
// A row whose entry leaves the list is hidden and taken out of the list, and
// comes back at the next reload while its entry is listed.
//
// The removals of entries are forwarded to ListRemoval with the editor's
// selection.
//
// Drags. A row pressed (not on an edit button) and then moved with the left
// button held is dragged: its picture follows the pointer in a frameless
// window, the drop place is worked out on every move (ListDropResolver for
// the selection's kind) and shown by the insert line, and the release moves
// the entry there (ListDragCommit), or deletes it when released outside the
// scroll area, then reloads. Desktop drags of local files show the place a
// clip would go and are taken only where there is one; the dropped files are
// opened on a worker behind the import sheet and their clips placed on the
// main thread, at the place the drop named (ListFileDrop).
//
// Main thread only, except where an operation says otherwise.

#include <QImage>
#include <QLabel>
#include <QLineF>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "listedit/core/ListDropResolver.h"
#include "listedit/core/ListMediaFactory.h"

#include "listedit/ListEditViewController.h"
#include "listedit/ListFileDrop.h"
#include "listedit/core/ListDropState.h"
#include "listedit/core/ListTableLayout.h"
#include "model/MediaData.h"

class DVDPageData;
class DVDTitleData;
class InsertLineView;
class ListDataRowView;
class Object;
class QMimeData;
class QScrollArea;

class ListTableView : public QWidget {
    Q_OBJECT
public:
    explicit ListTableView(QWidget* parent = nullptr);
    ~ListTableView() override;

    // The list editor this list belongs to; not owned.
    ListEditViewController* controller() const { return m_controller.data(); }
    void setController(ListEditViewController* controller) { m_controller = controller; }
    // The open project's media side, as the list editor has it; null
    // without a list editor or an open project.
    std::shared_ptr<DataResource> project() const;
    // The project's pages; empty without an open project.
    DataResource::PageList pageArray() const;

    // --- Reload ---
    // updateTableFrame, flushAllItemView, placement, resetStatus, the
    // editor's listSourceHasChanged, redraw and keyboard focus.
    void reloadView();
    // Stores the content height and makes the list at least that tall and
    // at least as tall as the scroll area's view.
    void updateTableFrame();
    // Names every entry, makes missing rows, puts rows back into the list
    // and refreshes them.
    void flushAllItemView();
    static void flushView(QWidget* view, double originY);
    double maxHeightOfFrame() const { return maxHeightOfFrame_; }

    // The laid-out rows and connectors of the last reload (rows without
    // their entries).
    const QList<ListTableLayout::Row>& laidOutRows() const { return m_rows; }
    const QList<QLineF>& connectorSegments() const { return m_connectors; }
    // Whether the point (list coordinates) lies in a row's content.
    bool isMouseClickHittedSubView(const QPointF& point) const;

    // --- Drag state ---
    bool isClickWndBtn() const { return isClickWndBtn_; }
    void setIsClickWndBtn(bool on) { isClickWndBtn_ = on; }
    bool isOnlyMove() const { return isOnlyMove_; }
    void setIsOnlyMove(bool on) { isOnlyMove_ = on; }
    bool donotRemoveOld() const { return donotRemoveOld_; }
    void setDonotRemoveOld(bool on) { donotRemoveOld_ = on; }
    qint32 insertOrMerge() const { return m_drop.insertOrMerge; }
    void setInsertOrMerge(qint32 value) { m_drop.insertOrMerge = value; }
    qint32 insertedType() const { return m_drop.insertedType; }
    void setInsertedType(qint32 value) { m_drop.insertedType = value; }
    quint64 dragToType() const { return m_drop.dragToType; }
    void setDragToType(quint64 value) { m_drop.dragToType = value; }
    std::shared_ptr<DVDPageData> dragToPage() const { return m_drop.dragToPage.lock(); }
    void setDragToPage(const std::shared_ptr<DVDPageData>& page) { m_drop.dragToPage = page; }
    std::shared_ptr<DVDTitleData> dragToTitle() const { return m_drop.dragToTitle.lock(); }
    void setDragToTitle(const std::shared_ptr<DVDTitleData>& title) { m_drop.dragToTitle = title; }
    MediaData::Ptr dragToMedia() const { return m_drop.dragToMedia.lock(); }
    void setDragToMedia(const MediaData::Ptr& media) { m_drop.dragToMedia = media; }
    MediaData::Ptr dragToSubMedia() const { return m_drop.dragToSubMedia.lock(); }
    void setDragToSubMedia(const MediaData::Ptr& media) { m_drop.dragToSubMedia = media; }
    // A DVDPageData, DVDTitleData or MediaData, or ListDropState::firstPage().
    std::shared_ptr<Object> insertUnderData() const { return m_drop.insertUnderData.lock(); }
    void setInsertUnderData(const std::shared_ptr<Object>& data) { m_drop.insertUnderData = data; }
    MediaData::Ptr mergeMedia() const { return m_drop.mergeMedia.lock(); }
    void setMergeMedia(const MediaData::Ptr& media) { m_drop.mergeMedia = media; }
    // All of the drop state at once.
    const ListDropState& dropState() const { return m_drop; }
    void setDropState(const ListDropState& state) { m_drop = state; }
    // The marker of the drop place; hidden while there is none.
    InsertLineView* lineView() const { return lineView_; }
    QImage mouseDraggedImage() const { return mouseDraggedImage_; }
    void setMouseDraggedImage(const QImage& image) { mouseDraggedImage_ = image; }
    // Clears dragToType and insertOrMerge and hides the insert line; the
    // other drop fields stay.
    void resetStatus();
    // Takes desktop file drops again.
    void reRegisterDraggedTypes() { setAcceptDrops(true); }

    // --- The list's own drags ---
    // The drag's data type; the data under it is empty.
    static const QString& listDragNoneItemType();
    // A press on a row (or an edit button of a row), after the row selected
    // its entry: a left press in a row's content arms a drag, unless it came
    // from an edit button (isClickWndBtn, cleared here).
    void rowMouseDown(ListDataRowView* row, QMouseEvent* event);
    // Moves and the release after a press, from the pressed row (or the list).
    // The first move with the left button held starts the drag.
    void rowMouseDragged(QMouseEvent* event);
    void rowMouseUp(QMouseEvent* event);
    // Feedback at a pointer position on the screen: the drop place of the
    // selection's kind, the insert line, the cursor and the picture.
    void draggingMovedToPoint(const QPointF& screenPoint);
    // The end of a drag at a pointer position on the screen (the operation
    // is not used): deleted outside the scroll area, moved inside, then the
    // list reloads.
    void doOwnDragEndedAt(const QPointF& screenPoint, quint64 operation = 0);
    // Whether a row is being dragged.
    bool isOwnDragging() const { return m_ownDrag == OwnDrag::Dragging; }
    // The drag's data, and the window with the row's picture that follows
    // the pointer; null when no drag runs.
    const QMimeData* ownDragData() const { return m_ownDragData.get(); }
    QLabel* dragPicture() const { return m_dragPicture.data(); }
    // Puts the rows of a moved title (its row, its clips' rows and their
    // sub-clips' rows), or of a moved page with its titles, back in the list.
    void reAddTitleSubViewToSuperView(const std::shared_ptr<DVDTitleData>& title);
    void reAddPageSubViewsToSuperView(const std::shared_ptr<DVDPageData>& page);

    // --- Drop place steps on the drop state (ListDropResolver) ---
    void flushDragToTypeForMediaWithPoint(const QPointF& point);
    void updateDragMediaInformationWithPoint(const QPointF& point);
    void flushInsertLineViewForDragMedia();
    void flushDragToTypeForTitleWithPoint(const QPointF& point);
    void updateDragTitleInformationWithPoint(const QPointF& point);
    void flushInsertLineViewForDragTitle();
    void flushDragToTypeForPageWithPoint(const QPointF& point);
    void updateDragPageInformationWithPoint(const QPointF& point);
    void flushInsertLineViewForDragPage();
    // The resolver over the list as laid out now.
    ListDropResolver dropResolver() const;

    // --- Desktop file drops (ListFileDrop) ---
    // Opens the files on a worker behind the import sheet and places their
    // clips where the drop state names now.
    void addFilesToSource(const QStringList& paths) { m_fileDrop->addFilesToSource(paths); }
    static QList<ListMediaFactory::MadeClip> makeDroppedClips(const QStringList& paths,
                                                              const QSizeF& canvas)
    {
        return ListFileDrop::makeDroppedClips(paths, canvas);
    }
    bool isImportingDrop() const { return m_fileDrop->isImportingDrop(); }
    static bool isImagePath(const QString& path) { return ListFileDrop::isImagePath(path); }
    bool isTakingFileDrags() const { return m_fileDrop->isTakingFileDrags(); }

    // --- Placing clips (the chapter editor and desktop drops) ---
    // Puts the clips where the drop state says (see ListMediaPlacement),
    // then reloads the list. Any thread: the work runs on the main thread
    // and the call returns once it is done. Nothing is placed, and a warning
    // logged, when the drop state names no listed place. The import sheet is
    // not touched.
    void addMediaArrayToList(const QList<MediaData::Ptr>& clips);
    // Makes the clips the last sub-clips of mergeMedia (no copy of it is
    // made) and marks it merged, then reloads the list. Any thread, as above.
    void clipEditControllerMergeMediaArrayToList(const QList<MediaData::Ptr>& clips);

    // --- Removal (ListRemoval with the editor's selection) ---
    void removeSelectedMedia(const MediaData::Ptr& media);
    void removeMediaSectionInMedia(const MediaData::Ptr& media);
    void removeSelectedTitle(const std::shared_ptr<DVDTitleData>& title);
    void removeSelectedTitleWhenMovePlace(const std::shared_ptr<DVDTitleData>& title);
    void removeSelectedPage(const std::shared_ptr<DVDPageData>& page);
    void removePage(const std::shared_ptr<DVDPageData>& page);
    void removeSelectedPageWhenMovePlace(const std::shared_ptr<DVDPageData>& page);
    // Removes everything, then reloads.
    void removeAllWhenCloseProject();

    // The dashed connector pen: width 1, (0.2, 1, 0.2), dashes of 2.
    static QPen connectorPen();

signals:
    // A drop's files have been opened and placed (or skipped).
    void dropImportFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    ListDataRowView* rowOf(Object* entry) const;
    void adopt(ListDataRowView* row);
    void deleteRowsOfGoneEntries();
    template <typename Remove>
    void withRemoval(Remove remove);
    void beginOwnDrag(const QPointF& screenPoint);
    void endDragPicture(bool poof);
    void setDragCursor(bool inside);
    void restoreCursor();
    QScrollArea* enclosingScrollArea() const;
    bool isInsideScrollArea(const QPointF& screenPoint) const;

    QPointer<ListEditViewController> m_controller;
    // Title and clip rows this list made, with their entries.
    struct OwnedRow {
        std::weak_ptr<Object> entry;
        QPointer<ListDataRowView> row;
    };
    QList<OwnedRow> m_ownedRows;
    // Whether the entry still points at the row.
    static bool showsItsEntry(const OwnedRow& owned);
    QList<ListTableLayout::Row> m_rows;
    QList<QLineF> m_connectors;

    double maxHeightOfFrame_ = 0.0;
    bool isClickWndBtn_ = false;
    bool isOnlyMove_ = false;
    bool donotRemoveOld_ = false;
    ListDropState m_drop;
    InsertLineView* lineView_;
    QImage mouseDraggedImage_;

    enum class OwnDrag { Idle, Pressed, Dragging };
    OwnDrag m_ownDrag = OwnDrag::Idle;
    // Where the pointer held the dragged row, from the row's top left.
    QPointF m_grabOffset;
    QPointer<QLabel> m_dragPicture;
    std::unique_ptr<QMimeData> m_ownDragData;
    bool m_cursorOverridden = false;
    ListFileDrop* m_fileDrop;  // a child
};
