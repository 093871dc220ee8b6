// Production of projects built with the application's objects and modelled
// by getDVDObj, through the rendering step and the workflow: a disc without
// menus, a cancel at the first conversion, the failures that must end with a
// failure and no output, titles encoded side by side, slideshow music files
// and the weights.

#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

#include "DiscProjectFixture.h"
#include "DiscReadBack.h"
#include "ProductionThread.h"
#include "StandInTool.h"
#include "production/MakeDVDVideo.h"

using namespace discproject;
using namespace discreadback;

namespace {

using Production = DiscProjectTest;

// Files below the temporary root whose names match `pattern`.
QStringList filesInTemporaryRoot(const QString& pattern)
{
    QStringList found;
    QDirIterator it(FileManagerExtention::tempUsedFileDirectory(), {pattern}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        found << it.next();
    }
    return found;
}

// Runs the rendering step alone on a worker thread while the main loop spins.
ProductionResult render(MakeDVDVideo& step, const std::shared_ptr<DVDLibrary>& disc,
                        const QString& work)
{
    return testsupport::renderOnProductionThread(step, disc, work);
}

TEST_F(Production, DiscWithoutMenusIsOneTitleWithAChapterPerClip)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const FirstDiscProject p = buildFirstDisc(dir.path());
    ASSERT_TRUE(p.top);
    services->disc->setUseNoMenu(true);
    const auto disc = discModel();
    ASSERT_TRUE(disc && disc->noMenu());

    const QString folder = folders.home() + "/Movies/No Menu";
    const QString iso = folders.home() + "/Movies/No Menu.iso";
    BurnDVDWorkflow flow;
    QStringList menuStreams;
    QList<double> samples;
    const ProductionResult made = runProduction(
        flow, [&] { return flow.make(disc, folder); }, &samples,
        [&] { menuStreams += filesInTemporaryRoot("menu*.dvd"); });
    ASSERT_TRUE(made.isSucceeded()) << qPrintable(made.toString());
    EXPECT_TRUE(progressIsSound(samples));
    EXPECT_TRUE(menuStreams.isEmpty()) << qPrintable(menuStreams.join(' '));
    EXPECT_FALSE(toolsRun().contains("spumux"));

    // An empty volume name gives "My DVD".
    const ProductionResult imaged = runProduction(flow, [&] { return flow.make(folder, iso, ""); });
    ASSERT_TRUE(imaged.isSucceeded()) << qPrintable(imaged.toString());
    EXPECT_EQ(volumeId(iso), "My DVD");
    for (const QString& path : {folder, iso}) {
        SCOPED_TRACE(qPrintable(path));
        const ReadBack read = readBack(path);
        EXPECT_EQ(read.chapters, QList<int>{4});
        EXPECT_TRUE(read.palWide);
    }
    EXPECT_TRUE(workFolders().isEmpty());
}

TEST_F(Production, CancelAtTheFirstConversionLeavesNothing)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const FirstDiscProject p = buildFirstDisc(dir.path());
    ASSERT_TRUE(p.top);
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    const QString folder = folders.home() + "/Movies/Cancelled";
    BurnDVDWorkflow flow;
    bool cancelled = false;
    const ProductionResult made = runProduction(
        flow, [&] { return flow.make(disc, folder); }, nullptr,
        [&] {
            const auto rendering = std::dynamic_pointer_cast<MakeDVDVideo>(flow.task());
            if (!cancelled && rendering && rendering->task()) {
                cancelled = true;
                flow.cancel();
            }
        });
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(made.isCancelled()) << qPrintable(made.toString());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(toolRuns().isEmpty()) << qPrintable(toolsRun().join(' '));
    EXPECT_TRUE(workFolders().isEmpty()) << qPrintable(workFolders().join(' '));
    // The cancelled workflow starts nothing more.
    EXPECT_TRUE(flow.make(disc, folder).isCancelled());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(Production, PageWithoutTitlesFailsWithoutOutput)
{
    auto media = std::make_shared<DataResource>();
    auto list = std::make_shared<DVDPageData>();
    media->addDvdPageToArray(list);
    DiscSideRebuild(media, services->disc).flushDVDResourceBeforeEdit();
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    EXPECT_TRUE(disc->titles().isEmpty());
    const QString folder = folders.home() + "/Movies/Empty";
    BurnDVDWorkflow flow;
    const ProductionResult made = runProduction(flow, [&] { return flow.make(disc, folder); });
    EXPECT_TRUE(made.isFailed());
    EXPECT_FALSE(made.reason().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(toolRuns().isEmpty());
    EXPECT_TRUE(workFolders().isEmpty());
}

TEST_F(Production, DeletedSourceClipFailsWithoutOutput)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const FirstDiscProject p = buildFirstDisc(dir.path());
    ASSERT_TRUE(p.top);
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    ASSERT_TRUE(QFile::remove(p.two));
    const QString folder = folders.home() + "/Movies/Deleted";
    BurnDVDWorkflow flow;
    const ProductionResult made = runProduction(flow, [&] { return flow.make(disc, folder); });
    EXPECT_TRUE(made.isFailed()) << qPrintable(made.toString());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(toolsRun().contains("dvdauthor"));
    EXPECT_TRUE(workFolders().isEmpty());
}

