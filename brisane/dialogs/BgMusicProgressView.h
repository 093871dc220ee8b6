#pragma once
// The trim bar of the page music dialog: the whole music file as a bar, the
// kept part highlighted between two handles, and the playhead. Dragging a
// handle moves the start or end of the kept part (one second apart at least)
// and the playhead with it; a press on the bar seeks at once, and a drag
// that began anywhere else scrubs. Edits the trims of the music's media item
// directly; asks for seeks through seekRequested. Without music the bar is
// 100 ticks long, shows only its background and the playhead at 0 and
// ignores presses. Geometry in BgMusicTrimGeometry.

#include <QWidget>

#include "media/VCMovie.h"

class BgMusicTrimGeometry;

class BgMusicProgressView : public QWidget {
    Q_OBJECT
public:
    explicit BgMusicProgressView(QWidget* parent = nullptr);

    // The music's media item; null for none.
    void setTrimItem(const VCMovie::Ptr& item);
    VCMovie::Ptr trimItem() const { return m_item; }
    qint64 currentTime() const { return m_currentTime; }
    void setCurrentTime(qint64 time);
    // The full duration of the music's movie, or 100 without music.
    qint64 duration() const;
    BgMusicTrimGeometry geometryNow() const;

    QSize sizeHint() const override { return QSize(400, 40); }

signals:
    void seekRequested(qint64 time);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void seekToPoint(const QPointF& point);
    void seek(qint64 time);

    VCMovie::Ptr m_item;
    qint64 m_currentTime = 0;
    int m_dragType = 0;
    QPointF m_press;
    float m_startX = 0;
    float m_endX = 0;
};
