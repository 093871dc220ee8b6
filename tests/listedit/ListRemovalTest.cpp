// Removal from the title list: section repair on a real clip cut into
// chapters (also with its movie gone and with a section that has no clip),
// sources leaving with their last clip, merged clips dissolving in place,
// titles leaving with their last clip, the current page falling back, the
// move flavours touching no section, trim or sub-clip, and rows told to
// leave.

#include "ListEditTestFixture.h"
#include "ListTreeFixture.h"
#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListRemoval.h"
#include "listedit/core/ListSelection.h"
#include "media/MovieTrimItem.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

using namespace listtest;
using mediatest::seconds;

namespace {

using Range = std::pair<LMMediaTime, LMMediaTime>;

// A real 3 s source cut into the chapters 0-1, 1-2 and 2-3 s, each chapter a
// clip of title T on page P with a trim of its own.
class ListRemovalTest : public mediatest::OpenProjectTest {
protected:
    void SetUp() override
    {
        OpenProjectTest::SetUp();
        project = services->media;
        P = ListMediaFactory::addMenuPageToArray(*project, selection);
    }

    void cutSource(const QString& name = "src.mp4")
    {
        const auto first = ListMediaFactory::createMediaDataWithPath(*project, clip(name, 3));
        ASSERT_TRUE(first);
        source = first->sectionItem()->superResource();
        duration = first->sectionItem()->endTimeInMedia();
        ASSERT_GE(duration, seconds(3));
        first->sectionItem()->setEndTimeInMedia(seconds(1));
        T = ListMediaFactory::createDVDTitleDataWithMedia(first);
        ListMediaFactory::appendTitleToPage(T, P);
        chapters = {first, chapter(1, seconds(2)), chapter(2, duration)};
        for (const auto& media : chapters) {
            media->vcmovie()->setTrimArray({std::make_shared<MovieTrimItem>(0.1, 0.5)});
        }
    }

    // A section of the source with its clip, appended to T.
    MediaData::Ptr chapter(double start, LMMediaTime end)
    {
        auto section = std::make_shared<MediaSectionItem>();
        section->setSuperResource(source);
        section->setStartTimeInMedia(seconds(start));
        section->setEndTimeInMedia(end);
        source->mediaSectionArray().append(section);
        auto media = section->createMediaData();
        EXPECT_TRUE(media);
        if (media) {
            media->flushSuperTitleData(T);
            T->mediaDataArray().append(media);
        }
        return media;
    }

    QList<Range> ranges() const
    {
        QList<Range> result;
        for (const auto& section : source->mediaSectionArray()) {
            result.append({section->startTimeInMedia(), section->endTimeInMedia()});
        }
        return result;
    }

    ListRemoval removal() { return ListRemoval(*project, selection); }

