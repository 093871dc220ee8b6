// The chapter editor's rules without a window: markers from a source's
// sections, where Add is allowed, how a moved marker is held between its
// neighbours, Previous and Next, when an apply may write, the arrow keys,
// what each apply does with the opened clip, and the time field's text.
#include <gtest/gtest.h>

#include "VideoEditTestSupport.h"
#include "model/MediaSectionItem.h"
#include "videoedit/core/ChapterApplyPlan.h"
#include "videoedit/core/ClipMarkerRules.h"
#include "videoedit/core/FFMovieTime2PlayTimeMsStringTransformer.h"

using namespace videoedittest;

namespace {

using Markers = ClipMarkerRules::Markers;

Markers markersAt(const QList<double>& times)
{
    Markers markers;
    for (double t : times) {
        markers << ClipMarker::markerAt(sec(t));
    }
    return markers;
}

QList<double> timesOf(const Markers& markers)
{
    QList<double> times;
    for (const auto& marker : markers) {
        times << marker->markDoubleTime();
    }
    return times;
}

ClipMarkerRules::Sections sectionsEndingAt(const QList<double>& ends)
{
    ClipMarkerRules::Sections sections;
    double start = 0.0;
    for (double end : ends) {
        auto section = std::make_shared<MediaSectionItem>();
        section->setStartTimeInMedia(sec(start));
        section->setEndTimeInMedia(sec(end));
        sections << section;
        start = end;
    }
    return sections;
}

}  // namespace

TEST(ChapterRules, MarkersAreTheStartAndEverySectionEndInTimeOrder)
{
    const struct {
        QList<double> sectionEnds;
        QList<double> markers;
    } cases[] = {
        {{9.0}, {0.0, 9.0}},                      // one section: no chapter marker
        {{3.0, 6.0, 9.0}, {0.0, 3.0, 6.0, 9.0}},  // in order
        {{6.0, 9.0, 3.0}, {0.0, 3.0, 6.0, 9.0}},  // out of order: sorted
    };
    for (const auto& c : cases) {
        const Markers markers =
            ClipMarkerRules::markersFromSections(sectionsEndingAt(c.sectionEnds));
        EXPECT_EQ(timesOf(markers), c.markers) << c.sectionEnds.size() << " sections";
    }
    const Markers one = ClipMarkerRules::markersFromSections(sectionsEndingAt({9.0}));
    EXPECT_TRUE(ClipMarkerRules::chapterMarkers(one).isEmpty());
    EXPECT_TRUE(ClipMarkerRules::canApply(one)) << "one chapter from 0 to the end";
}

TEST(ChapterRules, AddIsRefusedWithinOneSecondOfAnyMarkerAndPastTheEnd)
{
    const Markers markers = markersAt({0.0, 3.0, 9.0});
    const struct {
        double at;
        bool enabled;
    } cases[] = {
        {0.5, false}, {1.0, true},  // the start marker counts
        {3.5, false}, {4.0, true},  // 0.5 s after a marker / exactly 1 s after it
        {2.0, true},  {2.01, false}, {8.5, false}, {8.0, true},  // the end marker counts
        {9.0, false}, {10.5, false},                             // the end stays the last marker
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClipMarkerRules::addMarkButtonEnable(markers, sec(c.at)), c.enabled)
            << "at " << c.at << " s";
    }
    EXPECT_FALSE(ClipMarkerRules::addMarkButtonEnable({}, sec(5.0))) << "no source, no markers";
    EXPECT_EQ(ClipMarkerRules::insertionIndex(markers, sec(5.0)), 2);
    EXPECT_EQ(ClipMarkerRules::insertionIndex(markers, sec(3.0)), 2) << "after an equal time";
}

TEST(ChapterRules, AMovedMarkerStaysOneSecondFromItsNeighbours)
{
    const Markers markers = markersAt({0.0, 3.0, 6.0, 9.0});
    const struct {
        qsizetype index;
        double asked;
        double kept;
    } cases[] = {
        {1, 0.5, 1.0}, {1, 4.0, 4.0}, {1, 5.5, 5.0},   {1, -7.0, 1.0},
        {2, 3.5, 4.0}, {2, 8.9, 8.0}, {2, 7.25, 7.25},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClipMarkerRules::clampedMarkerTime(markers, c.index, sec(c.asked)), sec(c.kept))
            << "marker " << c.index << " asked for " << c.asked << " s";
    }
    // Neighbours closer than 2 s leave no room: the upper bound wins, and
    // the markers can then no longer be applied.
    const Markers crowded = markersAt({0.0, 1.2, 1.8});
    EXPECT_EQ(ClipMarkerRules::clampedMarkerTime(crowded, 1, sec(1.2)), sec(0.8));
    EXPECT_FALSE(ClipMarkerRules::canApply(markersAt({0.0, 0.8, 1.8})));
}

