// The title list's geometry and names without widgets: block heights, row
// places, connectors, the hit test and the names taken from positions.

#include <gtest/gtest.h>

#include "ListTreeFixture.h"
#include "listedit/core/ListEntryMover.h"
#include "listedit/core/ListSelection.h"
#include "listedit/core/ListTableLayout.h"
#include "model/DVDFileSource.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

using listtest::ListTree;
using Kind = ListTableLayout::RowKind;

namespace {

std::shared_ptr<DataResource> onePage()
{
    auto project = std::make_shared<DataResource>();
    project->addDvdPageToArray(std::make_shared<DVDPageData>());
    return project;
}

// Points the clip at a section of a video source imported from `path`; the
// source is kept in `sources`.
void giveVideoSource(const MediaData::Ptr& clip, const QString& path,
                     QList<std::shared_ptr<SectionDataResource>>& sources)
{
    auto source = std::make_shared<SectionDataResource>();
    sources.append(source);
    source->setFileSource(DVDFileSource::sourceWithPath(path));
    auto section = std::make_shared<MediaSectionItem>();
    section->setSuperResource(source);
    source->mediaSectionArray().append(section);
    clip->setSectionItem(section);
}

QList<double> ysOf(const QList<ListTableLayout::Row>& rows)
{
    QList<double> ys;
    for (const auto& row : rows) {
        ys.append(row.frame.y());
    }
    return ys;
}

}  // namespace

TEST(ListTableLayoutTest, EmptyProjectIsOnePageRowAndAZeroLengthSpine)
{
    const auto project = onePage();
    const auto rows = ListTableLayout::placeRows(project->dvdPageArray(), 600);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].frame, QRectF(0, 10, 600, 40));
    EXPECT_FLOAT_EQ(ListTableLayout::contentHeight(project->dvdPageArray()), 65.0f);
    const auto segments = ListTableLayout::connectorSegments(rows);
    ASSERT_EQ(segments.size(), 1);
    EXPECT_EQ(segments[0], QLineF(30, 50, 30, 50));
}

TEST(ListTableLayoutTest, PageTitleClipStandAt10_65_115)
{
    const auto project = onePage();
    const auto title = ListTree::title(project->dvdPageArray().first());
    ListTree::clip(title);
    const auto rows = ListTableLayout::placeRows(project->dvdPageArray(), 800);
    EXPECT_EQ(ysOf(rows), (QList<double>{10, 65, 115}));
    EXPECT_FLOAT_EQ(ListTableLayout::contentHeight(project->dvdPageArray()), 190.0f);
    EXPECT_EQ(rows[2].contentFrame(), QRectF(120, 115, 680, 60));
}

TEST(ListTableLayoutTest, MergedClipOfThreeAdds300AndItsMembersHaveNoBranches)
{
    const auto project = onePage();
    const auto title = ListTree::title(project->dvdPageArray().first());
    const auto group = ListTree::clip(title);
    group->setHasSubMedia(true);
    for (int i = 0; i < 3; ++i) {
        ListTree::member(group);
    }
    EXPECT_DOUBLE_EQ(ListTableLayout::heightOfMediaData(*group), 300.0);
    EXPECT_DOUBLE_EQ(ListTableLayout::heightOfTitleData(*title), 350.0);
    EXPECT_FLOAT_EQ(ListTableLayout::contentHeight(project->dvdPageArray()), 10 + 55 + 350.0f);

    const auto rows = ListTableLayout::placeRows(project->dvdPageArray(), 1000);
    EXPECT_EQ(ysOf(rows), (QList<double>{10, 65, 115, 190, 265, 340}));
    EXPECT_EQ(rows[3].kind, Kind::SubClip);
    EXPECT_DOUBLE_EQ(rows[3].contentFrame().x(), 170);
    // Title branch, one clip branch, title spine, page spine.
    const auto segments = ListTableLayout::connectorSegments(rows);
    EXPECT_EQ(segments, (QList<QLineF>{QLineF(30, 82.5, 70, 82.5), QLineF(90, 145, 120, 145),
                                       QLineF(90, 100, 90, 145), QLineF(30, 50, 30, 82.5)}));
}

