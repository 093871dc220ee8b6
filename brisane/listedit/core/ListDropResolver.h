#pragma once
// Where a drag over the title list would land, worked out from the list's
// tree and the frames of its rows, in three steps per kind of drag: find the
// kind of row under the pointer, turn it into a drop target, and place the
// marker (a line where new rows would go in, or an outline around the clip a
// merge goes into).
//
// Three kinds of drag: clips (the list's own clip drags and desktop file
// drops), titles and pages. All points are in list coordinates, y down; a
// frame holds a point when minX <= x < maxX and minY <= y < maxY.
//
// Row kinds: 1 above the first row (y below 10), 8 below the last (y past the
// content height); otherwise every frame that holds the point in tree order
// sets its kind, so the deepest wins, and nothing found keeps the previous
// kind. Clips look at rows made 15 taller to cover the gap below them (5
// page, 4 title, 3 clip, 2 sub-clip); titles at page rows (5) and title
// blocks (6); pages at page blocks (7).
//
// A drop target whose anchor has left the list is none; a page drag with no
// page block under the pointer has none either.
//
// Pure over the project model; main thread only, as the model.

#include <QHash>
#include <QPointF>
#include <QRectF>

#include "listedit/core/ListDropState.h"
#include "listedit/core/ListTableLayout.h"
#include "model/DataResource.h"

class DVDPageData;
class DVDTitleData;
class Object;

class ListDropResolver {
public:
    // The rows of `pages` as the list lays them out at `width`;
    // `maxHeightOfFrame` is the list's content height.
    ListDropResolver(const DataResource::PageList& pages, double width, double maxHeightOfFrame);

    enum class Variant { Media, Title, Page };
    // The three steps of a variant on `state`; answers the marker's frame
    // (empty: no marker). `hiddenMerge`, when given, is a clip whose merge
    // outline is not shown (the clip an own drag carries).
    QRectF resolve(Variant variant, ListDropState& state, const QPointF& point,
                   const Object* hiddenMerge = nullptr) const;

    // --- Clips and file drops ---
    void flushDragToTypeForMediaWithPoint(ListDropState& state, const QPointF& point) const;
    void updateDragMediaInformationWithPoint(ListDropState& state, const QPointF& point) const;
    QRectF insertLineFrameForDragMedia(const ListDropState& state,
                                       const Object* hiddenMerge = nullptr) const;
    // --- Titles ---
    void flushDragToTypeForTitleWithPoint(ListDropState& state, const QPointF& point) const;
    void updateDragTitleInformationWithPoint(ListDropState& state, const QPointF& point) const;
    QRectF insertLineFrameForDragTitle(const ListDropState& state) const;
    // --- Pages ---
    void flushDragToTypeForPageWithPoint(ListDropState& state, const QPointF& point) const;
    void updateDragPageInformationWithPoint(ListDropState& state, const QPointF& point) const;
    QRectF insertLineFrameForDragPage(const ListDropState& state) const;

    // --- Frames (empty for an entry that is not laid out) ---
    QRectF rowFrame(const Object* entry) const;
    QRectF contentFrame(const Object* entry) const;
    // The row's frame made 15 taller, over the gap below it.
    QRectF virtualContentFrameForView(const Object* entry) const;
    // The title's row frame as tall as its block (its row and its clips).
    QRectF virtualContentFrameForMergeTitle(const DVDTitleData& title) const;
    // The page's row frame as tall as its block (its row and its titles).
    QRectF virtualContentFrameForMergePage(const DVDPageData& page) const;

    static bool contains(const QRectF& frame, const QPointF& point);
    // Where an insert line starts at each level: 0, 70, 120, 170.
    static double lineX(qint32 level);

private:
    const ListTableLayout::Row* findRow(const Object* entry) const;
    // The row frame of `entry` made `height` tall.
    QRectF blockFrame(const Object* entry, double height) const;
    QRectF insertLine(qint32 level, double y) const;
    // The line at `offset` below the bottom of `frame`; none for an empty frame.
    QRectF insertLineBelow(qint32 level, const QRectF& frame, double offset) const;
    // Sets the row kind for a point above the first row or below the last;
    // answers whether it did.
    bool flushOutsideRows(ListDropState& state, const QPointF& point) const;

    DataResource::PageList m_pages;
    double m_width;
    double m_maxHeightOfFrame;
    QHash<const Object*, ListTableLayout::Row> m_rows;
};