TEST_F(Production, FailingToolFailsWithoutOutput)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const FirstDiscProject p = buildFirstDisc(dir.path());
    ASSERT_TRUE(p.top);
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    testsupport::StandInTool dvdauthor("dvdauthor", "mkdir -p dvd.dvdmedia/VIDEO_TS\nexit 1");
    ASSERT_TRUE(dvdauthor.isValid());
    const QString folder = folders.home() + "/Movies/Failed";
    BurnDVDWorkflow flow;
    const ProductionResult made = runProduction(flow, [&] { return flow.make(disc, folder); });
    ASSERT_TRUE(made.isFailed()) << qPrintable(made.toString());
    EXPECT_TRUE(made.reason().contains("dvdauthor")) << qPrintable(made.reason());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(workFolders().isEmpty());
    const QList<ToolRun> runs = toolRuns();
    ASSERT_EQ(toolsRun(), (QStringList{"spumux", "spumux", "dvdauthor"}));
    EXPECT_EQ(runs[0].status, 0);
    EXPECT_EQ(runs[2].status, 1);
}

TEST_F(Production, TitlesEncodedSideBySideGiveTheSameFiles)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    QList<std::shared_ptr<SectionDataResource>> sources;
    auto media = std::make_shared<DataResource>();
    auto list = std::make_shared<DVDPageData>();
    media->addDvdPageToArray(list);
    for (int i = 0; i < 3; ++i) {
        const QString path = dir.filePath(QString("clip%1.mp4").arg(i));
        ASSERT_TRUE(testsupport::makeTestClip(path, 1.0 + 0.4 * i, 160, 120));
        const auto source = SectionDataResource::resourceWithPath(path);
        media->addSectionDataResourceToArray(source);
        const auto piece = clip(source, 0.0, 1.0 + 0.4 * i);
        ASSERT_TRUE(piece);
        title(list, {piece});
    }
    DiscSideRebuild(media, services->disc).flushDVDResourceBeforeEdit();
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->titles().size(), 3);
    disc->setMenus({});  // titles only

    const QString together = dir.filePath("together");
    const QString alone = dir.filePath("alone");
    ASSERT_TRUE(QDir().mkpath(together) && QDir().mkpath(alone));
    MakeDVDVideo parallel;
    parallel.setMaximumConcurrentTitles(3);
    ASSERT_TRUE(render(parallel, disc, together).isSucceeded());
    EXPECT_EQ(parallel.mostConcurrentConversions(), 3);
    EXPECT_NEAR(parallel.totalLength(), 1.0 + 1.4 + 1.8, 0.01);  // seconds of material
    EXPECT_NEAR(parallel.progress(), 1.0, 1e-9);
    MakeDVDVideo sequence;
    sequence.setMaximumConcurrentTitles(1);
    ASSERT_TRUE(render(sequence, disc, alone).isSucceeded());
    EXPECT_EQ(sequence.mostConcurrentConversions(), 1);

    const QStringList names = QDir(together).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(names, (QStringList{"title0.dvd", "title1.dvd", "title2.dvd"}));
    EXPECT_EQ(QDir(alone).entryList(QDir::Files, QDir::Name), names);
    for (const QString& name : names) {
        const QJsonObject a = testsupport::probeMedia(together + "/" + name);
        const QJsonObject b = testsupport::probeMedia(alone + "/" + name);
        EXPECT_EQ(a.value("format").toObject().value("duration"),
                  b.value("format").toObject().value("duration"))
            << qPrintable(name);
        EXPECT_EQ(a.value("streams").toArray().size(), b.value("streams").toArray().size())
            << qPrintable(name);
    }
}