TEST(ListTableLayoutTest, ConnectorsOfASmallTree)
{
    // P0: T0 (A, B), T1 (no clip); P1: no title.
    auto project = std::make_shared<DataResource>();
    const auto p0 = std::make_shared<DVDPageData>();
    const auto p1 = std::make_shared<DVDPageData>();
    project->addDvdPageToArray(p0);
    project->addDvdPageToArray(p1);
    const auto t0 = ListTree::title(p0);
    ListTree::clip(t0);
    ListTree::clip(t0);
    ListTree::title(p0);
    const auto rows = ListTableLayout::placeRows(project->dvdPageArray(), 900);
    // P0 10, T0 65, A 115, B 190, T1 265, P1 315.
    EXPECT_EQ(ysOf(rows), (QList<double>{10, 65, 115, 190, 265, 315}));
    const QList<QLineF> expected{
        QLineF(30, 82.5, 70, 82.5),    // T0 branch
        QLineF(90, 145, 120, 145),     // A branch
        QLineF(90, 220, 120, 220),     // B branch
        QLineF(90, 100, 90, 220),      // T0 spine to B's middle
        QLineF(30, 282.5, 70, 282.5),  // T1 branch
        QLineF(90, 300, 90, 300),      // T1 spine, empty
        QLineF(30, 50, 30, 282.5),     // P0 spine to T1's middle
        QLineF(30, 355, 30, 355),      // P1 spine, empty
    };
    EXPECT_EQ(ListTableLayout::connectorSegments(rows), expected);
}

TEST(ListTableLayoutTest, HitTestUsesContentFrames)
{
    ListTree tree;
    const auto rows = ListTableLayout::placeRows(tree.project->dvdPageArray(), 900);
    // Row 1 is T0 at y 65..100, content from x 70.
    struct Case {
        QPointF point;
        bool hit;
    };
    const Case cases[] = {
        {{69.9, 80}, false}, {{70, 80}, true},   {{5, 20}, true},      // page content from 0
        {{119, 130}, false}, {{120, 130}, true}, {{169, 350}, false},  // S0 at y 340 from 170
        {{170, 350}, true},  {{500, 57}, false},  // the gap after the first row
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListTableLayout::hitRow(rows, c.point) >= 0, c.hit)
            << c.point.x() << "," << c.point.y();
    }
}

TEST(ListTableLayoutTest, NamesComeFromPlaces)
{
    ListTree tree;
    tree.page();  // a third page
    QList<std::shared_ptr<SectionDataResource>> sources;
    for (const auto& clip : {tree.A, tree.B, tree.C, tree.S0, tree.S1}) {
        giveVideoSource(clip, QStringLiteral("/media/holiday.mov"), sources);
    }
    tree.S2->setIsImageData(true);
    tree.D->setIsImageData(true);
    giveVideoSource(tree.D, QStringLiteral("/media/named-anything.mov"), sources);
    ListTableLayout::nameTree(tree.project->dvdPageArray());

    const QList<std::pair<QString, QString>> names{
        {tree.P0->name(), "Menu Page_0"},
        {tree.project->dvdPageArray()[2]->name(), "Menu Page_2"},
        {tree.T1->name(), "Title_1"},
        {tree.T2->name(), "Title_0"},
        {tree.A->name(), "holiday_chapter_0"},
        {tree.B->name(), "holiday_chapter_1"},
        {tree.G->name(), "Merge_Media"},
        {tree.S1->name(), "holiday_Merge_1"},
        {tree.S2->name(), "PhotoSlideshow_chapter_2"},
        {tree.C->name(), "holiday_chapter_0"},
        {tree.D->name(), "PhotoSlideshow_chapter_0"},
    };
    for (const auto& [actual, expected] : names) {
        EXPECT_EQ(actual, expected);
    }

    // Moving holiday_chapter_1 up renames it at the next naming.
    ListSelection selection;
    selection.selectedType = ListSelection::Clip;
    selection.selectedData = tree.B;
    ListEntryMover::moveSelectedData(*tree.project, selection, true);
    ListTableLayout::nameTree(tree.project->dvdPageArray());
    EXPECT_EQ(tree.B->name(), "holiday_chapter_0");
    EXPECT_EQ(tree.A->name(), "holiday_chapter_1");
}

TEST(ListTableLayoutTest, PercentMarkersInFileNamesStayAsTheyAre)
{
    ListTree tree;
    QList<std::shared_ptr<SectionDataResource>> sources;
    const QList<std::pair<QString, QString>> cases{
        {"/media/50%1off.mov", "50%1off_chapter_0"},
        {"/media/%2.mov", "%2_chapter_0"},
        {"/media/100%.mov", "100%_chapter_0"},
        {"/media/%1%2%L1.mov", "%1%2%L1_chapter_0"},
    };
    for (const auto& [path, expected] : cases) {
        giveVideoSource(tree.A, path, sources);
        giveVideoSource(tree.S0, path, sources);
        ListTableLayout::nameTree(tree.project->dvdPageArray());
        EXPECT_EQ(tree.A->name(), expected);
        EXPECT_EQ(tree.S0->name(), QString(expected).replace("_chapter_", "_Merge_"));
    }
}

TEST(ListTableLayoutTest, NamingRestoresSubClipBackPointers)
{
    ListTree tree;
    tree.S1->setSuperMediaData(nullptr);
    ListTableLayout::nameTree(tree.project->dvdPageArray());
    EXPECT_EQ(tree.S1->superMediaData(), tree.G);
}
