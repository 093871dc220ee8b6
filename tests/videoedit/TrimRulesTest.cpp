// The trim segment rules: when a one-second segment may be added and where it
// goes, typed start and end limits, the playhead threshold, and what the trim
// timeline does with them (adding, deleting, handle drags, the selection).
#include <gtest/gtest.h>

#include "VideoEditTestSupport.h"
#include "videoedit/core/TrimSegmentRules.h"
#include "videoedit/core/VETrimTimeline.h"

using namespace videoedittest;

namespace {

struct AddCase {
    const char* name;
    Spans segments;
    double current;
    double duration;
    bool enabled;
    qsizetype index;  // where it goes when enabled
};

TEST(TrimRules, AddEnableAndInsertion)
{
    const Spans two{{1.0, 2.0}, {4.0, 5.0}};
    const AddCase cases[] = {
        {"empty clip", {}, 0.0, 6.0, true, 0},
        {"inside a segment", two, 1.5, 6.0, false, 0},
        {"at a segment's start", two, 1.0, 6.0, false, 0},
        {"at a segment's exact end", two, 2.0, 6.0, false, 0},
        {"0.01 s after a segment's end", two, 2.01, 6.0, true, 1},
        {"less than 1 s before the next", two, 3.5, 6.0, false, 0},
        {"exactly 1 s before the next", two, 3.0, 6.0, false, 0},
        {"before the first segment", two, 0.0, 6.0, false, 0},
        {"room before the first", {{2.0, 3.0}}, 0.5, 6.0, true, 0},
        {"after the last", two, 5.2, 6.5, true, 2},
        {"less than 1 s before the end", two, 5.5, 6.0, false, 0},
        {"ends exactly at the end", two, 5.5, 6.5, true, 2},
        {"a clip under one second", {}, 0.0, 0.8, false, 0},
        {"a short segment inside the new second", {{2.2, 2.7}}, 2.0, 6.0, false, 0},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TrimSegmentRules::addTrimEnable(trims(c.segments), c.current, c.duration),
                  c.enabled);
        const auto index =
            TrimSegmentRules::insertionIndex(trims(c.segments), c.current, c.duration);
        EXPECT_EQ(index.has_value(), c.enabled);
        if (index) {
            EXPECT_EQ(*index, c.index);
        }
    }
}

TEST(TrimRules, AtMostNineThousandNineHundredNinetyNineSegments)
{
    VCMovie::TrimArray many;
    for (int i = 0; i < TrimSegmentRules::kMaxTrimCount; ++i) {
        many << std::make_shared<MovieTrimItem>(2.0 * i, 1.0);
    }
    EXPECT_FALSE(TrimSegmentRules::addTrimEnable(many, 2.0 * 9999 + 0.5, 1e6));
    many.removeLast();
    EXPECT_TRUE(TrimSegmentRules::addTrimEnable(many, 2.0 * 9999 + 0.5, 1e6));
}

TEST(TrimRules, SelectionIndexes)
{
    EXPECT_TRUE(TrimSegmentRules::selects(0, 1));
    EXPECT_FALSE(TrimSegmentRules::selects(1, 1));
    EXPECT_FALSE(TrimSegmentRules::selects(-1, 3));
    EXPECT_FALSE(TrimSegmentRules::selects(9999, 20000));
    EXPECT_FALSE(TrimSegmentRules::selects(TrimSegmentRules::kNoSelection, 20000));
    EXPECT_TRUE(TrimSegmentRules::selects(9998, 20000));
}

struct TypedCase {
    const char* name;
    Spans segments;
    qsizetype index;
    double typed;
    double expected;
};

