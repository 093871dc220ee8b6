// The chapter timeline with real mouse events on the offscreen widget: what
// a press hits (bar, a chapter marker, nothing), seeking along the bar and
// in its margins, dragging a marker against its neighbour, and a view of no
// length or no width. The owner here keeps the markers the way the chapter
// editor does (ClipMarkerRules) and records the seeks.
//
// When BRISANE_TEST_ARTIFACTS names a folder, a picture of the timeline with
// two markers, one selected, is written there.
#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>

#include "TestSupport.h"
#include "VideoEditTestSupport.h"
#include "videoedit/ClipEditPlayerProgressView.h"
#include "videoedit/core/ClipEditPlayerProgressDelegate.h"
#include "videoedit/core/ClipMarkerRules.h"

using namespace videoedittest;

namespace {

class MarkerOwner : public ClipEditPlayerProgressDelegate {
public:
    QList<ClipMarker::Ptr> markers;
    ClipMarker::Ptr selected;
    QList<LMMediaTime> seeks;
    int selections = 0;

    QList<ClipMarker::Ptr> markerArray() const override { return markers; }
    ClipMarker::Ptr selectedMarker() const override { return selected; }
    void setSelectedMarker(const ClipMarker::Ptr& marker) override
    {
        ++selections;
        selected = marker;
    }
    void setSelectedMarkerTime(LMMediaTime time) override
    {
        const qsizetype at = markers.indexOf(selected);
        if (at >= 0) {
            selected->setMarkTime(ClipMarkerRules::clampedMarkerTime(markers, at, time));
        }
    }
    void seek(LMMediaTime time) override { seeks << time; }
};

class ChapterTimeline : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (double t : {0.0, 3.0, 6.0, 9.0}) {
            owner.markers << ClipMarker::markerAt(sec(t));
        }
        view.setDelegate(&owner);
        view.setDuration(sec(9.0));
        view.resize(400, view.minimumSizeHint().height());
        view.show();
    }

    ClipEditTimeline& core() { return view.timeline(); }
    // A timeline point (y up) in widget pixels.
    QPointF at(double x, double y) const { return view.toWidget().map(QPointF(x, y)); }
    double xOf(double seconds) { return core().timeToPoint(sec(seconds)); }
    double midY() { return core().mapping().midY(); }
    // A point on the tab of the marker at `seconds`, below the bar's band.
    QPointF onMarker(double seconds)
    {
        const QRectF tab = core().markerButtonRect(xOf(seconds));
        return at(tab.left() + 4.0, tab.top() + 3.0);
    }

    void send(QEvent::Type type, const QPointF& p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, p, view.mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    }
    void click(const QPointF& p)
    {
        send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    void drag(const QPointF& from, const QPointF& to)
    {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, (from + to) / 2.0, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    MarkerOwner owner;
    ClipEditPlayerProgressView view;
};

}  // namespace

TEST_F(ChapterTimeline, OnlyChapterMarkersHaveButtonsAndTheBarBandWinsOverThem)
{
    EXPECT_EQ(core().markerArrayForDraw(),
              (QList<ClipMarker::Ptr>{owner.markers[1], owner.markers[2]}));
    const QRectF band = core().barHitRect();
    const QRectF tab = core().markerButtonRect(xOf(3.0));
    EXPECT_DOUBLE_EQ(band.bottom() - band.top(), 4.0 * core().barHeight());
    EXPECT_DOUBLE_EQ(tab.bottom(), midY() - core().barHeight() / 2.0) << "hangs from the bar";
    ASSERT_LT(tab.top(), band.top()) << "part of the button lies below the band";
    ASSERT_GT(tab.bottom(), band.top()) << "part of it inside the band";

    // The upper part of the button is the bar: a press there seeks.
    click(at(tab.left() + 4.0, band.top() + 1));
    EXPECT_EQ(owner.selected, nullptr);
    ASSERT_EQ(owner.seeks.size(), 1);
    EXPECT_NEAR(seconds(owner.seeks.last()), 3.0, 0.2);

    // The lower part selects the marker and seeks to it.
    click(onMarker(6.0));
    EXPECT_EQ(owner.selected, owner.markers[2]);
    EXPECT_EQ(owner.seeks.last(), sec(6.0));
    EXPECT_EQ(view.currentTime(), sec(6.0));

    // The start marker's place and the end's have no button.
    click(onMarker(0.0));
    EXPECT_EQ(owner.selected, owner.markers[2]);
}

