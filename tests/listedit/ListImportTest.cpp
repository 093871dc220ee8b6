// Importing through the open panel: titles appended to the current page in
// pick order, refused files leaving no trace in the project, one slideshow
// title per picture pick, the import sheet up while the files are opened and
// file drops refused meanwhile.

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProgressBar>
#include <QThread>
#include <QThreadPool>
#include <thread>

#include "ListEditTestFixture.h"
#include "listedit/core/ListMediaFactory.h"
#include "media/RenderItem.h"
#include "model/DVDFileSource.h"
#include "model/DVDTitleData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

using namespace listtest;

namespace {

class ListImportTest : public ListEditTest {
protected:
    std::shared_ptr<DVDPageData> page() const { return project()->dvdPageArray().value(0); }

    // What the sheet and the list look like while the import runs.
    struct DuringImport {
        bool sheetShown = false;
        bool indeterminate = false;
        bool windowModal = false;
        bool listTakesDrops = true;
    };

    // Starts an import through `action` with the panel answering `paths`,
    // notes the screen while it runs and waits for its end.
    DuringImport import(void (ListEditViewController::*action)(), const QStringList& paths)
    {
        panelAnswer = paths;
        (controller.get()->*action)();
        DuringImport during;
        EXPECT_TRUE(controller->isImporting());
        if (QDialog* sheet = controller->importWindow()) {
            during.sheetShown = sheet->isVisible();
            during.windowModal =
                sheet->windowModality() == Qt::WindowModal && sheet->parentWidget() == &window;
            during.indeterminate = controller->importProgress()->maximum() == 0;
            const QString artifacts = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
            if (!artifacts.isEmpty() && QDir().mkpath(artifacts)) {
                sheet->grab().save(artifacts + "/import-sheet.png");
            }
        }
        during.listTakesDrops = controller->listTableView()->acceptDrops();
        EXPECT_TRUE(waitFor([this] { return !controller->isImporting(); }));
        return during;
    }

    // What a project save copies: the files of the registered sources.
    void saveSources(const QString& folder) const
    {
        for (const auto& source : project()->sectionDataResourceArray()) {
            if (source->fileSource()) {
                source->fileSource()->saveSourceAtPath(folder);
            }
        }
    }
};

// A ".VOB" file (any case) is refused and named in one sheet; the others
// become titles of the current page in pick order.
TEST_F(ListImportTest, VideosBecomeTitlesInPickOrder)
{
    makeController();
    const QString a = clip("a.mp4", 1.5);
    const QString b = path("b.VOB");
    ASSERT_TRUE(QFile::copy(clip("b-content.mp4", 1.5), b));
    const QString c = clip("c.mp4", 1.5);
    calls().clear();

    const DuringImport during = import(&ListEditViewController::addVideoToListAction, {a, b, c});

    EXPECT_TRUE(during.sheetShown);
    EXPECT_TRUE(during.windowModal);
    EXPECT_TRUE(during.indeterminate);
    EXPECT_FALSE(during.listTakesDrops);
    EXPECT_FALSE(controller->importWindow()->isVisible());
    EXPECT_TRUE(controller->listTableView()->acceptDrops());
    ASSERT_EQ(alertTexts().size(), 1);
    EXPECT_TRUE(alertTexts().first().contains("1 file could not be added."));
    EXPECT_TRUE(alertTexts().first().contains("b.VOB: single .vob files of a DVD cannot be added"))
        << qPrintable(alertTexts().first());
    EXPECT_EQ(alertServices.alerts->alerts.first().window, &window);

    ASSERT_EQ(requests.size(), 1);
    const MediaOpenPanel::Request& request = requests.first();
    EXPECT_EQ(request.title, "Open Media");
    EXPECT_EQ(request.prompt, "Add");
    EXPECT_TRUE(request.allowsMultipleSelection);
    EXPECT_FALSE(request.canChooseDirectories);
    EXPECT_TRUE(request.canChooseFiles);
    EXPECT_TRUE(request.allowedFileTypes.isEmpty());
    EXPECT_EQ(panelParents.first(), &window);

    ASSERT_EQ(project()->dvdPageArray().size(), 1);
    const auto titles = page()->titleDataArray();
    ASSERT_EQ(titles.size(), 2);
    QStringList names;
    for (const auto& title : titles) {
        EXPECT_EQ(title->superPage(), page());
        ASSERT_EQ(title->mediaDataArray().size(), 1);
        const auto media = title->mediaDataArray().first();
        EXPECT_EQ(media->superTitleData(), title);
        names << title->name() << media->name();
    }
    // The list names its entries from their places when it reloads.
    EXPECT_EQ(names, (QStringList{"Title_0", "a_chapter_0", "Title_1", "c_chapter_0"}));
    const auto& sources = project()->sectionDataResourceArray();
    ASSERT_EQ(sources.size(), 2);
    EXPECT_EQ(sources.at(0)->fileSource()->path(), a);
    EXPECT_EQ(sources.at(1)->fileSource()->path(), c);
    EXPECT_EQ(sources.at(0)->mediaSectionArray().first()->associatedMedia(),
              titles.at(0)->mediaDataArray().first());
    // The list was reloaded once the titles were there.
    EXPECT_EQ(calls().count("initDvdResource"), 1);
    EXPECT_EQ(calls().last(), "setDocumentEdited:YES");
}

// A clip under one second has a section but no clip: its source is never
// registered, so a save copies nothing of it.
TEST_F(ListImportTest, RefusedClipLeavesNoTrace)
{
    makeController();
    const QString shortClip = clip("short.mp4", 0.5);
    calls().clear();
    import(&ListEditViewController::addVideoToListAction, {shortClip, path("missing.mp4")});

    EXPECT_TRUE(page()->titleDataArray().isEmpty());
    // Both named, with why, in one sheet; the document is not edited.
    ASSERT_EQ(alertTexts().size(), 1);
    EXPECT_TRUE(alertTexts().first().contains("2 files could not be added."));
    EXPECT_TRUE(alertTexts().first().contains("short.mp4: the video is shorter than 1 second"))
        << qPrintable(alertTexts().first());
    EXPECT_TRUE(alertTexts().first().contains("missing.mp4: ")) << qPrintable(alertTexts().first());
    EXPECT_FALSE(calls().contains("setDocumentEdited:YES")) << qPrintable(calls().join(' '));
    EXPECT_TRUE(project()->sectionDataResourceArray().isEmpty());
    const QString saved = path("project");
    saveSources(saved);
    EXPECT_FALSE(QDir(saved + "/dvd-file").exists());
    EXPECT_FALSE(controller->importWindow()->isVisible());

    // The same through the factory the desktop drop uses.
    EXPECT_EQ(controller->createMediaDataWithPath(shortClip), nullptr);
    EXPECT_TRUE(project()->sectionDataResourceArray().isEmpty());
    const auto good = controller->createMediaDataWithPath(clip("good.mp4", 1.2));
    ASSERT_TRUE(good);
    EXPECT_EQ(project()->sectionDataResourceArray(),
              (DataResource::SourceList{good->sectionItem()->superResource()}));
}

// The pictures of one pick become one slideshow clip in one new title.
TEST_F(ListImportTest, PicturesBecomeOneSlideshowTitle)
{
    makeController();
    QStringList pictures;
    for (const QColor colour : {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan}) {
        pictures << picture(QString("photo-%1.png").arg(pictures.size()), colour);
    }
    const DuringImport during = import(&ListEditViewController::addPictureToListAction, pictures);
    EXPECT_TRUE(during.sheetShown);
    EXPECT_FALSE(during.listTakesDrops);

    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first().title, "Open Media");
    EXPECT_TRUE(requests.first().allowedFileTypes.contains("png"));
    EXPECT_TRUE(requests.first().allowedFileTypes.contains("jpg"));
    EXPECT_TRUE(MediaOpenPanel::nameFilter(requests.first()).contains("*.JPG"));