TEST(TrimRules, TypedStartKeepsOneSecondAndTheNeighbour)
{
    const Spans three{{1.0, 3.0}, {4.0, 7.0}, {7.5, 8.0}};
    const TypedCase cases[] = {
        {"inside the room", three, 1, 4.5, 4.5},
        {"later than end minus 1 s", three, 1, 6.8, 6.0},
        {"past the end", three, 1, 9.0, 6.0},
        {"before the previous end", three, 1, 2.0, 3.0},
        {"first segment below 0", three, 0, -2.0, 0.0},
        {"first segment to 0", three, 0, 0.0, 0.0},
        // 0.5 s long: end minus 1 s lies before the previous end.
        {"short segment keeps off its neighbour", three, 2, 6.0, 7.0},
        {"short first segment stays at 0", {{0.0, 0.5}}, 0, 0.3, 0.0},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(TrimSegmentRules::clampedStart(trims(c.segments), c.index, c.typed), c.expected,
                    1e-6);
    }
}

TEST(TrimRules, TypedEndKeepsOneSecondUnlessTheNextStartsSooner)
{
    const Spans three{{1.0, 3.0}, {4.0, 5.0}, {5.5, 6.0}};
    const double duration = 10.0;
    const TypedCase cases[] = {
        {"inside the room", three, 0, 3.5, 3.5},
        {"earlier than start plus 1 s", three, 0, 1.2, 2.0},
        {"past the next start", three, 0, 4.5, 4.0},
        {"the next starts within the second", three, 1, 4.2, 5.0},
        {"the last passes the clip's end", three, 2, 12.0, 10.0},
        {"the last keeps 1 s", three, 2, 5.6, 6.5},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(TrimSegmentRules::clampedEnd(trims(c.segments), c.index, c.typed, duration),
                    c.expected, 1e-6);
    }
    // A gap under a second before the next segment caps the end there.
    EXPECT_NEAR(TrimSegmentRules::clampedEnd(trims({{1.0, 1.5}, {1.8, 3.0}}), 0, 2.5, duration),
                1.8, 1e-6);
}

TEST(TrimRules, PlayheadMovesOnlyBeyondAThousandthOfASecond)
{
    EXPECT_FALSE(TrimSegmentRules::movesPlayhead(2.0, 2.0));
    EXPECT_FALSE(TrimSegmentRules::movesPlayhead(2.0009, 2.0));
    EXPECT_FALSE(TrimSegmentRules::movesPlayhead(1.9991, 2.0));
    EXPECT_TRUE(TrimSegmentRules::movesPlayhead(2.0011, 2.0));
    EXPECT_TRUE(TrimSegmentRules::movesPlayhead(3.0, 2.0));
}

// --- The timeline ---

class TrimTimeline : public ::testing::Test {
protected:
    void SetUp() override
    {
        clip = makeClip(10.0, 2.0, 12.0);
        delegate.clip = clip.media;
        delegate.start = sec(2.0);
        delegate.stop = sec(12.0);
        timeline.setDelegate(&delegate);
        // Content 200 points wide for a 10 s clip: 20 points a second.
        timeline.setBounds(QRectF(0, 0, 220, 60));
        timeline.setBarHeight(8);
        timeline.setHandleSizes(QSizeF(9, 16), QSizeF(9, 16));
        timeline.setDuration(sec(10.0));
    }

    void setSpans(const Spans& spans) { clip.item()->setTrimArray(trims(spans)); }
    Spans spans() const { return spansOf(clip.item()->trimArray()); }
    double midY() const { return timeline.mapping().midY(); }
    double xAt(double s) const { return timeline.timeToPoint(sec(s)); }

    Clip clip;
    RecordingTimelineDelegate delegate;
    VETrimTimeline timeline;
};

