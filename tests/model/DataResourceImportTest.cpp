// Importing sources: the section and clip refusal rules on generated clips,
// slideshow clips, the project root's arrays, and the names of source copies.

#include <QFileInfo>

#include "DataResourceTestFixture.h"
#include "media/ImageRenderVideo.h"
#include "media/RenderItem.h"
#include "media/VCMovie.h"
#include "model/DVDFileSource.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

using namespace mediatest;

namespace {

class DataResourceImportTest : public MediaSideTest {
protected:
    // A silent clip of whole frames at 10 per second, so that it lasts
    // exactly `length` seconds.
    QString exactClip(const QString& name, double length)
    {
        const QString file = path(name);
        EXPECT_TRUE(testsupport::generateMedia(
            file,
            {"-f", "lavfi", "-i", QString("testsrc=size=160x120:rate=10:duration=%1").arg(length),
             "-pix_fmt", "yuv420p"}));
        return file;
    }
};

TEST_F(DataResourceImportTest, ClipLengthDecidesSectionAndClip)
{
    struct Case {
        double length;
        bool section;
        bool clip;
    };
    for (const Case c : {Case{0.1, false, false}, Case{0.5, true, false}, Case{1.0, true, true},
                         Case{2.0, true, true}}) {
        SCOPED_TRACE(c.length);
        const auto source = SectionDataResource::resourceWithPath(
            exactClip(QString("clip-%1.mp4").arg(c.length), c.length));
        const auto section = source->createMediaSectionItem();
        ASSERT_EQ(section != nullptr, c.section);
        if (!section) {
            continue;
        }
        EXPECT_EQ(section->startTimeInMedia(), 0);
        EXPECT_EQ(section->endTimeInMedia(), seconds(c.length));
        EXPECT_EQ(section->superResource(), source);
        EXPECT_TRUE(source->mediaSectionArray().isEmpty());  // the caller adds it
        source->mediaSectionArray().append(section);
        const auto made = section->createMediaData();
        ASSERT_EQ(made != nullptr, c.clip);
        if (!made) {
            EXPECT_EQ(section->associatedMedia(), nullptr);
            continue;
        }
        EXPECT_EQ(made->sectionItem(), section);
        EXPECT_EQ(section->associatedMedia(), made);
        EXPECT_FALSE(made->isImageData());
        EXPECT_EQ(made->path(), source->fileSource()->path());
        EXPECT_EQ(made->name(), QString("clip-%1").arg(c.length));
        EXPECT_EQ(made->audioTreamTag(), 99);
        ASSERT_TRUE(made->vcmovie());
        EXPECT_EQ(made->ffmovie()->zoomType(), 2);
        EXPECT_EQ(made->vcmovie()->videoOutputSize(), QSizeF(854, 480));
        EXPECT_FALSE(made->previewImage().isNull());
        EXPECT_EQ(made->vcmovie()->thumbnail().size(), made->previewImage().size());
    }
}

// The picture a clip shows in the list has the shape the source is shown
// in: pixels that are not square (a camcorder's 4:3 pixels) and a display
// matrix (a phone held upright) change it from the stored shape.
TEST_F(DataResourceImportTest, ClipPictureHasTheShownShape)
{
    const QString stored = path("stored.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        stored, {"-f", "lavfi", "-i", "testsrc=size=160x90:rate=10:duration=2", "-c:v", "libx264",
                 "-pix_fmt", "yuv420p"}));
    const QString upright = path("upright.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        upright, {"-i", stored, "-c", "copy", "-metadata:s:v:0", "rotate=90"}));
    const QString wide = path("wide.mp4");
    ASSERT_TRUE(testsupport::generateMedia(
        wide, {"-f", "lavfi", "-i", "testsrc=size=240x180:rate=10:duration=2", "-vf", "setsar=4/3",
               "-c:v", "libx264", "-pix_fmt", "yuv420p"}));
    struct Case {
        QString file;
        double shape;  // width / height as shown
    };
    for (const Case& c : {Case{stored, 16.0 / 9}, Case{upright, 9.0 / 16}, Case{wide, 16.0 / 9}}) {
        SCOPED_TRACE(c.file.toStdString());
        const auto source = SectionDataResource::resourceWithPath(c.file);
        const auto section = source->createMediaSectionItem();
        ASSERT_TRUE(section);
        source->mediaSectionArray().append(section);
        const auto made = section->createMediaData();
        ASSERT_TRUE(made);
        const QImage picture = made->previewImage();
        ASSERT_FALSE(picture.isNull());
        EXPECT_NEAR(double(picture.width()) / picture.height(), c.shape, 0.03);
    }
}

TEST_F(DataResourceImportTest, OutputSizeIsTheCanvasOfTheItemsDisc)
{
    const auto source = SectionDataResource::resourceWithPath(clip("a.mp4", 1.2));
    for (const QSizeF canvas : {QSizeF(640, 480), QSizeF(854, 480)}) {
        const auto item = SectionDataResource::createVcmovieWithSectionDataSource(*source, canvas);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->videoOutputSize(), canvas);
    }

    // A media side answers the canvas of its disc; a new disc's without one.
    DataResource media;
    EXPECT_EQ(media.discCanvasSize(), QSizeF(854, 480));
    media.setDvdResource(services->disc);
    for (const auto& [aspect, size] :
         QList<std::pair<qint64, QSizeF>>{{0, {640, 480}}, {1, {854, 480}}, {2, {854, 480}}}) {
        services->disc->setAspectType(aspect);
        EXPECT_EQ(media.discCanvasSize(), size) << aspect;
    }
}

