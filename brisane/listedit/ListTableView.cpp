#include "listedit/ListTableView.h"

#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QVariantAnimation>
#include <cmath>

#include "common/DraggedFiles.h"
#include "common/widgets/ViewExtention.h"
#include "listedit/DVDPageDataView.h"
#include "listedit/InsertLineView.h"
#include "listedit/ListEditViewController.h"
#include "listedit/ListFileDrop.h"
#include "listedit/MediaDataView.h"
#include "listedit/TitleDataView.h"
#include "listedit/core/ListDragCommit.h"
#include "listedit/core/ListMediaPlacement.h"
#include "listedit/core/ListRemoval.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"

namespace {

using Kind = ListTableLayout::RowKind;

DVDPageDataView* pageRowOf(const DVDPageData& page)
{
    return dynamic_cast<DVDPageDataView*>(page.dvdPageView().get());
}

// The list's own rows of a title and a clip; null when the entry has none or
// another kind of row.
TitleDataView* titleRowOf(const DVDTitleData& title)
{
    return dynamic_cast<TitleDataView*>(title.titleDataView());
}

MediaDataView* clipRowOf(const MediaData& media)
{
    return dynamic_cast<MediaDataView*>(media.mediaDataView());
}

// The scroll area's view the list stands in, or null.
QWidget* enclosingViewport(const QWidget* list)
{
    for (QWidget* w = list->parentWidget(); w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            return area->viewport();
        }
    }
    return nullptr;
}

// The cursor over a place where a released row goes away: an arrow with a
// small puff of smoke beside it.
QCursor disappearingItemCursor()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::white);
    const QPointF arrow[] = {{1, 1}, {1, 17}, {5, 13}, {8, 20}, {10, 19}, {7, 12}, {12, 12}};
    painter.drawPolygon(arrow, 7);
    QPainterPath puff;
    for (const QRectF& ball : {QRectF(12, 18, 9, 9), QRectF(17, 14, 10, 10), QRectF(22, 19, 9, 9),
                               QRectF(16, 21, 10, 10)}) {
        puff.addEllipse(ball);
    }
    painter.setBrush(QColor(235, 235, 235));
    painter.drawPath(puff.simplified());
    painter.end();
    return QCursor(picture, 1, 1);
}

}  // namespace

ListTableView::ListTableView(QWidget* parent)
    : QWidget(parent),
      lineView_(new InsertLineView(this, this)),
      m_fileDrop(new ListFileDrop(*this))
{
    setObjectName(QStringLiteral("ListTableView"));
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(true);
    setMinimumWidth(ListTableLayout::MinimumRowWidth);
    resetStatus();
}

ListTableView::~ListTableView()
{
    restoreCursor();
    delete m_dragPicture.data();
    // Page rows belong to their pages and outlive the list; the list's own
    // rows go with it, and their entries' row pointers become null.
    const QObjectList rows = children();
    for (QObject* child : rows) {
        if (auto* row = qobject_cast<DVDPageDataView*>(child)) {
            row->removeFromSuperview();
        }
    }
    for (const OwnedRow& owned : std::as_const(m_ownedRows)) {
        delete owned.row.data();
    }
}

std::shared_ptr<DataResource> ListTableView::project() const
{
    return m_controller ? m_controller->project() : nullptr;
}

DataResource::PageList ListTableView::pageArray() const
{
    const auto project = this->project();
    return project ? project->dvdPageArray() : DataResource::PageList();
}

void ListTableView::reloadView()
{
    updateTableFrame();
    flushAllItemView();
    m_rows = ListTableLayout::placeRows(pageArray(), width());
    for (ListTableLayout::Row& row : m_rows) {
        if (ListDataRowView* view = rowOf(row.model)) {
            flushView(view, row.frame.y());
        }
        row.model = nullptr;  // kept for hit tests only
    }
    m_connectors = ListTableLayout::connectorSegments(m_rows);
    resetStatus();
    if (m_controller) {
        m_controller->listSourceHasChanged();
    }
    update();
    setFocus();
}

void ListTableView::updateTableFrame()
{
    const float total = ListTableLayout::contentHeight(pageArray());
    maxHeightOfFrame_ = total;
    const QWidget* viewport = enclosingViewport(this);
    const int content = static_cast<int>(std::ceil(total));
    setMinimumHeight(content);
    resize(width(), std::max(content, viewport ? viewport->height() : 0));
}