TEST_F(TrimTimeline, AddsAtThePlayheadWithTheClipRangeAndSelectsIt)
{
    setSpans({{1.0, 2.0}, {5.0, 6.0}});
    timeline.setCurrentTime(sec(3.0));
    const auto before = clip.item()->trimArray();
    timeline.addTrimAction();
    EXPECT_EQ(spans(), (Spans{{1.0, 2.0}, {3.0, 4.0}, {5.0, 6.0}}));
    EXPECT_EQ(timeline.selectedTrimIndex(), 1);
    const auto added = clip.item()->trimArray().at(1);
    EXPECT_EQ(added->baseStartTime(), sec(2.0));
    EXPECT_EQ(added->baseStopTime(), sec(12.0));
    EXPECT_EQ(added->fadeIn(), 0.0);
    EXPECT_EQ(before.size(), 2) << "the list is replaced, not changed in place";
    EXPECT_EQ(delegate.calls, QStringList{"flushProgressTimeLabel"});
}

TEST_F(TrimTimeline, AddRefusesWhatTheSegmentRulesRefuse)
{
    setSpans({{1.0, 2.0}, {5.0, 6.0}});
    for (double at : {2.0, 4.5, 9.5}) {
        SCOPED_TRACE(at);
        timeline.setCurrentTime(sec(at));
        timeline.addTrimAction();
        EXPECT_EQ(spans(), (Spans{{1.0, 2.0}, {5.0, 6.0}}));
        EXPECT_EQ(timeline.selectedTrimIndex(), TrimSegmentRules::kNoSelection);
    }
    EXPECT_TRUE(delegate.calls.isEmpty());
    timeline.setCurrentTime(sec(2.01));
    timeline.addTrimAction();
    EXPECT_EQ(spans().size(), 3);
    EXPECT_EQ(timeline.selectedTrimIndex(), 1);
}

TEST_F(TrimTimeline, DeleteRemovesTheSelectionOnly)
{
    setSpans({{1.0, 2.0}, {5.0, 6.0}});
    timeline.deleteSelectedTrimAction();
    EXPECT_EQ(spans().size(), 2);
    timeline.setSelectedTrimIndex(9999);
    timeline.deleteSelectedTrimAction();
    EXPECT_EQ(spans().size(), 2) << "9999 counts as no selection";
    timeline.setSelectedTrimIndex(0);
    timeline.deleteSelectedTrimAction();
    EXPECT_EQ(spans(), (Spans{{5.0, 6.0}}));
    EXPECT_EQ(timeline.selectedTrimIndex(), TrimSegmentRules::kNoSelection);
}

struct DragCase {
    const char* name;
    Spans segments;
    int index;
    VETrimTimeline::DragType kind;
    double dragSeconds;  // along the timeline
    Spans expected;
};

TEST_F(TrimTimeline, HandleDragsKeepOneSecondAndTheNeighbourWins)
{
    const Spans two{{1.0, 3.0}, {4.0, 6.0}};
    const DragCase cases[] = {
        {"left handle right stops 1 s before the end",
         two,
         1,
         VETrimTimeline::LeftHandle,
         5.0,
         {{1.0, 3.0}, {5.0, 6.0}}},
        {"left handle left stops at the previous end",
         two,
         1,
         VETrimTimeline::LeftHandle,
         -3.0,
         {{1.0, 3.0}, {3.0, 6.0}}},
        {"first left handle stops at 0",
         two,
         0,
         VETrimTimeline::LeftHandle,
         -4.0,
         {{0.0, 3.0}, {4.0, 6.0}}},
        {"right handle right stops at the next start",
         two,
         0,
         VETrimTimeline::RightHandle,
         3.0,
         {{1.0, 4.0}, {4.0, 6.0}}},
        {"last right handle stops at the timeline's end",
         two,
         1,
         VETrimTimeline::RightHandle,
         8.0,
         {{1.0, 3.0}, {4.0, 10.0}}},
        {"right handle left stops 1 s after the start",
         two,
         1,
         VETrimTimeline::RightHandle,
         -5.0,
         {{1.0, 3.0}, {4.0, 5.0}}},
        // The next segment starts 0.5 s after this start: it wins over 1 s.
        {"the neighbour wins over the second",
         {{1.0, 1.2}, {1.5, 3.0}},
         0,
         VETrimTimeline::RightHandle,
         2.0,
         {{1.0, 1.5}, {1.5, 3.0}}},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.name);
        setSpans(c.segments);
        timeline.setSelectedTrimIndex(c.index);
        const auto& trim = *clip.item()->trimArray().at(c.index);
        const double xs = timeline.startX(trim);
        const double xe = timeline.endX(trim);
        const QPointF from(c.kind == VETrimTimeline::LeftHandle ? xs : xe, 10);
        const QPointF to = from + QPointF(c.dragSeconds * 20.0, 0);
        delegate.calls.clear();
        timeline.actionForType(c.kind, from, to, xs, xe);
        const Spans got = spans();
        ASSERT_EQ(got.size(), c.expected.size());
        for (qsizetype i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].first, c.expected[i].first, 1e-4) << i;
            EXPECT_NEAR(got[i].second, c.expected[i].second, 1e-4) << i;
        }
        for (qsizetype i = 1; i < got.size(); ++i) {
            EXPECT_LE(got[i - 1].second, got[i].first) << "segments overlap";
        }
        EXPECT_EQ(delegate.calls, (QStringList{"pause", "seek", "flushProgressTimeLabel"}));
    }
}

