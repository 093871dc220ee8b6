#include "listedit/core/ListDropResolver.h"

#include "listedit/core/ListTreeQuery.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"

namespace {

constexpr double TopMargin = ListTableLayout::TopMargin;
constexpr double Gap = ListTableLayout::RowGap;
// The middle of the gap below a row.
constexpr double HalfGap = Gap / 2.0;
constexpr double ClipIndent = 120.0;
constexpr double SubClipIndent = 170.0;

}  // namespace

ListDropResolver::ListDropResolver(const DataResource::PageList& pages, double width,
                                   double maxHeightOfFrame)
    : m_pages(pages), m_width(width), m_maxHeightOfFrame(maxHeightOfFrame)
{
    for (const ListTableLayout::Row& row : ListTableLayout::placeRows(pages, width)) {
        m_rows.insert(row.model, row);
    }
}

QRectF ListDropResolver::resolve(Variant variant, ListDropState& state, const QPointF& point,
                                 const Object* hiddenMerge) const
{
    switch (variant) {
        case Variant::Media:
            flushDragToTypeForMediaWithPoint(state, point);
            updateDragMediaInformationWithPoint(state, point);
            return insertLineFrameForDragMedia(state, hiddenMerge);
        case Variant::Title:
            flushDragToTypeForTitleWithPoint(state, point);
            updateDragTitleInformationWithPoint(state, point);
            return insertLineFrameForDragTitle(state);
        case Variant::Page:
            flushDragToTypeForPageWithPoint(state, point);
            updateDragPageInformationWithPoint(state, point);
            return insertLineFrameForDragPage(state);
    }
    return {};
}

// ---- clips and file drops

void ListDropResolver::flushDragToTypeForMediaWithPoint(ListDropState& state,
                                                        const QPointF& point) const
{
    if (flushOutsideRows(state, point)) {
        return;
    }
    for (const auto& page : m_pages) {
        if (contains(virtualContentFrameForView(page.get()), point)) {
            state.dragToType = ListDropState::PageRow;
            state.dragToPage = page;
        }
        for (const auto& title : page->titleDataArray()) {
            if (contains(virtualContentFrameForView(title.get()), point)) {
                state.dragToType = ListDropState::TitleRow;
                state.dragToTitle = title;
            }
            for (const auto& clip : title->mediaDataArray()) {
                if (contains(virtualContentFrameForView(clip.get()), point)) {
                    state.dragToType = ListDropState::ClipRow;
                    state.dragToMedia = clip;
                }
                if (!clip->hasSubMedia()) {
                    continue;
                }
                for (const auto& sub : clip->subMediaArray()) {
                    if (contains(virtualContentFrameForView(sub.get()), point)) {
                        state.dragToType = ListDropState::SubClipRow;
                        state.dragToSubMedia = sub;
                    }
                }
            }
        }
    }
}

void ListDropResolver::updateDragMediaInformationWithPoint(ListDropState& state,
                                                           const QPointF& point) const
{
    const double x = point.x();
    const double y = point.y();
    switch (state.dragToType) {
        case ListDropState::PageRow:
            if (const auto page = state.dragToPage.lock()) {
                state.insertUnder(ListDropState::TitleLevel, page);
            }
            break;
        case ListDropState::TitleRow:
            if (const auto title = state.dragToTitle.lock()) {
                state.insertUnder(ListDropState::ClipLevel, title);
            }
            break;
        case ListDropState::ClipRow: {
            const auto clip = state.dragToMedia.lock();
            if (!clip) {
                break;
            }
            if (y <= contentFrame(clip.get()).bottom()) {
                state.mergeInto(clip);
                break;
            }
            qint32 level = ListDropState::TitleLevel;
            if (clip->hasSubMedia()) {
                level = ListDropState::SubClipLevel;
            } else if (x > ClipIndent || !ListTreeQuery::isLastClipOfTitle(*clip)) {
                level = ListDropState::ClipLevel;
            }
            state.insertUnder(level, clip);
            break;
        }
        case ListDropState::SubClipRow: {
            const auto sub = state.dragToSubMedia.lock();
            if (!sub) {
                break;
            }
            const QRectF row = rowFrame(sub.get());
            if (y <= row.top() + row.height() / 2.0) {
                if (const auto before = ListTreeQuery::preMediaBeforeSubMediaData(sub)) {
                    state.insertUnder(ListDropState::SubClipLevel, before);
                }
                break;
            }
            qint32 level = ListDropState::SubClipLevel;
            if (ListTreeQuery::isLastSubClip(*sub)) {
                if (x > ClipIndent && x < SubClipIndent) {
                    level = ListDropState::ClipLevel;
                } else if (x < ClipIndent) {
                    level = ListDropState::TitleLevel;
                }
            }
            state.insertUnder(level, sub);
            break;
        }
        case ListDropState::BelowLastRow:
            if (const auto last = ListTreeQuery::finalMediaForAll(m_pages)) {
                state.insertUnder(ListDropState::TitleLevel, last);
            }
            break;
        default:
            break;
    }
}

