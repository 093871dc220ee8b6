// The trim timeline widget under real mouse events on the offscreen
// platform: selecting by span and by handle, dragging a handle, seeking
// between segments and along the bar.
#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>

#include "VideoEditTestSupport.h"
#include "videoedit/VEPlayerProgressBarView.h"

using namespace videoedittest;

namespace {

class TrimTimelineView : public ::testing::Test {
protected:
    void SetUp() override
    {
        clip = makeClip(10.0);
        clip.item()->setTrimArray(trims({{1.0, 3.0}, {5.0, 7.0}}));
        delegate.clip = clip.media;
        view.setDelegate(&delegate);
        view.resize(220, 60);  // 20 points a second
        view.setDuration(sec(10.0));
        view.show();
    }

    // A point of the timeline (x, y up) in widget coordinates.
    QPointF at(double seconds, double yUp) const
    {
        return {view.timeline().timeToPoint(sec(seconds)), view.height() - yUp};
    }
    double midY() const { return view.timeline().mapping().midY(); }
    double handleY() const { return midY() - 4.0 - 13.0; }

    void send(QEvent::Type type, const QPointF& p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, p, view.mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    }
    void press(const QPointF& p)
    {
        send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    }
    void move(const QPointF& p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void release(const QPointF& p)
    {
        send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }

    Clip clip;
    RecordingTimelineDelegate delegate;
    VEPlayerProgressBarView view;
};

TEST_F(TrimTimelineView, APressOnASpanSelectsItAndSeeks)
{
    press(at(6.0, midY()));
    release(at(6.0, midY()));
    EXPECT_EQ(view.selectedTrimIndex(), 1);
    ASSERT_EQ(delegate.seeks.size(), 1);
    EXPECT_NEAR(seconds(delegate.seeks.first()), 6.0, 0.01);
    EXPECT_NEAR(seconds(view.currentTime()), 6.0, 0.01);
    EXPECT_TRUE(delegate.calls.contains("flushPlayerProgress"));
}

TEST_F(TrimTimelineView, APressBetweenSegmentsDeselectsAndADragAlongTheBarSeeks)
{
    view.setSelectedTrimIndex(0);
    press(at(4.0, midY()));
    EXPECT_EQ(view.selectedTrimIndex(), 10000);
    EXPECT_NEAR(seconds(view.currentTime()), 4.0, 0.01);
    move(at(8.5, midY()));
    move(at(12.0, midY() + 40.0));  // past the end and off the bar: still seeks, clamped
    release(at(12.0, midY()));
    EXPECT_NEAR(seconds(view.currentTime()), 10.0, 0.01);
    ASSERT_EQ(delegate.seeks.size(), 3);
    EXPECT_NEAR(seconds(delegate.seeks[1]), 8.5, 0.01);
    EXPECT_EQ(spansOf(clip.item()->trimArray()), (Spans{{1.0, 3.0}, {5.0, 7.0}}))
        << "a drag on the bar never moves a segment";
}

TEST_F(TrimTimelineView, DraggingAHandleMovesThatEnd)
{
    // The right handle of the first segment, under the bar.
    const QPointF grip = at(3.0, handleY()) + QPointF(4.0, 0);
    press(grip);
    EXPECT_EQ(view.selectedTrimIndex(), 0);
    move(grip + QPointF(20.0, 0));  // one second later
    release(grip + QPointF(20.0, 0));
    const Spans after = spansOf(clip.item()->trimArray());
    EXPECT_NEAR(after[0].second, 4.0, 1e-3);
    EXPECT_NEAR(after[0].first, 1.0, 1e-9);
    EXPECT_NEAR(seconds(view.currentTime()), 4.0, 1e-3) << "the playhead follows the end";

    // The left handle of the second segment, dragged far left: it stops at
    // the first segment's end.
    const QPointF left = at(5.0, handleY()) - QPointF(4.0, 0);
    press(left);
    EXPECT_EQ(view.selectedTrimIndex(), 1);
    move(left - QPointF(100.0, 0));
    release(left - QPointF(100.0, 0));
    const Spans moved = spansOf(clip.item()->trimArray());
    EXPECT_NEAR(moved[1].first, 4.0, 1e-3);
    EXPECT_NEAR(moved[1].second, 7.0, 1e-3);
    EXPECT_LE(moved[0].second, moved[1].first);
}

TEST_F(TrimTimelineView, APressBelowEverythingChangesNothing)
{
    view.setSelectedTrimIndex(1);
    press(QPointF(200.0, view.height() - 1.0));
    EXPECT_EQ(view.selectedTrimIndex(), 1);
    EXPECT_TRUE(delegate.seeks.isEmpty());
}

}  // namespace
