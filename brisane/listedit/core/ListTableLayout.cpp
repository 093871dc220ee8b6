#include "listedit/core/ListTableLayout.h"

#include "model/DVDFileSource.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

namespace {

using Kind = ListTableLayout::RowKind;

constexpr double PageLineX = 30.0;
constexpr double TitleBranchEndX = 70.0;
constexpr double ClipLineX = 90.0;
constexpr double ClipBranchEndX = 120.0;

double middle(const QRectF& frame)
{
    return frame.y() + frame.height() / 2.0;
}

QString originNameOf(const MediaData& media)
{
    const auto section = media.sectionItem();
    const auto source = section ? section->superResource() : nullptr;
    const auto file = source ? source->fileSource() : nullptr;
    return file ? file->originName() : QString();
}

}  // namespace

double ListTableLayout::rowHeight(RowKind kind)
{
    switch (kind) {
        case Kind::Page:
            return PageRowHeight;
        case Kind::Title:
            return TitleRowHeight;
        default:
            return ClipRowHeight;
    }
}

double ListTableLayout::indent(RowKind kind)
{
    switch (kind) {
        case Kind::Page:
            return 0.0;
        case Kind::Title:
            return 70.0;
        case Kind::Clip:
            return 120.0;
        case Kind::SubClip:
            return 170.0;
    }
    return 0.0;
}

double ListTableLayout::heightOfMediaData(const MediaData& media)
{
    const double block = ClipRowHeight + RowGap;
    return media.hasSubMedia() ? block * static_cast<double>(media.subMediaArray().size() + 1)
                               : block;
}

double ListTableLayout::heightOfTitleData(const DVDTitleData& title)
{
    double height = TitleRowHeight + RowGap;
    for (const auto& media : title.mediaDataArray()) {
        height += heightOfMediaData(*media);
    }
    return height;
}

double ListTableLayout::heightOfPage(const DVDPageData& page)
{
    double height = PageRowHeight + RowGap;
    for (const auto& title : page.titleDataArray()) {
        height += heightOfTitleData(*title);
    }
    return height;
}

float ListTableLayout::contentHeight(const DataResource::PageList& pages)
{
    float total = static_cast<float>(TopMargin);
    for (const auto& page : pages) {
        total += static_cast<float>(heightOfPage(*page));
    }
    return total;
}

QRectF ListTableLayout::Row::contentFrame() const
{
    const double left = indent(kind);
    return QRectF(frame.x() + left, frame.y(), frame.width() - left, frame.height());
}

QList<ListTableLayout::Row> ListTableLayout::placeRows(const DataResource::PageList& pages,
                                                       double width)
{
    QList<Row> rows;
    double y = TopMargin;
    const auto place = [&](Kind kind, Object* model) {
        const double height = rowHeight(kind);
        rows.append(Row{kind, model, QRectF(0.0, y, width, height)});
        y += height + RowGap;
    };
    for (const auto& page : pages) {
        place(Kind::Page, page.get());
        for (const auto& title : page->titleDataArray()) {
            place(Kind::Title, title.get());
            for (const auto& media : title->mediaDataArray()) {
                place(Kind::Clip, media.get());
                if (media->hasSubMedia()) {
                    for (const auto& sub : media->subMediaArray()) {
                        place(Kind::SubClip, sub.get());
                    }
                }
            }
        }
    }
    return rows;
}

QList<QLineF> ListTableLayout::connectorSegments(const QList<Row>& rows)
{
    QList<QLineF> segments;
    const Row* page = nullptr;
    const Row* title = nullptr;
    const Row* lastTitle = nullptr;
    const Row* lastClip = nullptr;
    const auto closeTitle = [&] {
        if (title) {
            const double bottom = title->frame.bottom();
            segments.append(
                QLineF(ClipLineX, bottom, ClipLineX, lastClip ? middle(lastClip->frame) : bottom));
        }
        title = nullptr;
        lastClip = nullptr;
    };
    const auto closePage = [&] {
        closeTitle();
        if (page) {
            const double bottom = page->frame.bottom();
            segments.append(QLineF(PageLineX, bottom, PageLineX,
                                   lastTitle ? middle(lastTitle->frame) : bottom));
        }
        page = nullptr;
        lastTitle = nullptr;
    };
    for (const Row& row : rows) {
        switch (row.kind) {
            case Kind::Page:
                closePage();
                page = &row;
                break;
            case Kind::Title:
                closeTitle();
                title = &row;
                lastTitle = &row;
                segments.append(
                    QLineF(PageLineX, middle(row.frame), TitleBranchEndX, middle(row.frame)));
                break;
            case Kind::Clip:
                lastClip = &row;
                segments.append(
                    QLineF(ClipLineX, middle(row.frame), ClipBranchEndX, middle(row.frame)));
                break;
            case Kind::SubClip:
                break;
        }
    }
    closePage();
    return segments;
}

int ListTableLayout::hitRow(const QList<Row>& rows, const QPointF& point)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].contentFrame().contains(point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QString ListTableLayout::clipName(const MediaData& media, qsizetype index, bool isSub)
{
    if (!isSub && media.hasSubMedia()) {
        return QStringLiteral("Merge_Media");
    }
    if (media.isImageData()) {
        return QStringLiteral("PhotoSlideshow_chapter_%1").arg(index);
    }
    const QString format = isSub ? QStringLiteral("%1_Merge_%2") : QStringLiteral("%1_chapter_%2");
    // One arg with both values: a "%1" inside the file's name stays as it is.
    return format.arg(originNameOf(media), QString::number(index));
}

void ListTableLayout::nameTree(const DataResource::PageList& pages)
{
    for (qsizetype p = 0; p < pages.size(); ++p) {
        pages[p]->setName(QStringLiteral("Menu Page_%1").arg(p));
        const auto& titles = pages[p]->titleDataArray();
        for (qsizetype t = 0; t < titles.size(); ++t) {
            titles[t]->setName(QStringLiteral("Title_%1").arg(t));
            const auto& clips = titles[t]->mediaDataArray();
            for (qsizetype c = 0; c < clips.size(); ++c) {
                const auto& media = clips[c];
                media->setName(clipName(*media, c, false));
                if (!media->hasSubMedia()) {
                    continue;
                }
                const auto& subs = media->subMediaArray();
                for (qsizetype s = 0; s < subs.size(); ++s) {
                    subs[s]->setName(clipName(*subs[s], s, true));
                    subs[s]->setSuperMediaData(media);
                }
            }
        }
    }
}