    ASSERT_EQ(page()->titleDataArray().size(), 1);
    const auto title = page()->titleDataArray().first();
    ASSERT_EQ(title->mediaDataArray().size(), 1);
    const auto slideshow = title->mediaDataArray().first();
    EXPECT_TRUE(slideshow->isImageData());
    ASSERT_EQ(project()->sectionDataResourceArray().size(), 1);
    const auto source = project()->sectionDataResourceArray().first();
    ASSERT_TRUE(source->imageSource());
    EXPECT_EQ(source->imageSource()->mtAryPhotoItems().size(), 5);
    EXPECT_DOUBLE_EQ(slideshow->imageDataDuration(), source->imageSource()->slideshowDuration());
    EXPECT_EQ(slideshow->sectionItem()->superResource(), source);
}

// Files that cannot be used are named in one sheet with why, and leave the
// document unedited when nothing was added; a panorama of 200 megapixels is
// read at its working size and becomes a photo like any other.
TEST_F(ListImportTest, RefusedFilesAreNamedAndPanoramasImport)
{
    makeController();
    const QString text = path("notes.mp4");
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("this is text, not a movie\n");
    notes.close();
    calls().clear();
    import(&ListEditViewController::addVideoToListAction, {text});
    EXPECT_TRUE(page()->titleDataArray().isEmpty());
    ASSERT_EQ(alertTexts().size(), 1);
    EXPECT_TRUE(alertTexts().first().contains("notes.mp4: ")) << qPrintable(alertTexts().first());
    EXPECT_FALSE(calls().contains("setDocumentEdited:YES")) << qPrintable(calls().join(' '));

    const QString empty = path("empty.jpg");
    QFile(empty).open(QIODevice::WriteOnly);
    const QString panorama = path("panorama.png");
    ASSERT_TRUE(testsupport::generateMedia(
        panorama, {"-f", "lavfi", "-i", "color=c=0x3050c0:s=20000x10000,format=rgb24", "-frames:v",
                   "1", "-compression_level", "1"}));
    const QString small = picture("small.png", Qt::green);
    alertServices.alerts->alerts.clear();
    calls().clear();
    import(&ListEditViewController::addPictureToListAction, {empty, panorama, small});
    ASSERT_EQ(page()->titleDataArray().size(), 1);
    const auto source = project()->sectionDataResourceArray().value(0);
    ASSERT_TRUE(source && source->imageSource());
    const auto photos = source->imageSource()->mtAryPhotoItems();
    ASSERT_EQ(photos.size(), 2);
    EXPECT_EQ(photos.first()->szOriginalSize(), QSizeF(20000, 10000));
    const QImage working(photos.first()->strImagePath());
    EXPECT_EQ(working.size(), QSize(1200, 600));
    const QColor middle = working.pixelColor(600, 300);
    EXPECT_NEAR(middle.red(), 0x30, 12);
    EXPECT_NEAR(middle.green(), 0x50, 12);
    EXPECT_NEAR(middle.blue(), 0xc0, 12);
    testsupport::writeArtifact(working, "import-panorama-working-copy.png");
    ASSERT_EQ(alertTexts().size(), 1);
    EXPECT_TRUE(alertTexts().first().contains("1 file could not be added."));
    EXPECT_TRUE(alertTexts().first().contains("empty.jpg: ")) << qPrintable(alertTexts().first());
    EXPECT_FALSE(alertTexts().first().contains("panorama"));
    EXPECT_TRUE(calls().contains("setDocumentEdited:YES"));
}

