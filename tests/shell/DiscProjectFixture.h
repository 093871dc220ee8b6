#pragma once
// A project for the production tests, built with the application's objects
// as the title list and the menu editor would build it, then rebuilt on the
// disc side and modelled by the main window's getDVDObj.
//
// The first-disc project: one list page with three titles, A (one clip),
// a title of two clips B and C cut from one file (so the disc side gives it a
// chapter page) and a photo slideshow with music; the top page has a title
// text, music and a play button, the chapter page a text. Its disc holds the
// titles A, slideshow, B and C, one chapter each, and two menus.
//
// The fixture points HOME, the XDG folders and TMPDIR at the test's own
// folder, installs the subpicture drawing, uses the real tools, and records
// every tool run. runProduction runs a step on a worker thread while the
// main loop spins (the converters finish there), sampling the workflow's
// progress.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMutex>
#include <functional>
#include <future>

#include "../model/DVDResourceTestFixture.h"
#include "TestSupport.h"
#include "UserFolders.h"
#include "common/FileManagerExtention.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDToolLocator.h"
#include "corvane/DVDToolTask.h"
#include "lumenta/LMFunctions.h"
#include "media/DVDChapterVideo.h"
#include "media/MediaItem.h"
#include "media/PhotoItem.h"
#include "media/RenderItem.h"
#include "media/SlideshowItem.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/EffectTextImage.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/MusicData.h"
#include "model/SectionDataResource.h"
#include "production/BurnDVDWorkflow.h"
#include "production/DVDMenuImageGeneratorCustomImage.h"
#include "production/ProductionResult.h"
#include "shell/core/DiscModelBuilder.h"
#include "shell/core/DiscSideRebuild.h"