void ListTableView::flushAllItemView()
{
    deleteRowsOfGoneEntries();
    const DataResource::PageList pages = pageArray();
    ListTableLayout::nameTree(pages);
    const auto clipRow = [this](const MediaData::Ptr& media) {
        MediaDataView* row = clipRowOf(*media);
        if (!row) {
            row = new MediaDataView(this, this);
            row->setGeometry(0, -60, width(), 60);
            media->setMediaDataView(row);
            row->setMedia(media);
            m_ownedRows.append(OwnedRow{media, row});
        }
        adopt(row);
        row->initAllMediaControls();
    };
    for (const auto& page : pages) {
        DVDPageDataView* pageRow = pageRowOf(*page);
        if (!pageRow) {
            auto made = std::shared_ptr<DVDPageDataView>(new DVDPageDataView(this, this));
            made->setGeometry(0, -40, width(), 40);
            page->setDvdPageView(made);
            made->setPage(page.get());
            pageRow = made.get();
        }
        adopt(pageRow);
        pageRow->initAllPageControls();
        for (const auto& title : page->titleDataArray()) {
            TitleDataView* titleRow = titleRowOf(*title);
            if (!titleRow) {
                titleRow = new TitleDataView(this, this);
                titleRow->setGeometry(0, -35, width(), 35);
                title->setTitleDataView(titleRow);
                titleRow->setTitle(title);
                m_ownedRows.append(OwnedRow{title, titleRow});
            }
            adopt(titleRow);
            titleRow->initAllTitleControls();
            for (const auto& media : title->mediaDataArray()) {
                clipRow(media);
                if (media->hasSubMedia()) {
                    for (const auto& sub : media->subMediaArray()) {
                        clipRow(sub);
                    }
                }
            }
        }
    }
}

void ListTableView::flushView(QWidget* view, double originY)
{
    view->move(view->x(), static_cast<int>(std::lround(originY)));
}

bool ListTableView::isMouseClickHittedSubView(const QPointF& point) const
{
    return ListTableLayout::hitRow(m_rows, point) >= 0;
}

void ListTableView::resetStatus()
{
    m_drop.reset();
    lineView_->setLineFrame(QRectF());
}

// ---- own drags

const QString& ListTableView::listDragNoneItemType()
{
    static const QString type = QStringLiteral("private.ListDragNoneItemType");
    return type;
}