TEST_F(ListImportTest, CancelledPanelChangesNothing)
{
    makeController();
    const auto pagesBefore = project()->dvdPageArray();
    calls().clear();
    panelAnswer = {};
    controller->addVideoToListAction();
    controller->addPictureToListAction();
    settle();
    EXPECT_EQ(requests.size(), 2);
    EXPECT_FALSE(controller->isImporting());
    EXPECT_EQ(controller->importWindow(), nullptr);
    EXPECT_EQ(project()->dvdPageArray(), pagesBefore);
    EXPECT_TRUE(page()->titleDataArray().isEmpty());
    EXPECT_TRUE(project()->sectionDataResourceArray().isEmpty());
    EXPECT_TRUE(calls().isEmpty());
}

// Imports go to the current page, not to the last one.
TEST_F(ListImportTest, TitlesGoToTheCurrentPage)
{
    makeController();
    const auto first = page();
    controller->addMenuPageAction();
    ASSERT_EQ(project()->dvdPageArray().size(), 2);
    controller->setCurrentDVDPage(first);
    import(&ListEditViewController::addVideoToListAction, {clip("a.mp4", 1.2)});
    EXPECT_EQ(first->titleDataArray().size(), 1);
    EXPECT_TRUE(project()->dvdPageArray().at(1)->titleDataArray().isEmpty());
}

// The chapter editor closes the import sheet without having shown it; that
// must not close any other dialog of the window.
TEST_F(ListImportTest, ClosingASheetThatIsNotShownDoesNothing)
{
    makeController();
    controller->closeImportWindow();
    EXPECT_EQ(controller->importWindow(), nullptr);

    QDialog other(&window);
    other.setWindowModality(Qt::WindowModal);
    other.open();
    controller->showImportWindow();
    controller->closeImportWindow();
    EXPECT_FALSE(controller->importWindow()->isVisible());
    controller->closeImportWindow();
    controller->closeImportWindowInMainThread();
    EXPECT_TRUE(other.isVisible());
    EXPECT_FALSE(controller->importWindow()->isVisible());
}

// A list editor that goes away while its import runs leaves no sheet on the
// window, and the import's end finds nothing to touch.
TEST_F(ListImportTest, ControllerGoneDuringImport)
{
    makeController();
    panelAnswer = {clip("a.mp4", 1.2)};
    controller->addVideoToListAction();
    QPointer<QDialog> sheet = controller->importWindow();
    ASSERT_TRUE(sheet && sheet->isVisible());
    controller.reset();
    EXPECT_TRUE(sheet.isNull());
    QThreadPool::globalInstance()->waitForDone();
    settle();
    EXPECT_TRUE(page()->titleDataArray().isEmpty());
    EXPECT_TRUE(project()->sectionDataResourceArray().isEmpty());
}

TEST_F(ListImportTest, BlocksRunOnTheMainThreadAndAreWaitedFor)
{
    QThread* ranOn = nullptr;
    ListEditViewController::performBlockOnMainThread([&] { ranOn = QThread::currentThread(); });
    EXPECT_EQ(ranOn, QThread::currentThread());

    ranOn = nullptr;
    std::atomic<bool> returned = false;
    bool ranBeforeReturn = false;
    std::thread worker([&] {
        ListEditViewController::performBlockOnMainThread([&] { ranOn = QThread::currentThread(); });
        ranBeforeReturn = ranOn != nullptr;
        returned = true;
    });
    EXPECT_TRUE(waitFor([&] { return returned.load(); }, 10000));
    worker.join();
    EXPECT_EQ(ranOn, QApplication::instance()->thread());
    EXPECT_TRUE(ranBeforeReturn);
}

}  // namespace