TEST_F(DataResourceImportTest, RefusedSources)
{
    const QString text = path("notes.mp4");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a movie");
    file.close();
    const QString music = path("music.m4a");
    ASSERT_TRUE(testsupport::generateMedia(
        music, {"-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-c:a", "aac"}));
    for (const QString& refused : {text, music, path("missing.mp4")}) {
        SCOPED_TRACE(refused.toStdString());
        EXPECT_EQ(SectionDataResource::resourceWithPath(refused)->createMediaSectionItem(),
                  nullptr);
    }
    // A source that is neither a file nor a slideshow gives nothing.
    EXPECT_EQ(SectionDataResource().createMediaSectionItem(), nullptr);
}

TEST_F(DataResourceImportTest, SlideshowBecomesPhotoSlideshow)
{
    const auto source = SectionDataResource::resourceWithImagePaths(
        {picture("a.png", Qt::red), picture("b.png", Qt::green), picture("c.png", Qt::blue)});
    ASSERT_TRUE(source->imageSource());
    EXPECT_EQ(source->fileSource(), nullptr);
    source->setSlideshowMovieFactory([](const std::shared_ptr<RenderItem>& slideshow) {
        return std::make_shared<SlideshowStandIn>(slideshow->slideshowDuration());
    });
    const double length = source->imageSource()->slideshowDuration();
    ASSERT_GE(length, 1.0);
    const auto section = source->createMediaSectionItem();
    ASSERT_TRUE(section);
    EXPECT_EQ(section->startTimeInMedia(), 0);
    EXPECT_EQ(section->endTimeInMedia(), seconds(length));
    const auto made = section->createMediaData();
    ASSERT_TRUE(made);
    EXPECT_EQ(made->name(), "PhotoSlideshow");
    EXPECT_TRUE(made->isImageData());
    EXPECT_DOUBLE_EQ(made->imageDataDuration(), length);
    EXPECT_TRUE(made->path().isNull());
    EXPECT_EQ(made->vcmovie()->trimStop(), seconds(length));
    EXPECT_EQ(made->vcmovie()->videoOutputSize(), QSizeF(854, 480));
    EXPECT_FALSE(made->previewImage().isNull());  // the default picture
}

TEST_F(DataResourceImportTest, DefaultFactoryPlaysSlideshowsThroughTheSlideshowSource)
{
    const auto source = SectionDataResource::resourceWithImagePaths({picture("a.png", Qt::red)});
    const auto section = source->createMediaSectionItem();
    ASSERT_NE(section, nullptr);
    const auto movie = SectionDataResource::defaultSlideshowMovie(std::make_shared<RenderItem>());
    EXPECT_TRUE(std::dynamic_pointer_cast<ImageRenderVideo>(movie));
    EXPECT_EQ(SectionDataResource::defaultSlideshowMovie(nullptr), nullptr);
}

TEST_F(DataResourceImportTest, RootArraysAddAndRemoveByIdentity)
{
    DataResource root;
    const auto a = std::make_shared<SectionDataResource>();
    const auto b = std::make_shared<SectionDataResource>();
    root.addSectionDataResourceToArray(a);
    root.addSectionDataResourceToArray(b);
    root.addSectionDataResourceToArray(a);
    EXPECT_EQ(root.sectionDataResourceArray(), (DataResource::SourceList{a, b, a}));
    root.removeSectionDataResourceFromArray(std::make_shared<SectionDataResource>());
    EXPECT_EQ(root.sectionDataResourceArray(), (DataResource::SourceList{a, b, a}));
    root.removeSectionDataResourceFromArray(a);
    EXPECT_EQ(root.sectionDataResourceArray(), (DataResource::SourceList{b}));
}

TEST(DVDFileSourceTest, NamesOfTheCopy)
{
    struct Case {
        QString path;
        QString name;
        QString extension;
    };
    for (const Case& c :
         {Case{"/videos/Movie.part1.mp4", "Movie.part1", "mp4"},
          Case{"/videos/README", "README", ""}, Case{"/videos/clip.MOV", "clip", "MOV"}}) {
        SCOPED_TRACE(c.path.toStdString());
        const auto source = DVDFileSource::sourceWithPath(c.path);
        EXPECT_EQ(source->path(), c.path);
        EXPECT_EQ(source->originName(), c.name);
        const QString hash = DVDFileSource::shaString(c.path);
        EXPECT_EQ(hash.size(), 64);
        EXPECT_EQ(hash, hash.toLower());
        EXPECT_EQ(source->savedFileName(), hash + "." + c.extension);
    }
    EXPECT_EQ(DVDFileSource::shaString(""), DVDFileSource::shaString("     "));
    EXPECT_EQ(DVDFileSource::shaString("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
