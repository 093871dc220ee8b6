#include "listedit/ListTableView.h"

#include <QPainter>
#include <QScrollArea>
#include <cmath>

#include "listedit/DVDPageDataView.h"
#include "listedit/ListEditViewController.h"
#include "listedit/ListMediaPlacement.h"
#include "listedit/ListRemoval.h"
#include "listedit/MediaDataView.h"
#include "listedit/TitleDataView.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/ModelServices.h"

namespace {

using Kind = ListTableLayout::RowKind;

DVDPageDataView* pageRowOf(const DVDPageData& page)
{
    return dynamic_cast<DVDPageDataView*>(page.dvdPageView().get());
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

}  // namespace

ListTableView::ListTableView(QWidget* parent) : QWidget(parent), lineView_(new QWidget(this))
{
    setObjectName(QStringLiteral("ListTableView"));
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(true);
    setMinimumWidth(ListTableLayout::MinimumRowWidth);
    resetStatus();
}

ListTableView::~ListTableView()
{
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

DataResource::PageList ListTableView::pageArray() const
{
    const auto project = ModelServices::current()->dateResource();
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
        auto* row = qobject_cast<MediaDataView*>(media->mediaDataView());
        if (!row) {
            row = new MediaDataView(this);
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
            auto made = std::shared_ptr<DVDPageDataView>(new DVDPageDataView(this));
            made->setGeometry(0, -40, width(), 40);
            page->setDvdPageView(made);
            made->setPage(page.get());
            pageRow = made.get();
        }
        adopt(pageRow);
        pageRow->initAllPageControls();
        for (const auto& title : page->titleDataArray()) {
            auto* titleRow = qobject_cast<TitleDataView*>(title->titleDataView());
            if (!titleRow) {
                titleRow = new TitleDataView(this);
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
    lineView_->setGeometry(QRect());
    lineView_->update();
}

void ListTableView::rowMouseDown(ListDataRowView*, QMouseEvent*)
{
    if (isClickWndBtn_) {
        // A press on an edit button is a click: it selects, never drags.
        isClickWndBtn_ = false;
    }
}

void ListTableView::addMediaArrayToList(const QList<MediaData::Ptr>& clips)
{
    ListEditViewController::performBlockOnMainThread([this, &clips] {
        const auto project = ModelServices::current()->dateResource();
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
        const auto project = ModelServices::current()->dateResource();
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
    const auto project = ModelServices::current()->dateResource();
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
        painter.drawLine(segment);
    }
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
        return qobject_cast<ListDataRowView*>(title->titleDataView());
    }
    if (auto* media = dynamic_cast<MediaData*>(entry)) {
        return qobject_cast<ListDataRowView*>(media->mediaDataView());
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

void ListTableView::deleteRowsOfGoneEntries()
{
    for (qsizetype i = m_ownedRows.size() - 1; i >= 0; --i) {
        const OwnedRow& owned = m_ownedRows[i];
        if (!owned.row) {
            m_ownedRows.removeAt(i);
        } else if (owned.entry.expired()) {
            owned.row->removeFromSuperview();
            owned.row->deleteLater();
            m_ownedRows.removeAt(i);
        }
    }
}