    std::shared_ptr<DataResource> project;
    ListSelection selection;
    std::shared_ptr<DVDPageData> P;
    std::shared_ptr<DVDTitleData> T;
    std::shared_ptr<SectionDataResource> source;
    LMMediaTime duration = 0;
    MediaData::ClipList chapters;
};

TEST_F(ListRemovalTest, DeletingAChapterRetilesTheSource)
{
    struct Case {
        int deleted;
        double cut;  // the one cut left inside the source, in seconds
    };
    for (const Case& c : {Case{1, 1}, Case{2, 1}, Case{0, 2}}) {
        SCOPED_TRACE(c.deleted);
        cutSource(QString("src-%1.mp4").arg(c.deleted));
        const QList<Range> expected{{0, seconds(c.cut)}, {seconds(c.cut), duration}};
        const auto deleted = chapters.at(c.deleted);
        const auto deletedSection = deleted->sectionItem();
        selection.selectedType = ListSelection::Clip;
        removal().removeSelectedMedia(deleted);

        EXPECT_EQ(ranges(), expected);
        EXPECT_FALSE(source->mediaSectionArray().contains(deletedSection));
        EXPECT_EQ(deleted->sectionItem(), nullptr);
        for (const auto& media : T->mediaDataArray()) {
            EXPECT_TRUE(media->vcmovie()->trimArray().isEmpty());  // all of them, as specified
            EXPECT_EQ(media->sectionItem()->associatedMedia(), media);
        }
        EXPECT_EQ(T->mediaDataArray().size(), 2);
        EXPECT_FALSE(T->mediaDataArray().contains(deleted));
        EXPECT_TRUE(project->sectionDataResourceArray().contains(source));
        EXPECT_EQ(selection.selectedType, ListSelection::Nothing);
        // Start over with a fresh source.
        removal().removeSelectedTitle(T);
        project->setSectionDataResourceArray({});
    }
}

// A project opened while its source file was missing has clips without a
// movie; the sections then tile up to the largest end they had.
TEST_F(ListRemovalTest, RetilingWithoutTheMovie)
{
    for (int deleted : {2, 1}) {
        SCOPED_TRACE(deleted);
        cutSource(QString("src-%1.mp4").arg(deleted));
        for (const auto& media : chapters) {
            media->setVcmovie(nullptr);
        }
        removal().removeSelectedMedia(chapters.at(deleted));
        EXPECT_EQ(ranges(), (QList<Range>{{0, seconds(1)}, {seconds(1), duration}}));
        removal().removeSelectedTitle(T);
    }
}

// A section without a clip keeps its place in the tiling: every remaining
// section gets its own pair of cuts.
TEST_F(ListRemovalTest, SectionWithoutClipKeepsItsOwnCuts)
{
    cutSource();
    const auto orphan = chapters.at(1)->sectionItem();
    T->mediaDataArray().removeAll(chapters.at(1));
    orphan->setAssociatedMedia(nullptr);
    removal().removeSelectedMedia(chapters.at(0));
    EXPECT_EQ(ranges(), (QList<Range>{{0, seconds(2)}, {seconds(2), duration}}));
    EXPECT_EQ(source->mediaSectionArray().first(), orphan);
    const auto last = chapters.at(2)->sectionItem();
    EXPECT_EQ(last->startTimeInMedia(), seconds(2));
    EXPECT_EQ(last->endTimeInMedia(), duration);
}

// The only clip of a source takes the source out of the project; the only
// clip of a title takes the title (which keeps the clip) but not the page.
TEST_F(ListRemovalTest, LastClipTakesSourceAndTitle)
{
    const auto media = ListMediaFactory::createMediaDataWithPath(*project, clip("one.mp4", 1.2));
    ASSERT_TRUE(media);
    const auto only = media->sectionItem()->superResource();
    const auto title = ListMediaFactory::createDVDTitleDataWithMedia(media);
    ListMediaFactory::appendTitleToPage(title, P);
    ASSERT_EQ(project->sectionDataResourceArray(), (DataResource::SourceList{only}));

    removal().removeSelectedMedia(media);
    EXPECT_TRUE(project->sectionDataResourceArray().isEmpty());
    EXPECT_TRUE(P->titleDataArray().isEmpty());
    EXPECT_EQ(project->dvdPageArray(), (DataResource::PageList{P}));
    EXPECT_EQ(title->mediaDataArray(), (MediaData::ClipList{media}));
}

TEST(ListRemovalTreeTest, MergedClipDissolvesInPlace)
{
    ListTree tree;
    ListSelection selection;
    auto rowG = std::make_unique<FakeRow>();
    tree.G->setMediaDataView(rowG.get());
    ListTree::clip(tree.T0);  // a clip after G

    // One of three sub-clips goes: two remain, the merged clip stays.
    ListRemoval(*tree.project, selection).removeSelectedMedia(tree.S1);
    EXPECT_EQ(tree.G->subMediaArray(), (MediaData::ClipList{tree.S0, tree.S2}));
    EXPECT_EQ(tree.T0->mediaDataArray().at(2), tree.G);
    EXPECT_EQ(rowG->removed, 0);

    // One of two goes: the other takes the merged clip's place as a clip.
    ListRemoval(*tree.project, selection).removeSelectedMedia(tree.S0);
    EXPECT_EQ(tree.T0->mediaDataArray().size(), 4);
    EXPECT_EQ(tree.T0->mediaDataArray().at(2), tree.S2);
    EXPECT_FALSE(tree.T0->mediaDataArray().contains(tree.G));
    EXPECT_FALSE(tree.S2->isSubMedia());
    EXPECT_EQ(tree.S2->superMediaData(), nullptr);
    EXPECT_EQ(tree.S2->superTitleData(), tree.T0);
    EXPECT_EQ(tree.G->subMediaArray(), (MediaData::ClipList{tree.S2}));
    EXPECT_EQ(rowG->removed, 1);
}

TEST(ListRemovalTreeTest, RowsLeaveTheList)
{
    ListTree tree;
    ListSelection selection;
    FakeRow g, s0, s1, s2, t0;
    tree.G->setMediaDataView(&g);
    tree.S0->setMediaDataView(&s0);
    tree.S1->setMediaDataView(&s1);
    tree.S2->setMediaDataView(&s2);
    tree.T0->setTitleDataView(&t0);
    auto page = std::make_shared<FakePageRow>();
    tree.P1->setDvdPageView(page);

    // A merged clip's sub-clips leave with it and forget their rows.
    ListRemoval(*tree.project, selection).removeSelectedMedia(tree.G);
    EXPECT_EQ(g.removed, 1);
    for (const FakeRow* row : {&s0, &s1, &s2}) {
        EXPECT_EQ(row->removed, 1);
    }
    EXPECT_EQ(tree.S0->mediaDataView(), nullptr);
    EXPECT_EQ(tree.G->subMediaArray().size(), 3);  // a removed entry keeps its contents
    EXPECT_EQ(t0.removed, 0);

    ListRemoval(*tree.project, selection).removeSelectedTitle(tree.T0);
    EXPECT_GE(t0.removed, 1);  // told again when its last clip goes, which is harmless
    ListRemoval(*tree.project, selection).removeSelectedPage(tree.P1);
    EXPECT_EQ(page->removed, 1);
}

TEST(ListRemovalTreeTest, PagesAndTheCurrentPage)
{
    ListTree tree;
    ListSelection selection;
    const auto P2 = tree.page();
    selection.currentDVDPage = tree.P0;
    selection.selectedType = ListSelection::Page;

    // Deleting the current page makes the last page current.
    ListRemoval(*tree.project, selection).removeSelectedPage(tree.P0);
    EXPECT_EQ(tree.project->dvdPageArray(), (DataResource::PageList{tree.P1, P2}));
    EXPECT_EQ(selection.currentDVDPage.lock(), P2);
    EXPECT_EQ(selection.selectedType, ListSelection::Nothing);
    EXPECT_TRUE(tree.P0->titleDataArray().isEmpty());

    // Deleting another page leaves the current page as it is.
    ListRemoval(*tree.project, selection).removeSelectedPage(tree.P1);
    EXPECT_EQ(selection.currentDVDPage.lock(), P2);

    // The only page: one new empty page, current.
    ListRemoval(*tree.project, selection).removeSelectedPage(P2);
    ASSERT_EQ(tree.project->dvdPageArray().size(), 1);
    const auto fresh = tree.project->dvdPageArray().first();
    EXPECT_NE(fresh, P2);
    EXPECT_TRUE(fresh->titleDataArray().isEmpty());
    EXPECT_EQ(selection.currentDVDPage.lock(), fresh);

    // Closing the project leaves no page and no current page.
    ListTree closing;
    selection.currentDVDPage = closing.P1;
    ListRemoval(*closing.project, selection).removeAllWhenCloseProject();
    EXPECT_TRUE(closing.project->dvdPageArray().isEmpty());
    EXPECT_EQ(selection.currentDVDPage.lock(), nullptr);
}

// Moves take entries and rows out of the tree and nothing else.
TEST_F(ListRemovalTest, MoveFlavoursKeepSectionsTrimsAndSubClips)
{
    cutSource();
    const QList<Range> before = ranges();
    auto group = ListTree::clip(T);
    group->setHasSubMedia(true);
    const auto m0 = ListTree::member(group);
    const auto m1 = ListTree::member(group);
    FakeRow groupRow, memberRow, titleRow;
    group->setMediaDataView(&groupRow);
    m0->setMediaDataView(&memberRow);
    T->setTitleDataView(&titleRow);

    ListRemoval mover = removal();
    mover.setIsOnlyMove(true);
    mover.removeSelectedMedia(chapters.at(1));
    EXPECT_EQ(ranges(), before);
    EXPECT_TRUE(chapters.at(1)->sectionItem());
    EXPECT_FALSE(T->mediaDataArray().contains(chapters.at(1)));
    mover.removeSelectedMedia(group);
    EXPECT_EQ(groupRow.removed, 1);
    EXPECT_EQ(memberRow.removed, 1);
    EXPECT_EQ(m0->mediaDataView(), nullptr);
    EXPECT_EQ(group->subMediaArray(), (MediaData::ClipList{m0, m1}));

    removal().removeSelectedTitleWhenMovePlace(T);
    EXPECT_TRUE(P->titleDataArray().isEmpty());
    EXPECT_EQ(titleRow.removed, 1);
    EXPECT_EQ(ranges(), before);
    for (const auto& media : chapters) {
        EXPECT_EQ(media->vcmovie()->trimArray().size(), 1);
        EXPECT_TRUE(media->sectionItem());
    }
    EXPECT_EQ(chapters.at(0)->superTitleData(), T);

    // The page flavour, with the title back on its page.
    ListMediaFactory::appendTitleToPage(T, P);
    T->mediaDataArray().append(group);
    m0->setMediaDataView(&memberRow);
    selection.currentDVDPage = P;
    const auto other = ListMediaFactory::addMenuPageToArray(*project, selection);
    selection.currentDVDPage = P;
    removal().removeSelectedPageWhenMovePlace(P);
    EXPECT_EQ(project->dvdPageArray(), (DataResource::PageList{other}));
    EXPECT_EQ(P->titleDataArray(), (DVDPageData::TitleList{T}));
    EXPECT_EQ(selection.currentDVDPage.lock(), other);
    EXPECT_EQ(titleRow.removed, 2);
    EXPECT_EQ(groupRow.removed, 2);
    EXPECT_EQ(memberRow.removed, 2);
    EXPECT_EQ(ranges(), before);
    EXPECT_TRUE(project->sectionDataResourceArray().contains(source));
}

// Project close deletes every clip, so the sources leave too.
TEST_F(ListRemovalTest, ProjectCloseLeavesNothing)
{
    cutSource();
    ListMediaFactory::addMenuPageToArray(*project, selection);
    removal().removeAllWhenCloseProject();
    EXPECT_TRUE(project->dvdPageArray().isEmpty());
    EXPECT_TRUE(project->sectionDataResourceArray().isEmpty());
    EXPECT_EQ(selection.currentDVDPage.lock(), nullptr);
}

}  // namespace
