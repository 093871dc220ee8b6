#pragma once
// A project for the disc-side tests of the shell: services that hand out the
// test's two roots (no template library, so pages and items come without
// pictures and are cheap), and helpers that put list pages, titles and clips
// on the media side the way the title list files them.

#include <gtest/gtest.h>

#include <memory>

#include "corvane/DVDLibraryResource.h"
#include "lumenta/LMMediaTime.h"
#include "media/VCMovie.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "shell/core/OpenProject.h"

namespace discside {

inline qint64 seconds(double s)
{
    return static_cast<qint64>(s * static_cast<double>(lm_default_time_base()));
}

struct ProjectServices : OpenProject {
    std::shared_ptr<DVDResource> disc = std::make_shared<DVDResource>();
    std::shared_ptr<DataResource> media = std::make_shared<DataResource>();
    std::shared_ptr<DVDLibraryResource> library = std::make_shared<DVDLibraryResource>();

    std::shared_ptr<DVDResource> dvd() const override { return disc; }
    std::shared_ptr<DataResource> dateResource() const override { return media; }
    std::shared_ptr<DVDLibraryResource> dvdLibSource() const override { return library; }
};

// A clip over the section [from, to) of a source (seconds), its media item
// keeping the first `kept` seconds of the section (the whole section when
// negative).
inline std::shared_ptr<MediaData> makeClip(double from, double to, double kept = -1)
{
    auto clip = std::make_shared<MediaData>();
    auto section = std::make_shared<MediaSectionItem>();
    section->setStartTimeInMedia(seconds(from));
    section->setEndTimeInMedia(seconds(to));
    section->setAssociatedMedia(clip);
    clip->setSectionItem(section);
    auto movie = VCMovie::create();
    movie->setTrimStart(0);
    movie->setTrimStop(seconds(kept < 0 ? to - from : kept));
    clip->setVcmovie(movie);
    return clip;
}

class DiscSideTest : public ::testing::Test {
protected:
    void SetUp() override { services = std::make_shared<ProjectServices>(); }

    DVDResource& disc() { return *services->disc; }

    std::shared_ptr<DVDPageData> addPage()
    {
        auto page = std::make_shared<DVDPageData>();
        services->media->addDvdPageToArray(page);
        return page;
    }

    // A title at the end of the page with `clips` clips of 10 s sections.
    static std::shared_ptr<DVDTitleData> addTitle(const std::shared_ptr<DVDPageData>& page,
                                                  int clips = 1)
    {
        auto title = std::make_shared<DVDTitleData>();
        title->setSuperPage(page);
        page->titleDataArray().append(title);
        for (int i = 0; i < clips; ++i) {
            addClip(title, makeClip(10.0 * i, 10.0 * i + 10.0));
        }
        return title;
    }

    static std::shared_ptr<MediaData> addClip(const std::shared_ptr<DVDTitleData>& title,
                                              const std::shared_ptr<MediaData>& clip)
    {
        clip->flushSuperTitleData(title);
        title->mediaDataArray().append(clip);
        return clip;
    }

    // A merged clip of `members` clips of `length` seconds each.
    static std::shared_ptr<MediaData> mergedClip(int members, double length = 10.0)
    {
        auto group = std::make_shared<MediaData>();
        group->setHasSubMedia(true);
        for (int i = 0; i < members; ++i) {
            auto member = makeClip(length * i, length * i + length);
            member->flushSuperMediaData(group);
            group->subMediaArray().append(member);
        }
        return group;
    }

    static void moveTitle(const std::shared_ptr<DVDTitleData>& title,
                          const std::shared_ptr<DVDPageData>& to)
    {
        if (const auto from = title->superPage()) {
            from->titleDataArray().removeAll(title);
        }
        to->titleDataArray().append(title);
        title->setSuperPage(to);
    }

    std::shared_ptr<ProjectServices> services;
};

// The types of a page's items, in order.
inline QList<qint64> itemTypes(const DVDPage& page)
{
    QList<qint64> types;
    for (const auto& item : page.itemArray()) {
        types.append(item ? item->type() : -1);
    }
    return types;
}

}  // namespace discside