void ListTableView::rowMouseDown(ListDataRowView* row, QMouseEvent* event)
{
    m_ownDrag = OwnDrag::Idle;
    if (!event) {
        return;
    }
    const QPointF point = mapFromGlobal(event->globalPosition());
    if (!isMouseClickHittedSubView(point)) {
        return;
    }
    if (isClickWndBtn_) {
        // A press on an edit button is a click: it selects, never drags.
        isClickWndBtn_ = false;
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    lineView_->raise();
    m_grabOffset = row ? point - QPointF(row->pos()) : QPointF();
    m_ownDrag = OwnDrag::Pressed;
}

void ListTableView::rowMouseDragged(QMouseEvent* event)
{
    if (m_ownDrag == OwnDrag::Idle) {
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        // The release went elsewhere; this press is over.
        if (m_ownDrag == OwnDrag::Dragging) {
            doOwnDragEndedAt(event->globalPosition());
        }
        m_ownDrag = OwnDrag::Idle;
        return;
    }
    if (m_ownDrag == OwnDrag::Pressed) {
        beginOwnDrag(event->globalPosition());
    }
    if (m_ownDrag == OwnDrag::Dragging) {
        draggingMovedToPoint(event->globalPosition());
    }
}

void ListTableView::rowMouseUp(QMouseEvent* event)
{
    const bool dragging = m_ownDrag == OwnDrag::Dragging;
    m_ownDrag = OwnDrag::Idle;
    if (dragging && event->button() == Qt::LeftButton) {
        doOwnDragEndedAt(event->globalPosition());
    } else if (dragging) {
        m_ownDrag = OwnDrag::Dragging;
    }
}

void ListTableView::beginOwnDrag(const QPointF& screenPoint)
{
    const auto entry = m_controller ? m_controller->selectedData() : nullptr;
    ListDataRowView* row = rowOf(entry.get());
    if (!row || row->parentWidget() != this) {
        m_ownDrag = OwnDrag::Idle;
        return;
    }
    m_ownDragData.reset(ViewExtention::draggingItemWithType(listDragNoneItemType(), QByteArray()));
    auto* picture =
        new QLabel(window(), Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
    picture->setObjectName(QStringLiteral("ListDragPicture"));
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture->setAttribute(Qt::WA_ShowWithoutActivating);
    picture->setAttribute(Qt::WA_TranslucentBackground);
    picture->setAttribute(Qt::WA_DeleteOnClose);
    const QImage image = mouseDraggedImage_.isNull() ? row->grab().toImage() : mouseDraggedImage_;
    picture->setPixmap(QPixmap::fromImage(image));
    picture->resize(row->size());
    picture->move((screenPoint - m_grabOffset).toPoint());
    picture->show();
    m_dragPicture = picture;
    m_ownDrag = OwnDrag::Dragging;
}

void ListTableView::draggingMovedToPoint(const QPointF& screenPoint)
{
    const QPointF point = mapFromGlobal(screenPoint);
    resetStatus();
    const ListDropResolver resolver = dropResolver();
    const auto entry = m_controller ? m_controller->selectedData() : nullptr;
    switch (m_controller ? m_controller->selectedType() : ListSelection::Nothing) {
        case ListSelection::Clip:
            lineView_->setLineFrame(
                resolver.resolve(ListDropResolver::Variant::Media, m_drop, point, entry.get()));
            break;
        case ListSelection::Title:
            lineView_->setLineFrame(
                resolver.resolve(ListDropResolver::Variant::Title, m_drop, point));
            break;
        case ListSelection::Page:
            lineView_->setLineFrame(
                resolver.resolve(ListDropResolver::Variant::Page, m_drop, point));
            break;
        default:
            break;
    }
    setDragCursor(isInsideScrollArea(screenPoint));
    if (m_dragPicture) {
        m_dragPicture->move((screenPoint - m_grabOffset).toPoint());
    }
}

void ListTableView::doOwnDragEndedAt(const QPointF& screenPoint, quint64)
{
    const bool inside = isInsideScrollArea(screenPoint);
    endDragPicture(!inside);
    restoreCursor();
    m_ownDrag = OwnDrag::Idle;
    m_ownDragData.reset();
    const auto project = this->project();
    if (!project || !m_controller) {
        qWarning("ListTableView: no open project or no list editor; the drag changes nothing");
        reloadView();
        return;
    }
    ListDragCommit commit(*project, m_controller->selection());
    if (!inside) {
        commit.commitOutside();
    } else {
        isOnlyMove_ = true;
        donotRemoveOld_ = false;
        const ListDragCommit::Result result = commit.commitInside(m_drop);
        donotRemoveOld_ = !result.changed;
        if (result.movedPage) {
            reAddPageSubViewsToSuperView(result.movedPage);
        }
        if (result.movedTitle) {
            reAddTitleSubViewToSuperView(result.movedTitle);
        }
        isOnlyMove_ = false;
    }
    reloadView();
}

void ListTableView::reAddTitleSubViewToSuperView(const std::shared_ptr<DVDTitleData>& title)
{
    if (!title) {
        return;
    }
    const auto readd = [this](ListDataRowView* row) {
        if (row) {
            adopt(row);
        }
    };
    readd(titleRowOf(*title));
    for (const auto& clip : title->mediaDataArray()) {
        readd(clipRowOf(*clip));
        for (const auto& sub : clip->subMediaArray()) {
            readd(clipRowOf(*sub));
        }
    }
}

void ListTableView::reAddPageSubViewsToSuperView(const std::shared_ptr<DVDPageData>& page)
{
    if (!page) {
        return;
    }
    if (DVDPageDataView* row = pageRowOf(*page)) {
        adopt(row);
    }
    for (const auto& title : page->titleDataArray()) {
        reAddTitleSubViewToSuperView(title);
    }
}

void ListTableView::endDragPicture(bool poof)
{
    QLabel* picture = m_dragPicture.data();
    m_dragPicture = nullptr;
    if (!picture) {
        return;
    }
    if (!poof) {
        picture->close();
        return;
    }
    // The row goes up in smoke where it was let go: its picture fades out.
    auto* fade = new QVariantAnimation(picture);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    fade->setDuration(250);
    connect(fade, &QVariantAnimation::valueChanged, picture,
            [picture](const QVariant& value) { picture->setWindowOpacity(value.toDouble()); });
    connect(fade, &QVariantAnimation::finished, picture, &QWidget::close);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void ListTableView::setDragCursor(bool inside)
{
    const QCursor cursor = inside ? QCursor(Qt::ArrowCursor) : disappearingItemCursor();
    if (m_cursorOverridden) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        m_cursorOverridden = true;
    }
}

void ListTableView::restoreCursor()
{
    if (m_cursorOverridden) {
        QGuiApplication::restoreOverrideCursor();
        m_cursorOverridden = false;
    }
}

QScrollArea* ListTableView::enclosingScrollArea() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            return area;
        }
    }
    return nullptr;
}

