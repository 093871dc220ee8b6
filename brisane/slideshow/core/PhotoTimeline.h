#pragma once
// Where each photo of a slideshow lies on its time line, and where its tile
// lies in the editor's photo strip.
//
// With n photos, D seconds per photo, first ratio F and last ratio L, photo i
// lasts D × r(i): r(0) = F, r(n − 1) = L, 1 for the others. The photos follow
// each other from 0 without gaps. A tile stands for the middle of its photo's
// span, except the first, which stands for the very start; a time on the
// boundary of two spans belongs to the earlier photo. A single photo stands
// for the whole slideshow.
//
// The strip lays 100 × 100 tiles 90 points apart from the left (neighbours
// overlap by the 10-point margin each tile keeps round its picture), y up.
// Plain values; any thread.

#include <QRectF>
#include <QSizeF>

class PhotoTimeline {
public:
    static constexpr double TileSide = 100.0;
    static constexpr double TileStep = 90.0;

    PhotoTimeline(int count, double duration, double firstRatio, double lastRatio);

    int count() const { return m_count; }
    // r(i); 1 outside the list.
    double ratio(int index) const;
    // D × r(i).
    double spanOf(int index) const;
    // The time tile `index` stands for; 0 for a tile not in the list.
    double timeOfIndex(int index) const;
    // The tile a time selects: -1 with no tile or a time beyond the last
    // span (or before 0); any time selects the only tile of a single photo.
    int indexOfTime(double time) const;

    // Tile `index` in the strip, y up.
    static QRectF tileFrame(int index);
    // The strip for `count` tiles in a scroll view whose visible part is
    // `visible`: wide enough for the tiles and never narrower than the view.
    static QSizeF stripSize(int count, const QSizeF& visible);

private:
    int m_count;
    double m_duration;
    double m_firstRatio;
    double m_lastRatio;
};
