// Valid projects with random bytes changed, removed or inserted: a load
// either refuses the file and leaves the object it was reading into exactly
// as it was, or gives a project whose every list (sources, sections, clips,
// pages, elements, buttons) holds no null.

#include <QRandomGenerator>

#include "DataResourceTestFixture.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

using namespace mediatest;

namespace {

QByteArray mutate(const QByteArray& good, QRandomGenerator& random)
{
    return testsupport::mutateBytes(good, random, 3, 4);
}

template <typename List>
bool holdsNoNull(const List& list)
{
    return std::all_of(list.cbegin(), list.cend(), [](const auto& e) { return e != nullptr; });
}

// Walks a loaded project the way the editors do; false at the first null.
bool walkMedia(const DataResource& media)
{
    if (!holdsNoNull(media.sectionDataResourceArray()) || !holdsNoNull(media.dvdPageArray())) {
        return false;
    }
    for (const auto& source : media.sectionDataResourceArray()) {
        if (!holdsNoNull(source->mediaSectionArray())) {
            return false;
        }
    }
    for (const auto& page : media.dvdPageArray()) {
        if (!holdsNoNull(page->titleDataArray())) {
            return false;
        }
        for (const auto& title : page->titleDataArray()) {
            if (!holdsNoNull(title->mediaDataArray())) {
                return false;
            }
            for (const auto& clip : title->mediaDataArray()) {
                if (!holdsNoNull(clip->subMediaArray())) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool walkDisc(const DVDResource& disc)
{
    if (!holdsNoNull(disc.pageArray()) || !holdsNoNull(disc.customButtonImageResourceArray())) {
        return false;
    }
    for (const auto& page : disc.pageArray()) {
        if (!holdsNoNull(page->itemArray())) {
            return false;
        }
    }
    return true;
}

class ProjectMutationTest : public MediaSideTest {
protected:
    // Two sources (a clip and a slideshow), one list page with one title of
    // two clips, one menu page with one element.
    void buildProject()
    {
        auto page = std::make_shared<DVDPageData>();
        auto title = std::make_shared<DVDTitleData>();
        title->setName("Title _ 0");
        title->setSuperPage(page);
        page->titleDataArray().append(title);
        services->media->addDvdPageToArray(page);
        const auto sources = {
            SectionDataResource::resourceWithPath(clip("holiday.mp4", 1.0, 64, 48)),
            SectionDataResource::resourceWithImagePaths({picture("p1.png", Qt::red)})};
        for (const auto& source : sources) {
            ASSERT_TRUE(source);
            const auto section = source->createMediaSectionItem();
            ASSERT_TRUE(section);
            source->mediaSectionArray().append(section);
            services->media->addSectionDataResourceToArray(source);
            const auto made = section->createMediaData();
            ASSERT_TRUE(made);
            made->flushSuperTitleData(title);
            title->mediaDataArray().append(made);
        }
        auto menu = std::make_shared<DVDPage>();
        menu->setMedia(page);
        page->setMenuPage(menu);
        auto element = std::make_shared<DVDPageItem>();
        menu->setItemArray({element});
        services->disc->setPageArray({menu});
    }
};

}  // namespace

TEST_F(ProjectMutationTest, MutatedProjectsLoadWholeOrNotAtAll)
{
    buildProject();
    if (HasFatalFailure()) {
        return;
    }
    const QByteArray project = archiveProject(services->media, services->disc);
    const QByteArray media = KeyedArchiver::archivedData(Value(services->media));
    {
        const Project back = unarchiveProject(project);
        ASSERT_TRUE(back.media && back.disc);
        ASSERT_EQ(back.media->sectionDataResourceArray().size(), 2);
        ASSERT_TRUE(walkMedia(*back.media) && walkDisc(*back.disc));
    }

    QRandomGenerator random(18);
    int refused = 0;
    for (int round = 0; round < 2000; ++round) {
        // The whole project, as the program opens it.
        const auto result = KeyedUnarchiver::unarchive(mutate(project, random));
        if (result.root) {
            const auto& root = result.root->dictionary();
            if (const auto back = root.value("DataResourceData").objectAs<DataResource>()) {
                ASSERT_TRUE(walkMedia(*back)) << "round " << round;
            }
            if (const auto back = root.value("DVDData").objectAs<DVDResource>()) {
                ASSERT_TRUE(walkDisc(*back)) << "round " << round;
            }
        }

        // The media side read into an object that already holds a project.
        auto receiver = std::make_shared<DataResource>();
        receiver->addDvdPageToArray(std::make_shared<DVDPageData>());
        const QByteArray before = KeyedArchiver::archivedData(Value(receiver));
        if (KeyedUnarchiver::unarchiveInto(mutate(media, random), *receiver)) {
            ASSERT_TRUE(walkMedia(*receiver)) << "round " << round;
        } else {
            ++refused;
            ASSERT_EQ(KeyedArchiver::archivedData(Value(receiver)), before)
                << "round " << round << ": a refused file changed the project";
        }
    }
    EXPECT_GT(refused, 0);
}