QRectF ListDropResolver::insertLineFrameForDragMedia(const ListDropState& state,
                                                     const Object* hiddenMerge) const
{
    if (state.insertOrMerge == ListDropState::Merge) {
        const auto clip = state.mergeMedia.lock();
        if (!clip || clip.get() == hiddenMerge) {
            return {};
        }
        return contentFrame(clip.get());
    }
    if (state.insertOrMerge != ListDropState::Insert) {
        return {};
    }
    const auto anchor = state.insertUnderData.lock();
    const bool isClip = std::dynamic_pointer_cast<MediaData>(anchor) != nullptr;
    bool anchored = isClip;
    switch (state.insertedType) {
        case ListDropState::PageLevel:
        case ListDropState::TitleLevel:
            anchored = isClip || std::dynamic_pointer_cast<DVDPageData>(anchor) != nullptr;
            break;
        case ListDropState::ClipLevel:
            anchored = isClip || std::dynamic_pointer_cast<DVDTitleData>(anchor) != nullptr;
            break;
        case ListDropState::SubClipLevel:
            break;
        default:
            anchored = false;
            break;
    }
    return insertLineBelow(state.insertedType, anchored ? rowFrame(anchor.get()) : QRectF(),
                           HalfGap);
}

// ---- titles

void ListDropResolver::flushDragToTypeForTitleWithPoint(ListDropState& state,
                                                        const QPointF& point) const
{
    if (flushOutsideRows(state, point)) {
        return;
    }
    for (const auto& page : m_pages) {
        if (contains(virtualContentFrameForView(page.get()), point)) {
            state.dragToType = ListDropState::PageRow;
            state.dragToPage = page;
        }
        for (const auto& title : page->titleDataArray()) {
            if (contains(virtualContentFrameForMergeTitle(*title), point)) {
                state.dragToType = ListDropState::TitleBlock;
                state.dragToTitle = title;
            }
        }
    }
}

void ListDropResolver::updateDragTitleInformationWithPoint(ListDropState& state,
                                                           const QPointF& point) const
{
    std::shared_ptr<Object> anchor;
    switch (state.dragToType) {
        case ListDropState::PageRow:
            anchor = state.dragToPage.lock();
            break;
        case ListDropState::TitleBlock: {
            const auto title = state.dragToTitle.lock();
            const auto page = title ? title->superPage() : nullptr;
            if (!page) {
                break;
            }
            const QRectF block = virtualContentFrameForMergeTitle(*title);
            const qsizetype at = page->titleDataArray().indexOf(title);
            if (point.y() >= block.top() + block.height() * 0.5) {
                anchor = title;
            } else if (at > 0) {
                anchor = page->titleDataArray().at(at - 1);
            } else {
                anchor = page;
            }
            break;
        }
        case ListDropState::BelowLastRow:
            if (!m_pages.isEmpty()) {
                const auto& last = m_pages.last();
                anchor = last->titleDataArray().isEmpty()
                             ? std::static_pointer_cast<Object>(last)
                             : std::static_pointer_cast<Object>(last->titleDataArray().last());
            }
            break;
        default:
            break;
    }
    if (anchor) {
        state.insertUnder(ListDropState::TitleLevel, anchor);
    }
}

QRectF ListDropResolver::insertLineFrameForDragTitle(const ListDropState& state) const
{
    if (state.insertOrMerge != ListDropState::Insert ||
        state.insertedType != ListDropState::TitleLevel) {
        return {};
    }
    const auto anchor = state.insertUnderData.lock();
    if (const auto page = std::dynamic_pointer_cast<DVDPageData>(anchor)) {
        return insertLineBelow(ListDropState::TitleLevel, rowFrame(page.get()), HalfGap);
    }
    if (const auto title = std::dynamic_pointer_cast<DVDTitleData>(anchor)) {
        return insertLineBelow(ListDropState::TitleLevel, virtualContentFrameForMergeTitle(*title),
                               -HalfGap);
    }
    return {};
}

// ---- pages

void ListDropResolver::flushDragToTypeForPageWithPoint(ListDropState& state,
                                                       const QPointF& point) const
{
    if (flushOutsideRows(state, point)) {
        return;
    }
    for (const auto& page : m_pages) {
        if (contains(virtualContentFrameForMergePage(*page), point)) {
            state.dragToType = ListDropState::PageBlock;
            state.dragToPage = page;
        }
    }
}