namespace discproject {

using disctest::seconds;

struct FirstDiscProject {
    QString one;  // the source of A: 1.2 s
    QString two;  // the source of B and C: 2 s, cut at 1 s
    std::shared_ptr<DataResource> media;
    std::shared_ptr<DVDPageData> list;
    std::shared_ptr<MediaData> first, secondA, secondB, third;
    std::shared_ptr<DVDTitleData> titleOne, titleTwo, titleThree;
    std::shared_ptr<DVDPage> top, chapters;
    std::shared_ptr<DVDPageItem> itemOne, itemTwo, itemThree, chapterA, chapterB;
};

struct ToolRun {
    QString tool;
    int status = 0;
    DVDToolTask::TerminationReason reason = DVDToolTask::TerminationReason::Exit;
};

class DiscProjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folders.isValid());
        services = std::make_shared<disctest::DiscServices>();
        services->library = disctest::templateLibrary();
        ASSERT_FALSE(services->library->buttons().isEmpty());
        services->disc = std::make_shared<DVDResource>();
        services->disc->setDvdFormat(1);
        services->disc->setAspectType(1);
        DVDToolLocator::setToolFolder(QString());  // the real tools
        DVDMenuImageGeneratorCustomImage::install();
        observer = DVDToolTask::addTerminationObserver(
            [this](const QString& tool, int status, DVDToolTask::TerminationReason reason) {
                QMutexLocker lock(&runsMutex);
                runs.append({tool, status, reason});
            });
        QDir().mkpath(FileManagerExtention::tempUsedFileDirectory());
    }
    void TearDown() override
    {
        DVDToolTask::removeTerminationObserver(observer);
        DVDMenuImageGeneratorCustomImage::uninstall();
    }

    QList<ToolRun> toolRuns() const
    {
        QMutexLocker lock(&runsMutex);
        return runs;
    }
    QStringList toolsRun() const
    {
        QStringList names;
        for (const ToolRun& run : toolRuns()) {
            names << run.tool;
        }
        return names;
    }

    // The work folders left under the temporary root.
    static QStringList workFolders()
    {
        return QDir(FileManagerExtention::tempUsedFileDirectory())
            .entryList({"temp-*"}, QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    // A clip of the source's section [from, to), as the title list imports it.
    static std::shared_ptr<MediaData> clip(const std::shared_ptr<SectionDataResource>& source,
                                           double from, double to)
    {
        const auto section = source->createMediaSectionItem();
        EXPECT_TRUE(section);
        if (!section) {
            return nullptr;
        }
        section->setStartTimeInMedia(seconds(from));
        section->setEndTimeInMedia(seconds(to));
        source->mediaSectionArray().append(section);
        auto made = section->createMediaData();
        EXPECT_TRUE(made);
        return made;
    }

    static std::shared_ptr<DVDTitleData> title(const std::shared_ptr<DVDPageData>& page,
                                               const QList<std::shared_ptr<MediaData>>& clips)
    {
        auto t = std::make_shared<DVDTitleData>();
        t->setMediaDataArray(clips);
        t->setSuperPage(page);
        for (const auto& c : clips) {
            c->setSuperTitleData(t);
        }
        auto titles = page->titleDataArray();
        titles.append(t);
        page->setTitleDataArray(titles);
        return t;
    }

    static double lengthOf(const MediaData& clip)
    {
        return lm_ff_time_to_double(
            brisane::DVDChapterVideo::durationForVcMovies(clip.segmentMovies()));
    }

    static std::shared_ptr<DVDPageItem> textItem(const QString& text, const QRectF& frame)
    {
        auto item = std::make_shared<DVDPageItem>();
        item->setType(2);
        auto source = std::make_shared<EffectTextImage>();
        source->setTextString(text);
        source->setMedia(item);
        item->setTextSource(source);
        item->setFrame(frame);
        EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*source);
        return item;
    }

    // A slideshow source of `colours.size()` photos, `perPhoto` seconds each,
    // with `music` (a file path) when not empty.
    static std::shared_ptr<SectionDataResource> slideshow(const QString& dir,
                                                          const QList<QColor>& colours,
                                                          double perPhoto, const QString& music)
    {
        const QString photos = dir + "/temp-photo";
        QDir().mkpath(photos);
        PhotoItem::updateAppTempPath(photos);
        QStringList paths;
        for (const QColor& colour : colours) {
            QImage photo(320, 240, QImage::Format_RGB32);
            photo.fill(colour);
            paths << QString("%1/photo-%2-%3.png")
                         .arg(dir)
                         .arg(colour.name().mid(1))
                         .arg(paths.size());
            EXPECT_TRUE(photo.save(paths.last()));
        }
        const auto slides = SectionDataResource::resourceWithImagePaths(paths);
        EXPECT_TRUE(slides && slides->imageSource());
        if (!slides || !slides->imageSource()) {
            return slides;
        }
        slides->imageSource()->oSlideshowItem()->setDDuration(perPhoto);
        slides->imageSource()->oSlideshowItem()->setDBestDuration(perPhoto);
        if (!music.isEmpty()) {
            slides->imageSource()->setAudioItems({MediaItem::mediaItemWithPath(music)});
        }
        return slides;
    }

    // The first-disc project, its sources made in `dir`, rebuilt and laid out.
    FirstDiscProject buildFirstDisc(const QString& dir)
    {
        FirstDiscProject p;
        p.one = dir + "/one.mp4";
        p.two = dir + "/two.mp4";
        const QString tune = dir + "/tune.m4a";
        const QString chime = dir + "/chime.wav";
        EXPECT_TRUE(testsupport::makeTestClip(p.one, 1.2, 160, 120));
        EXPECT_TRUE(testsupport::makeTestClip(p.two, 2.0, 160, 90));
        EXPECT_TRUE(testsupport::generateMedia(
            tune, {"-f", "lavfi", "-i", "sine=frequency=660:sample_rate=44100:duration=1.2"}));
        EXPECT_TRUE(testsupport::generateMedia(
            chime, {"-f", "lavfi", "-i", "sine=frequency=880:duration=1", "-ac", "2"}));

        // The media side: three sources, one list page of three titles.
        p.media = std::make_shared<DataResource>();
        const auto sourceOne = SectionDataResource::resourceWithPath(p.one);
        const auto sourceTwo = SectionDataResource::resourceWithPath(p.two);
        // 1.5 s is not a whole number of frames (the stream holds 38): the
        // title must still keep its whole length on the disc.
        const auto slides = slideshow(dir, {Qt::red, Qt::yellow}, 0.75, chime);
        for (const auto& source : {sourceOne, sourceTwo, slides}) {
            p.media->addSectionDataResourceToArray(source);
        }
        p.first = clip(sourceOne, 0.0, 1.2);
        // Two clips cut from one file at 1 s: the titles of the chapter page.
        p.secondA = clip(sourceTwo, 0.0, 1.0);
        p.secondB = clip(sourceTwo, 1.0, 2.0);
        p.third = clip(slides, 0.0, slides->imageSource()->slideshowDuration());
        if (!p.first || !p.secondA || !p.secondB || !p.third) {
            ADD_FAILURE() << "the clips could not be made";
            return p;
        }
        p.list = std::make_shared<DVDPageData>();
        p.media->addDvdPageToArray(p.list);
        p.titleOne = title(p.list, {p.first});
        p.titleTwo = title(p.list, {p.secondA, p.secondB});
        p.titleThree = title(p.list, {p.third});

        // The disc side, rebuilt from the list as the main window does; then
        // the layout the menu editor would give it: frames, texts, lengths, music.
        services->disc->setShowPlayButton(true);
        DiscSideRebuild rebuild(p.media, services->disc);
        rebuild.flushDVDResourceBeforeEdit();
        p.top = p.list->menuPage();
        p.itemOne = p.titleOne->menuItem();
        p.itemTwo = p.titleTwo->menuItem();
        p.itemThree = p.titleThree->menuItem();
        p.chapters = p.itemTwo ? p.itemTwo->subPage() : nullptr;
        p.chapterA = p.secondA->menuItem();
        p.chapterB = p.secondB->menuItem();
        if (!p.top || !p.chapters) {
            ADD_FAILURE() << "the disc side has no pages";
            return p;
        }
        const QList<std::pair<std::shared_ptr<DVDPageItem>, QRectF>> frames{
            {p.itemOne, {50, 190, 230, 170}},    {p.itemTwo, {312, 190, 230, 170}},
            {p.itemThree, {574, 190, 230, 170}}, {p.chapterA, {120, 190, 240, 180}},
            {p.chapterB, {494, 190, 240, 180}},
        };
        for (const auto& [item, frame] : frames) {
            item->setFrame(frame);
            item->setHasShadow(false);
        }
        p.top->setItemArray(p.top->itemArray() +
                            DVDPage::ItemList{textItem("My First Disc", {377, 400, 100, 50})});
        p.chapters->setItemArray(p.chapters->itemArray() +
                                 DVDPage::ItemList{textItem("Chapters", {377, 400, 100, 50})});
        rebuild.flushDVDResourceBeforeEdit();  // the texts stay, after the titles
        p.top->setMenuDuration(2.0);
        p.chapters->setMenuDuration(1.0);
        const auto music = MusicData::musicDataWithPath(tune);
        EXPECT_TRUE(music && music->vcmovie());
        if (music && music->vcmovie()) {
            music->vcmovie()->setFadeOut(seconds(0.3));
            p.top->setMusic(music);
        }
        return p;
    }

    // The disc model, as the main window builds it for a run.
    std::shared_ptr<DVDLibrary> discModel() const
    {
        return DiscModelBuilder(services->disc).getDVDObj();
    }

    // Runs `step` on a worker thread while this thread spins the main loop,
    // sampling `flow`'s progress into `samples` and calling `meanwhile`.
    static ProductionResult runProduction(BurnDVDWorkflow& flow,
                                          const std::function<ProductionResult()>& step,
                                          QList<double>* samples = nullptr,
                                          const std::function<void()>& meanwhile = {})
    {
        std::future<ProductionResult> done = std::async(std::launch::async, step);
        QElapsedTimer timer;
        timer.start();
        bool timedOut = false;
        while (done.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (samples) {
                samples->append(flow.progress());
            }
            if (meanwhile) {
                meanwhile();
            }
            if (!timedOut && timer.elapsed() > 300000) {
                timedOut = true;
                ADD_FAILURE() << "production did not end in time";
                flow.cancel();
            }
        }
        return done.get();
    }

    // Whether progress samples of one step never went back and never passed
    // the cap; the only drop allowed is the reset to 0 as the step ends.
    static ::testing::AssertionResult progressIsSound(const QList<double>& samples)
    {
        double last = 0.0;
        bool ended = false;
        for (qsizetype i = 0; i < samples.size(); ++i) {
            const double p = samples[i];
            if (p > 0.98) {
                return ::testing::AssertionFailure() << "sample " << i << " is " << p;
            }
            if (ended && p != 0.0) {
                return ::testing::AssertionFailure() << "progress rose after the step ended";
            }
            if (p < last) {
                if (p != 0.0) {
                    return ::testing::AssertionFailure()
                           << "sample " << i << " went back from " << last << " to " << p;
                }
                ended = true;
            }
            last = p;
        }
        return ::testing::AssertionSuccess();
    }

    testsupport::UserFolders folders;
    std::shared_ptr<disctest::DiscServices> services;

private:
    mutable QMutex runsMutex;
    QList<ToolRun> runs;
    int observer = 0;
};

}  // namespace discproject
