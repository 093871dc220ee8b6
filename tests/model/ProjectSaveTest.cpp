// A project's media side saved with its source copies in "dvd-file" and
// reopened: paths re-pointed, media items rebuilt, edits re-applied, back
// links restored; a source missing at load keeps its clip's edits.

#include <sys/stat.h>
#include <unistd.h>
#include <QDateTime>
#include <QFileInfo>

#include "DataResourceTestFixture.h"
#include "media/VCMovie.h"
#include "model/CustomButtonImageResource.h"
#include "model/DVDFileSource.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/MusicData.h"
#include "model/SectionDataResource.h"
#include "shell/core/ProjectDocument.h"

using namespace mediatest;

namespace {

void setModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

void save(const Project& project, const QString& folder)
{
    QString error;
    ASSERT_TRUE(ProjectDocument::saveDocumentAtPath({project.media, project.disc}, folder, &error))
        << error.toStdString();
}

Project reopen(const QString& folder)
{
    QString error;
    const auto roots = ProjectDocument::loadDocumentAtPath(folder, &error);
    EXPECT_TRUE(roots) << error.toStdString();
    return roots ? Project{roots->media, roots->disc} : Project{};
}

class ProjectSaveTest : public MediaSideTest {
protected:
    MediaData::Ptr import(const std::shared_ptr<SectionDataResource>& source,
                          const std::shared_ptr<DVDTitleData>& title)
    {
        const auto section = source->createMediaSectionItem();
        EXPECT_TRUE(section);
        if (!section) {
            return nullptr;
        }
        source->mediaSectionArray().append(section);
        services->media->addSectionDataResourceToArray(source);
        const auto made = section->createMediaData();
        EXPECT_TRUE(made);
        if (made) {
            made->flushSuperTitleData(title);
            title->mediaDataArray().append(made);
        }
        return made;
    }

