#pragma once
// Shared by the video edit tests that go all the way to a disc: a clip
// imported as the title list imports it, and production's road for a disc of
// clip titles without menu (PAL, 16:9), through DiscRoadSupport.h.

#include <gtest/gtest.h>
#include <QDir>
#include <QList>

#include "DiscRoadSupport.h"
#include "TestSupport.h"
#include "corvane/DVDLibrary.h"
#include "lumenta/LMFunctions.h"
#include "media/DVDChapterVideo.h"
#include "media/DVDTitleVideo.h"
#include "model/DVDResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

namespace videoedittest {

// The project's disc: PAL, 16:9.
struct PalWide {
    std::shared_ptr<DVDResource> disc = std::make_shared<DVDResource>();
    PalWide()
    {
        disc->setDvdFormat(1);
        disc->setAspectType(1);
    }
};

// The whole file as one clip, the way the title list imports it.
inline std::shared_ptr<MediaData> importClip(const QString& path, double seconds)
{
    const auto resource = SectionDataResource::resourceWithPath(path);
    if (!resource) {
        ADD_FAILURE() << "not imported: " << qPrintable(path);
        return nullptr;
    }
    const auto section = resource->createMediaSectionItem();
    if (!section) {
        ADD_FAILURE() << "no section for " << qPrintable(path);
        return nullptr;
    }
    section->setStartTimeInMedia(0);
    section->setEndTimeInMedia(
        static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base())));
    resource->mediaSectionArray().append(section);
    return section->createMediaData();
}

// The disc the video edit tests author: PAL, 16:9, 4000 kbit/s, no menu.
inline std::shared_ptr<DVDLibrary> palWideDisc()
{
    auto disc = std::make_shared<DVDLibrary>();
    disc->setNoMenu(true);
    disc->setAspectType(1);
    disc->setFormat(1);
    disc->setDvdBitrate(4000);
    return disc;
}

// Encodes the movies as one title stream of that disc.
inline bool encode(const QList<VCMovie::Ptr>& movies, const QString& path)
{
    return testsupport::convertMovies({movies.begin(), movies.end()}, path,
                                      testsupport::movieOutputFormat(*palWideDisc()));
}

// Each clip as one title of a disc without menu (PAL, 16:9), authored into
// <work>/dvd.dvdmedia; answers that folder, or an empty string on failure.
inline QString authorClips(const QList<std::shared_ptr<MediaData>>& clips, const QString& work)
{
    if (!QDir().mkpath(work)) {
        ADD_FAILURE() << "cannot make " << qPrintable(work);
        return {};
    }
    QList<ObjectPtr> titles;
    for (const auto& clip : clips) {
        auto chapter = brisane::DVDChapterVideo::create();
        chapter->setMovies(clip->segmentMovies());
        auto title = brisane::DVDTitleVideo::create();
        title->setChapters({chapter});
        titles << title;
    }
    const auto disc = palWideDisc();
    disc->setTitles(titles);
    if (!testsupport::authorDisc(disc, work)) {
        return {};
    }
    return work + "/dvd.dvdmedia";
}

// The clip as the one title of a disc without menu; see authorClips.
inline QString authorClip(const std::shared_ptr<MediaData>& clip, const QString& work)
{
    return authorClips({clip}, work);
}

using testsupport::frameOf;

}  // namespace videoedittest