bool ListTableView::isInsideScrollArea(const QPointF& screenPoint) const
{
    const QWidget* area = enclosingScrollArea();
    if (!area) {
        area = this;
    }
    return QRectF(area->rect()).contains(area->mapFromGlobal(screenPoint));
}

// ---- drop place steps

ListDropResolver ListTableView::dropResolver() const
{
    return ListDropResolver(pageArray(), width(), maxHeightOfFrame_);
}

void ListTableView::flushDragToTypeForMediaWithPoint(const QPointF& point)
{
    dropResolver().flushDragToTypeForMediaWithPoint(m_drop, point);
}

void ListTableView::updateDragMediaInformationWithPoint(const QPointF& point)
{
    dropResolver().updateDragMediaInformationWithPoint(m_drop, point);
}

void ListTableView::flushInsertLineViewForDragMedia()
{
    // Over the clip an own drag carries, a merge shows no outline.
    const auto carried = isOwnDragging() && m_controller ? m_controller->selectedData() : nullptr;
    lineView_->setLineFrame(dropResolver().insertLineFrameForDragMedia(m_drop, carried.get()));
}

void ListTableView::flushDragToTypeForTitleWithPoint(const QPointF& point)
{
    dropResolver().flushDragToTypeForTitleWithPoint(m_drop, point);
}

void ListTableView::updateDragTitleInformationWithPoint(const QPointF& point)
{
    dropResolver().updateDragTitleInformationWithPoint(m_drop, point);
}

void ListTableView::flushInsertLineViewForDragTitle()
{
    lineView_->setLineFrame(dropResolver().insertLineFrameForDragTitle(m_drop));
}

void ListTableView::flushDragToTypeForPageWithPoint(const QPointF& point)
{
    dropResolver().flushDragToTypeForPageWithPoint(m_drop, point);
}

void ListTableView::updateDragPageInformationWithPoint(const QPointF& point)
{
    dropResolver().updateDragPageInformationWithPoint(m_drop, point);
}

void ListTableView::flushInsertLineViewForDragPage()
{
    lineView_->setLineFrame(dropResolver().insertLineFrameForDragPage(m_drop));
}

// ---- desktop file drops (ListFileDrop)