void ListDropResolver::updateDragPageInformationWithPoint(ListDropState& state,
                                                          const QPointF& point) const
{
    std::shared_ptr<Object> anchor;
    switch (state.dragToType) {
        case ListDropState::AboveFirstRow:
            anchor = ListDropState::firstPage();
            break;
        case ListDropState::PageBlock: {
            const auto page = state.dragToPage.lock();
            const qsizetype at = page ? m_pages.indexOf(page) : -1;
            if (at < 0) {
                break;
            }
            const QRectF block = virtualContentFrameForMergePage(*page);
            const double height = block.height() - Gap;
            if (point.y() >= block.top() + height * 0.5) {
                anchor = page;
            } else if (at > 0) {
                anchor = m_pages.at(at - 1);
            } else {
                anchor = ListDropState::firstPage();
            }
            break;
        }
        case ListDropState::BelowLastRow:
            if (!m_pages.isEmpty()) {
                anchor = m_pages.last();
            }
            break;
        default:
            break;
    }
    if (anchor) {
        state.insertUnder(ListDropState::PageLevel, anchor);
    } else {
        // Beside the list, or a page that has gone: no place to drop on.
        state.insertOrMerge = ListDropState::NoTarget;
    }
}

QRectF ListDropResolver::insertLineFrameForDragPage(const ListDropState& state) const
{
    if (state.insertOrMerge != ListDropState::Insert ||
        state.insertedType != ListDropState::PageLevel) {
        return {};
    }
    const auto anchor = state.insertUnderData.lock();
    if (ListDropState::isFirstPage(anchor)) {
        const bool atTop = state.dragToType == ListDropState::AboveFirstRow ||
                           state.dragToType == ListDropState::PageBlock;
        return atTop ? insertLine(ListDropState::PageLevel, TopMargin / 2.0) : QRectF();
    }
    if (const auto page = std::dynamic_pointer_cast<DVDPageData>(anchor)) {
        return insertLineBelow(ListDropState::PageLevel, virtualContentFrameForMergePage(*page),
                               -HalfGap);
    }
    return {};
}

// ---- frames

const ListTableLayout::Row* ListDropResolver::findRow(const Object* entry) const
{
    const auto found = m_rows.constFind(entry);
    return found == m_rows.cend() ? nullptr : &*found;
}

QRectF ListDropResolver::rowFrame(const Object* entry) const
{
    const ListTableLayout::Row* row = findRow(entry);
    return row ? row->frame : QRectF();
}

QRectF ListDropResolver::contentFrame(const Object* entry) const
{
    const ListTableLayout::Row* row = findRow(entry);
    return row ? row->contentFrame() : QRectF();
}

QRectF ListDropResolver::virtualContentFrameForView(const Object* entry) const
{
    const QRectF frame = rowFrame(entry);
    return frame.isNull() ? frame : frame.adjusted(0.0, 0.0, 0.0, Gap);
}

QRectF ListDropResolver::virtualContentFrameForMergeTitle(const DVDTitleData& title) const
{
    return blockFrame(&title, ListTableLayout::heightOfTitleData(title));
}

QRectF ListDropResolver::virtualContentFrameForMergePage(const DVDPageData& page) const
{
    return blockFrame(&page, ListTableLayout::heightOfPage(page));
}

QRectF ListDropResolver::blockFrame(const Object* entry, double height) const
{
    QRectF frame = rowFrame(entry);
    if (!frame.isNull()) {
        frame.setHeight(height);
    }
    return frame;
}

bool ListDropResolver::contains(const QRectF& frame, const QPointF& point)
{
    return !frame.isNull() && frame.left() <= point.x() && point.x() < frame.right() &&
           frame.top() <= point.y() && point.y() < frame.bottom();
}

double ListDropResolver::lineX(qint32 level)
{
    switch (level) {
        case ListDropState::PageLevel:
            return 0.0;
        case ListDropState::TitleLevel:
            return 70.0;
        case ListDropState::ClipLevel:
            return ClipIndent;
        case ListDropState::SubClipLevel:
            return SubClipIndent;
        default:
            return 0.0;
    }
}

QRectF ListDropResolver::insertLine(qint32 level, double y) const
{
    const double x = lineX(level);
    return QRectF(x, y, m_width - x, 1.0);
}

QRectF ListDropResolver::insertLineBelow(qint32 level, const QRectF& frame, double offset) const
{
    return frame.isNull() ? QRectF() : insertLine(level, frame.bottom() + offset);
}

bool ListDropResolver::flushOutsideRows(ListDropState& state, const QPointF& point) const
{
    if (point.y() < TopMargin) {
        state.dragToType = ListDropState::AboveFirstRow;
        return true;
    }
    if (point.y() > m_maxHeightOfFrame) {
        state.dragToType = ListDropState::BelowLastRow;
        return true;
    }
    return false;
}
