#pragma once
// The geometry and names of the title list, without widgets: block heights,
// where each row stands, the dashed connectors between rows, the hit test of
// a press, and the names every page, title and clip takes from its place.
//
// The list is laid out top down (y grows downward) from y 10; every row is
// followed by a gap of 15. Rows are 40 (page), 35 (title) and 60 (clip and
// sub-clip) high; their content starts at x 0, 70, 120 and 170. Connectors
// run down x 30 (pages) and x 90 (titles); sub-clips get none.
//
// Pure functions over the project model; main thread only, as the model.

#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>
#include <memory>

#include "model/DataResource.h"

class DVDPageData;
class DVDTitleData;
class MediaData;
class Object;

class ListTableLayout {
public:
    ListTableLayout() = delete;

    enum class RowKind { Page, Title, Clip, SubClip };

    static constexpr double TopMargin = 10.0;
    static constexpr double RowGap = 15.0;
    static constexpr double PageRowHeight = 40.0;
    static constexpr double TitleRowHeight = 35.0;
    static constexpr double ClipRowHeight = 60.0;
    // The width below which a sub-clip row's video button would be cut off.
    static constexpr int MinimumRowWidth = 942;

    static double rowHeight(RowKind kind);
    // Where the row's content starts; the part left of it holds connectors.
    static double indent(RowKind kind);

    // Block heights: a row and its gap, with everything under it.
    static double heightOfMediaData(const MediaData& media);
    static double heightOfTitleData(const DVDTitleData& title);
    static double heightOfPage(const DVDPageData& page);
    // 10 plus every page block, summed in single precision.
    static float contentHeight(const DataResource::PageList& pages);

    // One row of the laid-out list. `model` is the page, title or clip
    // shown, valid while the tree is unchanged.
    struct Row {
        RowKind kind;
        Object* model;
        // The row's frame in the list (x 0, the list's width).
        QRectF frame;
        // The frame with its left edge at the indent.
        QRectF contentFrame() const;
    };
    // Every row in tree order (page, its titles, each title's clips, each
    // merged clip's sub-clips, then the next page), placed from y 10.
    static QList<Row> placeRows(const DataResource::PageList& pages, double width);

    // The connector segments of laid-out rows, as the list draws them: per
    // title a branch from x 30 to 70 at its middle, per clip a branch from
    // x 90 to 120, per title a spine down x 90 from its bottom to its last
    // clip's middle, per page a spine down x 30 from its bottom to its last
    // title's middle; an empty title or page gets a spine of zero length.
    static QList<QLineF> connectorSegments(const QList<Row>& rows);

    // The index of the first row whose content frame holds the point, or -1.
    static int hitRow(const QList<Row>& rows, const QPointF& point);

    // Names every page, title and clip from its place and points each
    // sub-clip back at its merged clip.
    static void nameTree(const DataResource::PageList& pages);
    // The name of a clip at `index` among its title's clips, or among its
    // merged clip's sub-clips when `isSub`.
    static QString clipName(const MediaData& media, qsizetype index, bool isSub);
};
