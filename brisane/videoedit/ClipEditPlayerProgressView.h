#pragma once
// The chapter editor's timeline: the source as a bar, the playhead above it
// and a button hanging below it for each chapter marker, the selected one
// highlighted. Clicking or dragging on the bar seeks; clicking a marker
// selects it and seeks to it; dragging it moves it (see ClipEditTimeline).
//
// The rules live in ClipEditTimeline; this widget paints it and hands it the
// mouse in its coordinates (y up), converted in one transform. Its pictures
// ("Clip_PlayBack", "Clip_ChapterImage2", "Clip_ChapterImage",
// "Clip_PlayPoint") set the geometry. It keeps no markers of its own.

#include <QImage>
#include <QWidget>

#include "videoedit/TimelineBarView.h"
#include "videoedit/core/ClipEditTimeline.h"

class ClipEditPlayerProgressView : public TimelineBarView<ClipEditTimeline> {
    Q_OBJECT
public:
    explicit ClipEditPlayerProgressView(QWidget* parent = nullptr);

    // The delegate, also answered as the controller.
    ClipEditPlayerProgressDelegate* controller() const { return delegate(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_backgroundImage;
    QImage m_markerImage;
    QImage m_markerSelectImage;
    QImage m_pointImage;
};