void ListTableView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DraggedFiles::localFiles(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ListTableView::dragMoveEvent(QDragMoveEvent* event)
{
    m_fileDrop->dragMoveEvent(event);
}

void ListTableView::dragLeaveEvent(QDragLeaveEvent* event)
{
    resetStatus();
    update();
    event->accept();
}

void ListTableView::dropEvent(QDropEvent* event)
{
    m_fileDrop->dropEvent(event);
}

void ListTableView::addMediaArrayToList(const QList<MediaData::Ptr>& clips)
{
    ListEditViewController::performBlockOnMainThread([this, &clips] {
        const auto project = this->project();
        if (!project || !ListMediaPlacement(*project).addMediaArrayToList(m_drop, clips)) {
            qWarning("ListTableView: the list has no place for %lld clips; none placed",
                     static_cast<long long>(clips.size()));
        }
        reloadView();
    });
}

void ListTableView::clipEditControllerMergeMediaArrayToList(const QList<MediaData::Ptr>& clips)
{
    ListEditViewController::performBlockOnMainThread([this, &clips] {
        const auto project = this->project();
        if (!project ||
            !ListMediaPlacement(*project).mergeMediaArrayIntoMedia(mergeMedia(), clips)) {
            qWarning("ListTableView: the clip to merge into is not a listed clip; nothing merged");
        }
        reloadView();
    });
}

template <typename Remove>
void ListTableView::withRemoval(Remove remove)
{
    const auto project = this->project();
    if (!project || !m_controller) {
        qWarning("ListTableView: no open project or no list editor; nothing removed");
        return;
    }
    ListRemoval removal(*project, m_controller->selection());
    removal.setIsOnlyMove(isOnlyMove_);
    remove(removal);
}

void ListTableView::removeSelectedMedia(const MediaData::Ptr& media)
{
    withRemoval([&](ListRemoval& r) { r.removeSelectedMedia(media); });
}

void ListTableView::removeMediaSectionInMedia(const MediaData::Ptr& media)
{
    withRemoval([&](ListRemoval& r) { r.removeMediaSectionInMedia(media); });
}

void ListTableView::removeSelectedTitle(const std::shared_ptr<DVDTitleData>& title)
{
    withRemoval([&](ListRemoval& r) { r.removeSelectedTitle(title); });
}

void ListTableView::removeSelectedTitleWhenMovePlace(const std::shared_ptr<DVDTitleData>& title)
{
    withRemoval([&](ListRemoval& r) { r.removeSelectedTitleWhenMovePlace(title); });
}

void ListTableView::removeSelectedPage(const std::shared_ptr<DVDPageData>& page)
{
    withRemoval([&](ListRemoval& r) { r.removeSelectedPage(page); });
}

void ListTableView::removePage(const std::shared_ptr<DVDPageData>& page)
{
    withRemoval([&](ListRemoval& r) { r.removePage(page); });
}

void ListTableView::removeSelectedPageWhenMovePlace(const std::shared_ptr<DVDPageData>& page)
{
    withRemoval([&](ListRemoval& r) { r.removeSelectedPageWhenMovePlace(page); });
}

void ListTableView::removeAllWhenCloseProject()
{
    withRemoval([](ListRemoval& r) { r.removeAllWhenCloseProject(); });
    reloadView();
}

QPen ListTableView::connectorPen()
{
    QPen pen(QColor::fromRgbF(0.2f, 1.0f, 0.2f, 1.0f), 1.0);
    pen.setDashPattern({2.0, 2.0});
    pen.setDashOffset(0.0);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void ListTableView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(connectorPen());
    // Half-pixel offset puts a one-point line on one pixel column.
    painter.translate(0.5, 0.5);
    for (const QLineF& segment : std::as_const(m_connectors)) {
        // The spine of a page or title without children has no length; a
        // stroke of no length would still leave a dot.
        if (!segment.isNull()) {
            painter.drawLine(segment);
        }
    }
}

void ListTableView::mouseMoveEvent(QMouseEvent* event)
{
    rowMouseDragged(event);
    QWidget::mouseMoveEvent(event);
}

void ListTableView::mouseReleaseEvent(QMouseEvent* event)
{
    rowMouseUp(event);
    QWidget::mouseReleaseEvent(event);
}

void ListTableView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (QObject* child : children()) {
        if (auto* row = qobject_cast<ListDataRowView*>(child)) {
            row->resize(width(), row->height());
        }
    }
    for (ListTableLayout::Row& row : m_rows) {
        row.frame.setWidth(width());
    }
}

ListDataRowView* ListTableView::rowOf(Object* entry) const
{
    if (auto* page = dynamic_cast<DVDPageData*>(entry)) {
        return pageRowOf(*page);
    }
    if (auto* title = dynamic_cast<DVDTitleData*>(entry)) {
        return titleRowOf(*title);
    }
    if (auto* media = dynamic_cast<MediaData*>(entry)) {
        return clipRowOf(*media);
    }
    return nullptr;
}

void ListTableView::adopt(ListDataRowView* row)
{
    if (row->parentWidget() != this) {
        row->setParent(this);
    }
    if (row->width() != width()) {
        row->resize(width(), row->height());
    }
    row->show();
}

bool ListTableView::showsItsEntry(const OwnedRow& owned)
{
    // A moved clip leaves its sub-clips to its copy, which makes rows of its
    // own for them; the old rows then show nothing.
    const auto entry = owned.entry.lock();
    if (const auto* title = dynamic_cast<const DVDTitleData*>(entry.get())) {
        return titleRowOf(*title) == owned.row.data();
    }
    if (const auto* media = dynamic_cast<const MediaData*>(entry.get())) {
        return clipRowOf(*media) == owned.row.data();
    }
    return true;
}

void ListTableView::deleteRowsOfGoneEntries()
{
    for (qsizetype i = m_ownedRows.size() - 1; i >= 0; --i) {
        const OwnedRow& owned = m_ownedRows[i];
        if (!owned.row) {
            m_ownedRows.removeAt(i);
        } else if (owned.entry.expired() || !showsItsEntry(owned)) {
            owned.row->removeFromSuperview();
            owned.row->deleteLater();
            m_ownedRows.removeAt(i);
        }
    }
}
