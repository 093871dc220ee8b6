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
#include <QWidget>

#include "videoedit/TimelineBarView.h"
#include "videoedit/core/VETrimTimeline.h"

class VEPlayerProgressBarView : public TimelineBarView<VETrimTimeline> {
    Q_OBJECT
public:
    explicit VEPlayerProgressBarView(QWidget* parent = nullptr);

    int selectedTrimIndex() const { return m_timeline.selectedTrimIndex(); }
    void setSelectedTrimIndex(int index) { m_timeline.setSelectedTrimIndex(index); }

    void addTrimAction() { m_timeline.addTrimAction(); }
    void deleteSelectedTrimAction() { m_timeline.deleteSelectedTrimAction(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawTrim(QPainter& painter, const MovieTrimItem& trim, bool selected) const;

    QImage m_backImage;
    QImage m_leftTrimImage;
    QImage m_rightTrimImage;
    QImage m_pointImage;
};
