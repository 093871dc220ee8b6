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
#include <QTransform>
#include <QWidget>

#include "videoedit/ClipEditTimeline.h"

class ClipEditPlayerProgressView : public QWidget {
    Q_OBJECT
public:
    explicit ClipEditPlayerProgressView(QWidget* parent = nullptr);

    ClipEditTimeline& timeline() { return m_timeline; }
    const ClipEditTimeline& timeline() const { return m_timeline; }

    // Not owned; also answered as the controller.
    ClipEditPlayerProgressDelegate* delegate() const { return m_timeline.delegate(); }
    ClipEditPlayerProgressDelegate* controller() const { return m_timeline.delegate(); }
    void setDelegate(ClipEditPlayerProgressDelegate* delegate) { m_timeline.setDelegate(delegate); }

    LMMediaTime duration() const { return m_timeline.duration(); }
    void setDuration(LMMediaTime duration) { m_timeline.setDuration(duration); }
    LMMediaTime currentTime() const { return m_timeline.currentTime(); }
    void setCurrentTime(LMMediaTime time) { m_timeline.setCurrentTime(time); }

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
    QRectF widgetRect(const QRectF& rect) const { return toWidget().mapRect(rect); }

    ClipEditTimeline m_timeline;
    QImage m_backgroundImage;
    QImage m_markerImage;
    QImage m_markerSelectImage;
    QImage m_pointImage;
};