TEST_F(ChapterTimeline, APressBelowTheBarLeftOfEveryMarkerDoesNothing)
{
    owner.selected = owner.markers[1];
    const QRectF tab = core().markerButtonRect(xOf(3.0));
    click(at(xOf(1.0), tab.top() + 3.0));
    EXPECT_EQ(core().drayTypeAtPoint(QPointF(xOf(1.0), tab.top() + 3.0)),
              ClipEditTimeline::Nothing);
    EXPECT_EQ(owner.selected, owner.markers[1]) << "the selection stays";
    EXPECT_EQ(owner.selections, 0);
    EXPECT_TRUE(owner.seeks.isEmpty());
    EXPECT_EQ(owner.markers[1]->markTime(), sec(3.0));
}

TEST_F(ChapterTimeline, PressesInTheBarsMarginsSeekToTheEnds)
{
    const QRectF content = core().mapping().content();
    click(at(content.left() - 5.0, midY()));
    click(at(content.right() + 4.5, midY()));
    EXPECT_EQ(owner.seeks, (QList<LMMediaTime>{0, sec(9.0)}));
    // A drag along the bar keeps seeking, held to the timeline.
    drag(at(xOf(4.0), midY()), at(content.right() + 40.0, midY()));
    EXPECT_EQ(owner.seeks.last(), sec(9.0));
    EXPECT_EQ(view.currentTime(), sec(9.0));
}

TEST_F(ChapterTimeline, ADraggedMarkerStopsOneSecondBeforeItsNeighbourAndStartsThereAgain)
{
    // Far past the next marker (6 s): it stops at 5 s.
    drag(onMarker(3.0), onMarker(3.0) + QPointF(xOf(8.0) - xOf(3.0), 0));
    EXPECT_EQ(owner.selected, owner.markers[1]);
    EXPECT_EQ(owner.markers[1]->markTime(), sec(5.0));
    EXPECT_EQ(owner.seeks.last(), sec(5.0)) << "the player follows the marker";
    // The next press starts from where it stopped: 1 s to the left is 4 s.
    const QPointF again = onMarker(5.0);
    drag(again, again - QPointF(xOf(1.0) - xOf(0.0), 0));
    EXPECT_NEAR(seconds(owner.markers[1]->markTime()), 4.0, 0.05);
    // And far to the left it stops 1 s after the start.
    drag(onMarker(4.0), onMarker(4.0) - QPointF(300, 0));
    EXPECT_EQ(owner.markers[1]->markTime(), sec(1.0));
    EXPECT_EQ(owner.markers[2]->markTime(), sec(6.0)) << "the neighbour never moves";

    owner.selected = owner.markers[2];
    view.setCurrentTime(sec(4.5));
    testsupport::writeArtifact(view.grab().toImage(), "chapter-timeline.png");
}

TEST_F(ChapterTimeline, WithoutALengthEverythingLiesLeftAndMarkerDragsDoNothing)
{
    view.setDuration(0);
    const double left = core().mapping().content().left();
    for (double t : {0.0, 3.0, 9.0}) {
        EXPECT_FLOAT_EQ(core().timeToPoint(sec(t)), float(left));
    }
    drag(onMarker(3.0), onMarker(3.0) + QPointF(120, 0));
    EXPECT_EQ(owner.markers[1]->markTime(), sec(3.0));
    EXPECT_EQ(owner.markers[2]->markTime(), sec(6.0));

    // A view narrower than its insets hits nothing.
    ClipEditPlayerProgressView narrow;
    narrow.setDelegate(&owner);
    narrow.setDuration(sec(9.0));
    narrow.resize(18, view.height());
    narrow.show();
    owner.selected = nullptr;
    owner.seeks.clear();
    for (double x : {0.0, 5.0, 9.0, 17.0}) {
        for (double y : {2.0, midY(), double(view.height() - 2)}) {
            EXPECT_EQ(narrow.timeline().drayTypeAtPoint(QPointF(x, y)), ClipEditTimeline::Nothing);
        }
    }
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(9, view.height() / 2.0), QPointF(),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&narrow, &press);
    EXPECT_TRUE(owner.seeks.isEmpty());
    EXPECT_EQ(owner.selected, nullptr);
}