TEST_F(Production, OneFailingTitleCancelsTheOthers)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    auto media = std::make_shared<DataResource>();
    auto list = std::make_shared<DVDPageData>();
    media->addDvdPageToArray(list);
    const QList<double> lengths{20.0, 1.2};
    for (int i = 0; i < lengths.size(); ++i) {
        const QString path = dir.filePath(QString("clip%1.mp4").arg(i));
        ASSERT_TRUE(testsupport::makeTestClip(path, lengths[i], 160, 120));
        const auto source = SectionDataResource::resourceWithPath(path);
        media->addSectionDataResourceToArray(source);
        const auto piece = clip(source, 0.0, lengths[i]);
        ASSERT_TRUE(piece);
        title(list, {piece});
    }
    DiscSideRebuild(media, services->disc).flushDVDResourceBeforeEdit();
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->titles().size(), 2);
    disc->setMenus({});

    // The short title cannot be put in place: a folder holds its name.
    const QString work = dir.filePath("work");
    ASSERT_TRUE(QDir().mkpath(work + "/title1.dvd/taken"));
    MakeDVDVideo step;
    step.setMaximumConcurrentTitles(2);
    const ProductionResult result = render(step, disc, work);
    ASSERT_TRUE(result.isFailed());
    EXPECT_TRUE(result.reason().contains("title1.dvd")) << qPrintable(result.reason());
    EXPECT_EQ(step.mostConcurrentConversions(), 2);
    EXPECT_FALSE(QFileInfo::exists(work + "/title0.dvd"));  // cancelled on the way
    EXPECT_EQ(step.task(), nullptr);
}

TEST_F(Production, SlideshowMusicFilesCountEverySlideshowOfATitle)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString chime = dir.filePath("chime.wav");
    ASSERT_TRUE(testsupport::generateMedia(
        chime, {"-f", "lavfi", "-i", "sine=frequency=880:duration=1", "-ac", "2"}));
    auto media = std::make_shared<DataResource>();
    auto list = std::make_shared<DVDPageData>();
    media->addDvdPageToArray(list);
    // One title of three slideshows: with music, silent, with music.
    QList<std::shared_ptr<MediaData>> pieces;
    for (const QString& music : {chime, QString(), chime}) {
        const auto slides = slideshow(dir.path(), {Qt::blue, Qt::green}, 0.5, music);
        ASSERT_TRUE(slides);
        media->addSectionDataResourceToArray(slides);
        pieces << clip(slides, 0.0, slides->imageSource()->slideshowDuration());
        ASSERT_TRUE(pieces.last());
    }
    title(list, pieces);
    services->disc->setUseNoMenu(true);
    DiscSideRebuild(media, services->disc).flushDVDResourceBeforeEdit();
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->titles().size(), 1);

    const QString work = dir.filePath("work");
    ASSERT_TRUE(QDir().mkpath(work));
    MakeDVDVideo step;
    const ProductionResult result = render(step, disc, work);
    ASSERT_TRUE(result.isSucceeded()) << qPrintable(result.toString());
    EXPECT_EQ(QDir(work).entryList(QDir::Files, QDir::Name),
              (QStringList{"title0.dvd", "title_music_temp-0-0.dvd", "title_music_temp-0-2.dvd"}));
    EXPECT_NEAR(step.totalLength(), 3.0, 0.05);  // the music passes weigh nothing
    EXPECT_GT(meanVolume(work + "/title0.dvd"), -40.0);
}

TEST_F(Production, MenusWeighTwiceTheirDuration)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const FirstDiscProject p = buildFirstDisc(dir.path());
    ASSERT_TRUE(p.top);
    const auto disc = discModel();
    ASSERT_TRUE(disc);
    MakeDVDVideo step;
    step.cancel();  // the totals are made before anything starts
    EXPECT_TRUE(step.makeDVDVideo(disc, dir.filePath("unused")).isCancelled());
    const double titles =
        lengthOf(*p.first) + lengthOf(*p.third) + lengthOf(*p.secondA) + lengthOf(*p.secondB);
    EXPECT_NEAR(step.totalLength(), titles + (2.0 + 1.0) * 2, 0.01);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("unused")));
}

}  // namespace