    Project project() const { return {services->media, services->disc}; }
};

TEST_F(ProjectSaveTest, ReopenedProjectHasItsMediaAndEdits)
{
    const QString movieFile = clip("holiday.mp4", 2.0);
    const QString songFile = path("song.m4a");
    ASSERT_TRUE(testsupport::generateMedia(
        songFile, {"-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-c:a", "aac"}));
    const QString buttonFile = picture("button.png", Qt::magenta);

    auto page = std::make_shared<DVDPageData>();
    auto title = std::make_shared<DVDTitleData>();
    title->setName("Title _ 0");
    title->setSuperPage(page);
    page->titleDataArray().append(title);
    services->media->addDvdPageToArray(page);
    const auto movie = import(SectionDataResource::resourceWithPath(movieFile), title);
    const auto show = import(SectionDataResource::resourceWithImagePaths(
                                 {picture("p1.png", Qt::red), picture("p2.png", Qt::blue)}),
                             title);
    ASSERT_TRUE(movie && show);
    movie->vcmovie()->setTrimStart(seconds(0.25));
    movie->vcmovie()->setTrimStop(seconds(1.75));
    movie->vcmovie()->setEnableWatermark(true);
    movie->vcmovie()->setWatermarkType(1);
    movie->vcmovie()->setWatermarkText("Summer");
    movie->vcmovie()->setWatermarkRect(QRectF(0.5, 0.5, 0.25, 0.1));
    movie->ffmovie()->setBrightness(0.8f);
    movie->ffmovie()->setSaturation(0.2f);

    auto menu = std::make_shared<DVDPage>();
    menu->setMedia(page);
    page->setMenuPage(menu);
    auto music = MusicData::musicDataWithPath(songFile);
    ASSERT_TRUE(music);
    music->vcmovie()->setTrimStop(seconds(2.0));
    menu->setMusic(music);
    services->disc->setPageArray({menu});
    auto button = CustomButtonImageResource::createCustomButtonResourceWithPath(buttonFile);
    button->setType(1);
    services->disc->setCustomButtonImageResourceArray({button});

    const QString folder = path("My Project");
    save(project(), folder);
    const QString copy = folder + "/dvd-file/" + DVDFileSource::shaString(movieFile) + ".mp4";
    ASSERT_TRUE(QFileInfo(copy).isFile());
    for (const QString& original : {movieFile, songFile, buttonFile}) {
        QFile::remove(original);  // the project must stand on its copies
    }

    const Project back = reopen(folder);
    ASSERT_TRUE(back.media && back.disc);
    ASSERT_EQ(back.media->sectionDataResourceArray().size(), 2);
    const auto source = back.media->sectionDataResourceArray().first();
    EXPECT_EQ(source->fileSource()->path(), copy);
    EXPECT_EQ(source->fileSource()->originName(), "holiday");
    const auto section = source->mediaSectionArray().first();
    EXPECT_EQ(section->superResource(), source);
    const auto clip = section->associatedMedia();
    ASSERT_TRUE(clip);
    const auto title2 = back.media->dvdPageArray().first()->titleDataArray().first();
    EXPECT_EQ(clip, title2->mediaDataArray().first());
    EXPECT_EQ(clip->superTitleData(), title2);
    EXPECT_EQ(clip->sectionItem(), section);
    ASSERT_TRUE(clip->vcmovie());
    EXPECT_EQ(clip->vcmovie()->trimStart(), seconds(0.25));
    EXPECT_EQ(clip->vcmovie()->trimStop(), seconds(1.75));
    EXPECT_TRUE(clip->vcmovie()->enableWatermark());
    EXPECT_EQ(clip->vcmovie()->watermarkText(), "Summer");
    EXPECT_EQ(clip->vcmovie()->watermarkRect(), QRectF(0.5, 0.5, 0.25, 0.1));
    EXPECT_FLOAT_EQ(clip->ffmovie()->brightness(), 0.8f);
    EXPECT_FLOAT_EQ(clip->ffmovie()->saturation(), 0.2f);
    EXPECT_EQ(clip->ffmovie()->zoomType(), 2);
    EXPECT_EQ(clip->name(), "holiday");

    const auto slideshowClip =
        back.media->sectionDataResourceArray()[1]->mediaSectionArray().first()->associatedMedia();
    ASSERT_TRUE(slideshowClip);
    EXPECT_EQ(slideshowClip->name(), "PhotoSlideshow");
    ASSERT_TRUE(slideshowClip->vcmovie());
    EXPECT_EQ(
        slideshowClip->vcmovie()->trimStop(),
        seconds(back.media->sectionDataResourceArray()[1]->imageSource()->slideshowDuration()));

    const auto menu2 = back.disc->pageArray().first();
    EXPECT_EQ(menu2->media(), back.media->dvdPageArray().first());
    ASSERT_TRUE(menu2->music());
    ASSERT_TRUE(menu2->music()->vcmovie());
    EXPECT_DOUBLE_EQ(menu2->music()->musicDuration(), 2.0);
    const auto button2 = std::dynamic_pointer_cast<CustomButtonImageResource>(
        back.disc->customButtonImageResourceArray().first());
    ASSERT_TRUE(button2);
    EXPECT_EQ(button2->image().pixelColor(0, 0), QColor(Qt::magenta));
}

TEST_F(ProjectSaveTest, MissingSourceKeepsTheClipsEditsThroughAnotherSave)
{
    auto title = std::make_shared<DVDTitleData>();
    auto page = std::make_shared<DVDPageData>();
    page->titleDataArray().append(title);
    services->media->addDvdPageToArray(page);
    const QString file = clip("gone.mp4", 1.5);
    const auto made = import(SectionDataResource::resourceWithPath(file), title);
    ASSERT_TRUE(made);
    made->vcmovie()->setTrimStart(seconds(0.5));
    made->ffmovie()->setContrast(0.6f);

    const QString first = path("First");
    save(project(), first);
    const Value::Dictionary snapshot = made->movieAttributes();
    ASSERT_TRUE(snapshot.contains("trimStart"));
    QDir(first + "/dvd-file").removeRecursively();

    const Project back = reopen(first);
    const auto clip =
        back.media->dvdPageArray().first()->titleDataArray().first()->mediaDataArray().first();
    EXPECT_EQ(clip->vcmovie(), nullptr);
    EXPECT_EQ(clip->movieAttributes(), snapshot);

    const QString second = path("Second");
    save(back, second);
    const Project again = reopen(second);
    const auto clip2 =
        again.media->dvdPageArray().first()->titleDataArray().first()->mediaDataArray().first();
    EXPECT_EQ(clip2->movieAttributes(), snapshot);
}

TEST_F(ProjectSaveTest, CopiesAreMadeOnceAndRefreshedWhenTheFileChanged)
{
    const QString file = clip("a.mp4", 1.0);
    const auto source = DVDFileSource::sourceWithPath(file);
    const QString folder = path("P");
    const QString copy = folder + "/dvd-file/" + source->savedFileName();
    ASSERT_TRUE(source->saveSourceAtPath(folder));
    struct stat before {};
    ASSERT_EQ(stat(QFile::encodeName(copy).constData(), &before), 0);
    ASSERT_TRUE(source->saveSourceAtPath(folder));
    struct stat after {};
    ASSERT_EQ(stat(QFile::encodeName(copy).constData(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);  // placed once
    EXPECT_EQ(source->path(), file);         // not re-pointed by saving

    // The file is replaced (not edited in place, so the link keeps the old
    // content) after the copy was made: the next save refreshes the copy.
    QFile::remove(file);
    clip("a.mp4", 2.0);
    setModified(file, QDateTime::currentDateTime().addSecs(60));
    ASSERT_NE(QFileInfo(copy).size(), QFileInfo(file).size());
    ASSERT_TRUE(source->saveSourceAtPath(folder));
    EXPECT_EQ(QFileInfo(copy).size(), QFileInfo(file).size());

    // An older file of the same path never replaces a newer copy.
    const QString older = path("older.mp4");
    clip("older.mp4", 1.0);
    setModified(older, QDateTime::currentDateTime().addSecs(-3600));
    const auto stale = DVDFileSource::sourceWithPath(older);
    stale->setSavedFileName(source->savedFileName());
    ASSERT_TRUE(stale->saveSourceAtPath(folder));
    EXPECT_EQ(QFileInfo(copy).size(), QFileInfo(file).size());
}

// A file imported through a link (here one relative to its folder) is kept
// in the project as the file itself: the project still plays it once the
// link and the file it leads to are gone.
TEST_F(ProjectSaveTest, SourceImportedThroughALinkIsCopiedAsItsFile)
{
    auto title = std::make_shared<DVDTitleData>();
    auto page = std::make_shared<DVDPageData>();
    page->titleDataArray().append(title);
    services->media->addDvdPageToArray(page);
    const QString file = clip("real.mp4", 1.0);
    const QString link = path("link.mp4");
    ASSERT_EQ(::symlink("real.mp4", QFile::encodeName(link).constData()), 0);
    ASSERT_TRUE(import(SectionDataResource::resourceWithPath(link), title));

    const QString folder = path("Linked");
    save(project(), folder);
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::remove(file));
    const Project back = reopen(folder);
    const auto source = back.media->sectionDataResourceArray().first()->fileSource();
    ASSERT_TRUE(source);
    const QFileInfo copy(source->path());
    EXPECT_TRUE(copy.isFile() && !copy.isSymLink()) << qPrintable(copy.filePath());
    const auto clip =
        back.media->dvdPageArray().first()->titleDataArray().first()->mediaDataArray().first();
    ASSERT_TRUE(clip->vcmovie() && clip->vcmovie()->movie());
    EXPECT_TRUE(clip->vcmovie()->movie()->hasVideo());
}

TEST_F(ProjectSaveTest, MissingFileAndUnsafeNames)
{
    const auto missing = DVDFileSource::sourceWithPath(path("missing.mp4"));
    EXPECT_FALSE(missing->saveSourceAtPath(path("P")));
    EXPECT_FALSE(QFileInfo::exists(path("P/dvd-file/") + missing->savedFileName()));

    DVDFileSource hostile;
    hostile.setSavedFileName("../../escape.mp4");
    hostile.setFile_path(clip("x.mp4", 1.0));
    EXPECT_FALSE(hostile.saveSourceAtPath(path("P")));
    hostile.loadSourceAtPath(path("P"));
    EXPECT_TRUE(hostile.path().isEmpty());
}

}  // namespace
