// A slideshow takes the shape of its own disc, not the open project's. Two
// projects are made as the title list makes them and saved through the
// project document, a PAL 4:3 one and an NTSC 16:9 one, each with a
// slideshow of one photo of its disc's shape; the program meanwhile has a
// third project open, of 16:9. Both are opened again through the project
// document and kept alive together, and each is produced by production's
// own rendering step and dvdauthor and read back: its slideshow renders at
// the shape of its own disc, and on the disc the photo fills the whole
// picture, with no black bars. Frames are written into
// $BRISANE_TEST_ARTIFACTS as "slideshow-shape-<disc>.png".

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "../media/TransitionTestSupport.h"
#include "../shell/DiscReadBack.h"
#include "DiscRoadSupport.h"
#include "ShellLaunch.h"
#include "corvane/DVDToolLocator.h"
#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListSelection.h"
#include "media/ImageRenderVideo.h"
#include "media/RenderController.h"
#include "model/DVDPageData.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "shell/AppDelegate.h"
#include "shell/core/DiscModelBuilder.h"
#include "shell/core/DiscSideRebuild.h"
#include "shell/core/ProjectDocument.h"

namespace {

struct Disc {
    const char* name;
    qint64 format;  // 1 PAL, 0 NTSC
    qint64 aspect;  // 1 16:9, 0 4:3
    QSize photo;    // of the disc's shape
    QColor colour;
    QSizeF rendered;  // the slideshow's frames
};

const Disc discs[] = {
    {"PAL-4x3", 1, 0, {640, 480}, QColor(200, 60, 40), {960, 720}},
    {"NTSC-16x9", 0, 1, {640, 360}, QColor(40, 90, 200), {960, 540}},
};

class SlideshowDiscShapeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RenderController::setTransitionFolderPath(transitiontest::shippedTransitionFolder());
        DVDToolLocator::setToolFolder(QString());  // the real tools
        ASSERT_TRUE(dir.isValid());
        // The project open in the program: of neither disc's settings.
        shell.delegate->dvd()->setAspectType(1);
        shell.delegate->dvd()->setDvdFormat(1);
    }

    // A project with one title, a slideshow of one photo of the disc's shape
    // imported as the title list imports pictures, without menus; saved
    // into "<name>.brisane".
    QString makeProject(const Disc& d)
    {
        const QString photo = dir.filePath(QString("%1.png").arg(d.name));
        QImage picture(d.photo, QImage::Format_RGB32);
        picture.fill(d.colour);
        EXPECT_TRUE(picture.save(photo));
        ProjectRoots roots{std::make_shared<DataResource>(), std::make_shared<DVDResource>()};
        roots.disc->setDvdFormat(d.format);
        roots.disc->setAspectType(d.aspect);
        roots.disc->setUseNoMenu(true);
        ListSelection selection;
        const auto page = ListMediaFactory::addMenuPageToArray(*roots.media, selection);
        DiscSideRebuild(roots.media, roots.disc).flushDVDResourceBeforeEdit();
        const auto clip = ListMediaFactory::createMediaDataWithImagePaths(*roots.media, {photo});
        EXPECT_TRUE(clip);
        if (!clip) {
            return {};
        }
        ListMediaFactory::appendTitleToPage(ListMediaFactory::createDVDTitleDataWithMedia(clip),
                                            page);
        DiscSideRebuild(roots.media, roots.disc).flushDVDResourceBeforeEdit();
        const QString folder = dir.filePath(QString("%1.brisane").arg(d.name));
        QString error;
        EXPECT_TRUE(ProjectDocument::saveDocumentAtPath(roots, folder, &error))
            << qPrintable(error);
        return folder;
    }

    testsupport::ShellLaunch shell{false};
    QTemporaryDir dir = testsupport::makeTempDir();
};

}  // namespace

TEST_F(SlideshowDiscShapeTest, EachSlideshowTakesItsOwnDiscsShape)
{
    QList<ProjectRoots> projects;
    for (const Disc& d : discs) {
        const QString folder = makeProject(d);
        ASSERT_FALSE(folder.isEmpty());
        QString error;
        const auto roots = ProjectDocument::loadDocumentAtPath(folder, &error);
        ASSERT_TRUE(roots) << qPrintable(error);
        projects.append(*roots);
    }

    for (qsizetype k = 0; k < projects.size(); ++k) {
        const Disc& d = discs[k];
        SCOPED_TRACE(d.name);
        const ProjectRoots& roots = projects[k];
        ASSERT_EQ(roots.disc->aspectType(), d.aspect);
        const auto clip =
            roots.media->dvdPageArray().value(0)->titleDataArray().value(0)->mediaDataArray().value(
                0);
        ASSERT_TRUE(clip && clip->vcmovie());
        const auto slideshow =
            std::dynamic_pointer_cast<ImageRenderVideo>(clip->vcmovie()->movie());
        ASSERT_TRUE(slideshow);
        EXPECT_EQ(slideshow->videoSize(), d.rendered);
        EXPECT_EQ(slideshow->frameAtTime(lm_default_time_base()).size(), d.rendered.toSize());

        DiscSideRebuild(roots.media, roots.disc).flushDVDResourceBeforeEdit();
        const auto model = DiscModelBuilder(roots.disc).getDVDObj();
        ASSERT_TRUE(model);
        ASSERT_EQ(model->titles().size(), 1);
        const QString work = dir.filePath(QString("work-%1").arg(d.name));
        ASSERT_TRUE(QDir().mkpath(work));
        ASSERT_TRUE(testsupport::produceDisc(model, work));
        const QString title = work + "/title.vob";
        ASSERT_TRUE(discreadback::extractTitle(work + "/dvd.dvdmedia", 1, title));
        const QImage frame = testsupport::frameOf(title, 25, work + "/frame.png");
        ASSERT_FALSE(frame.isNull());
        testsupport::writeArtifact(frame, QString("slideshow-shape-%1.png").arg(d.name));
        EXPECT_EQ(frame.size(), model->dvdVideoSize());
        // The photo to every edge: no bars above, below or beside it.
        const int w = frame.width();
        const int h = frame.height();
        for (const QPoint at :
             {QPoint(w / 2, h / 2), QPoint(w / 2, h / 40), QPoint(w / 2, h - h / 40),
              QPoint(w / 40, h / 2), QPoint(w - w / 40, h / 2)}) {
            const QColor seen = frame.pixelColor(at);
            EXPECT_NEAR(seen.red(), d.colour.red(), 24) << at.x() << "," << at.y();
            EXPECT_NEAR(seen.green(), d.colour.green(), 24) << at.x() << "," << at.y();
            EXPECT_NEAR(seen.blue(), d.colour.blue(), 24) << at.x() << "," << at.y();
        }
    }
}
