#pragma once
// The trim timeline of the video edit sheet: the clip's kept segments as
// spans on a bar (green; the selected one yellow-orange-yellow), a handle
// below each end, and the playhead. A press on the bar selects the segment
// under it (or none) and seeks, a drag along the bar seeks; a press on a
// handle selects its segment and a drag moves that end.
//
// The rules live in VETrimTimeline; this widget paints it and hands it the
// mouse in its coordinates (y up), converted in one transform. Its pictures
// ("player_progress_bar_background", "player_trim_left",
// "player_trim_right", "player_progress_point") set the geometry.

#include <QImage>
#include <QTransform>
#include <QWidget>

#include "videoedit/VETrimTimeline.h"

class VEPlayerProgressBarView : public QWidget {
    Q_OBJECT
public:
    explicit VEPlayerProgressBarView(QWidget* parent = nullptr);

    VETrimTimeline& timeline() { return m_timeline; }
    const VETrimTimeline& timeline() const { return m_timeline; }

    // Not owned; also answered as the controller.
    VEPlayerProgressBarDelegate* delegate() const { return m_timeline.delegate(); }
    void setDelegate(VEPlayerProgressBarDelegate* delegate) { m_timeline.setDelegate(delegate); }

    LMMediaTime duration() const { return m_timeline.duration(); }
    void setDuration(LMMediaTime duration) { m_timeline.setDuration(duration); }
    LMMediaTime currentTime() const { return m_timeline.currentTime(); }
    void setCurrentTime(LMMediaTime time) { m_timeline.setCurrentTime(time); }
    int selectedTrimIndex() const { return m_timeline.selectedTrimIndex(); }
    void setSelectedTrimIndex(int index) { m_timeline.setSelectedTrimIndex(index); }

    void addTrimAction() { m_timeline.addTrimAction(); }
    void deleteSelectedTrimAction() { m_timeline.deleteSelectedTrimAction(); }

    // Timeline coordinates (y up) to widget coordinates; its own inverse.
    QTransform toWidget() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The timeline's bounds follow the widget's size, also before a pending
    // resize event has arrived.
    void syncBounds();
    void drawTrim(QPainter& painter, const MovieTrimItem& trim, bool selected) const;
    QRectF widgetRect(const QRectF& rect) const { return toWidget().mapRect(rect); }

    VETrimTimeline m_timeline;
    QImage m_backImage;
    QImage m_leftTrimImage;
    QImage m_rightTrimImage;
    QImage m_pointImage;
};