TEST_F(TrimTimeline, AClipUnderOneSecondHasTheWholeWidthAsMinimum)
{
    timeline.setDuration(sec(0.6));
    EXPECT_FLOAT_EQ(timeline.minTrimWidth(), 200.0f);
    timeline.setDuration(sec(10.0));
    EXPECT_FLOAT_EQ(timeline.minTrimWidth(), 20.0f);
}

TEST_F(TrimTimeline, HitTestPrefersTheBarThenHandlesInOrder)
{
    setSpans({{1.0, 3.0}, {4.0, 6.0}});
    const double below = midY() - 4.0 - 14.0;  // in a handle, under the bar's hit band
    EXPECT_EQ(timeline.drayTypeAtPoint({xAt(2.0), midY()}), VETrimTimeline::Bar);
    EXPECT_EQ(timeline.selectedTrimIndex(), 0);
    EXPECT_EQ(timeline.drayTypeAtPoint({xAt(3.5), midY()}), VETrimTimeline::Bar);
    EXPECT_EQ(timeline.selectedTrimIndex(), TrimSegmentRules::kNoSelection);
    EXPECT_EQ(timeline.drayTypeAtPoint({xAt(4.0) - 4.0, below}), VETrimTimeline::LeftHandle);
    EXPECT_EQ(timeline.selectedTrimIndex(), 1);
    EXPECT_EQ(timeline.drayTypeAtPoint({xAt(3.0) + 4.0, below}), VETrimTimeline::RightHandle);
    EXPECT_EQ(timeline.selectedTrimIndex(), 0);
    // The upper part of a handle lies in the bar's band: a press on the bar.
    EXPECT_EQ(timeline.drayTypeAtPoint({xAt(3.0) + 4.0, midY() - 6.0}), VETrimTimeline::Bar);
    EXPECT_EQ(timeline.drayTypeAtPoint({xAt(8.0), 2.0}), VETrimTimeline::Nothing);
    EXPECT_EQ(timeline.selectedTrimIndex(), TrimSegmentRules::kNoSelection);
}

TEST_F(TrimTimeline, ATimelineNarrowerThanItsInsetsHitsNothing)
{
    setSpans({{1.0, 3.0}});
    timeline.setBounds(QRectF(0, 0, 18, 60));
    EXPECT_TRUE(timeline.mapping().isEmpty());
    for (double x : {0.0, 5.0, 9.0, 17.0}) {
        EXPECT_EQ(timeline.drayTypeAtPoint({x, 30.0}), VETrimTimeline::Nothing);
    }
    timeline.mousePressed({9.0, 30.0});
    EXPECT_TRUE(delegate.seeks.isEmpty());
    EXPECT_FLOAT_EQ(timeline.minTrimWidth(), 0.0f);
}

}  // namespace