TEST(ChapterRules, PreviousAndNextStepOverTheChapterMarkersOnly)
{
    const Markers markers = markersAt({0.0, 3.0, 6.0, 9.0});
    const auto first = markers[1];
    const auto second = markers[2];
    EXPECT_FALSE(ClipMarkerRules::preMarkerEnable(markers, first)) << "never to the start marker";
    EXPECT_TRUE(ClipMarkerRules::nextMarkerEnable(markers, first));
    EXPECT_EQ(ClipMarkerRules::nextMarker(markers, first), second);
    EXPECT_TRUE(ClipMarkerRules::preMarkerEnable(markers, second));
    EXPECT_EQ(ClipMarkerRules::previousMarker(markers, second), first);
    EXPECT_FALSE(ClipMarkerRules::nextMarkerEnable(markers, second)) << "never to the end marker";
    for (const auto& none :
         {ClipMarker::Ptr(), markers.first(), markers.last(), ClipMarker::markerAt(sec(3.0))}) {
        EXPECT_FALSE(ClipMarkerRules::preMarkerEnable(markers, none));
        EXPECT_FALSE(ClipMarkerRules::nextMarkerEnable(markers, none));
    }
}

TEST(ChapterRules, OnlyChaptersOfASecondOrMoreInTimeOrderCanBeApplied)
{
    const struct {
        QList<double> markers;
        bool applies;
    } cases[] = {
        {{0.0, 9.0}, true},
        {{0.0, 3.0, 6.0, 9.0}, true},
        {{0.0, 1.0, 9.0}, true},        // exactly one second
        {{0.0, 3.0, 3.5, 9.0}, false},  // a chapter of 0.5 s
        {{0.0, 6.0, 3.0, 9.0}, false},  // descending
        {{0.0, 3.0, 3.0, 9.0}, false},  // two markers at one time
        {{0.0}, false},                 // no chapter at all
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClipMarkerRules::canApply(markersAt(c.markers)), c.applies)
            << c.markers.size() << " markers, second at " << c.markers.value(1);
    }
}

TEST(ChapterRules, ArrowKeysMoveTheTimeByAFiftiethOfASecondWithinTheMovie)
{
    const LMMediaTime end = sec(9.0);
    EXPECT_EQ(ClipMarkerRules::steppedTime(0, end, -1), 0);
    EXPECT_EQ(ClipMarkerRules::steppedTime(sec(0.02), end, -1), 0);
    EXPECT_EQ(ClipMarkerRules::steppedTime(end, end, 1), end);
    EXPECT_EQ(ClipMarkerRules::steppedTime(sec(8.98), end, 1), end);
    EXPECT_EQ(ClipMarkerRules::steppedTime(sec(4.0), end, 1), sec(4.0) + sec(0.05));
    EXPECT_EQ(ClipMarkerRules::steppedTime(sec(4.0), end, -1), sec(4.0) - sec(0.05));
}

TEST(ChapterRules, EachApplyKnowsWhatBecomesOfTheOpenedClip)
{
    using Kind = ChapterApplyPlan::Kind;
    using Place = ChapterApplyPlan::Placement;
    const struct {
        Kind kind;
        qsizetype chapters;
        bool sub;
        ChapterApplyPlan plan;
    } cases[] = {
        {Kind::Video, 1, false, {true, false, Place::None, false}},
        {Kind::Video, 1, true, {true, false, Place::None, false}},
        {Kind::Video, 3, true, {true, false, Place::NearClip, false}},
        {Kind::Video, 3, false, {false, true, Place::IntoClip, false}},
        {Kind::Submenu, 1, true, {true, false, Place::None, false}},
        {Kind::Submenu, 3, true, {false, false, Place::AfterMergedClip, true}},
        {Kind::Submenu, 3, false, {true, false, Place::NearClip, false}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChapterApplyPlan::planFor(c.kind, c.chapters, c.sub), c.plan)
            << (c.kind == Kind::Video ? "video" : "submenu") << ", " << c.chapters
            << " chapters, sub-clip " << c.sub;
    }
}

TEST(ChapterRules, TheTimeFieldReadsHoursMinutesAndSecondsWithFractions)
{
    const struct {
        const char* typed;
        double seconds;
    } cases[] = {
        {"1:05", 65.0},   {"00:01:02.500", 62.5}, {"1:00:00", 3600.0},
        {"12.25", 12.25}, {"0:0.5", 0.5},         {"junk", 0.0},
        {"", 0.0},        {"1:2:3:4", 0.0},       {"2:x", 120.0},
    };
    const FFMovieTime2PlayTimeMsStringTransformer transformer;
    for (const auto& c : cases) {
        EXPECT_EQ(transformer.reverseTransformedValue(Value(QString(c.typed))).toInt(),
                  sec(c.seconds))
            << '"' << c.typed << '"';
    }
    const struct {
        double seconds;
        const char* shown;
    } shown[] = {
        {0.0, "00:00:00.000"},
        {62.5, "00:01:02.500"},
        {3725.25, "01:02:05.250"},
        {90000.0, "25:00:00.000"},  // hours are not wrapped
    };
    for (const auto& c : shown) {
        EXPECT_EQ(transformer.transformedValue(Value(sec(c.seconds))).toString(), QString(c.shown));
    }
}
