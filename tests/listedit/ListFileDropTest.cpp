// Files dragged from the desktop onto the title list, with generated videos
// and pictures: the place the drag shows and whether it is taken, the clips
// the drop makes (videos first, pictures only when no video gave a clip),
// where they go, and drops that add nothing and leave nothing behind.
//
// The tree (list coordinates, y down): P0 10, T0 65, A 115, B 190,
// G 265 (S0 340, S1 415, S2 490), T1 565, C 615, P1 690, T2 745, D 795.

#include <QDialog>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include "ListTreeOnScreenTest.h"
#include "listedit/InsertLineView.h"
#include "media/RenderItem.h"
#include "model/DVDFileSource.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

using namespace listtest;

namespace {

class ListFileDropTest : public ListTreeOnScreenTest {
protected:
    static std::unique_ptr<QMimeData> files(const QStringList& paths)
    {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls.append(QUrl::fromLocalFile(path));
        }
        data->setUrls(urls);
        return data;
    }
    // A drag entering and moving to `point`; answers whether it is taken.
    bool dragTo(const QStringList& paths, const QPointF& point)
    {
        const auto data = files(paths);
        QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&list(), &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDragMoveEvent move(point.toPoint(), Qt::CopyAction, data.get(), Qt::LeftButton,
                            Qt::NoModifier);
        move.ignore();
        QApplication::sendEvent(&list(), &move);
        return move.isAccepted() && move.dropAction() == Qt::CopyAction;
    }
    // Drags to `point`, drops there and waits for the import; answers
    // whether the drop was taken and notes the sheet while it ran.
    bool drop(const QStringList& paths, const QPointF& point,
              const std::function<void()>& whileImporting = {})
    {
        dragTo(paths, point);
        const auto data = files(paths);
        QDropEvent event(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        event.ignore();
        QApplication::sendEvent(&list(), &event);
        if (!event.isAccepted()) {
            EXPECT_FALSE(list().isImportingDrop());
            return false;
        }
        EXPECT_TRUE(list().isImportingDrop());
        sheetShown = controller->importWindow() && controller->importWindow()->isVisible();
        takesDropsMeanwhile = dragTo(paths, point);
        if (whileImporting) {
            whileImporting();
        }
        EXPECT_TRUE(waitFor([this] { return !list().isImportingDrop(); }));
        EXPECT_FALSE(controller->importWindow()->isVisible());
        EXPECT_TRUE(list().acceptDrops());
        return true;
    }

    QString video(const char* name) { return clip(name, 1.5); }
    // The clip made of a file, by its source's path.
    static bool madeOf(const MediaData::Ptr& clip, const QString& path)
    {
        const auto section = clip ? clip->sectionItem() : nullptr;
        const auto source = section ? section->superResource() : nullptr;
        return source && source->fileSource() && source->fileSource()->path() == path;
    }

    bool sheetShown = false;
    bool takesDropsMeanwhile = true;
};

TEST_F(ListFileDropTest, VideosOnAPageRowBecomeTitlesAtItsTopInDropOrder)
{
    const QStringList videos{video("one.mp4"), video("two.mp4"), video("three.mp4")};
    calls().clear();
    EXPECT_TRUE(dragTo(videos, {200, 700}));
    EXPECT_EQ(list().lineView()->lineFrame(), QRectF(70, 737.5, list().width() - 70, 1));
    ASSERT_TRUE(drop(videos, {200, 700}));
    EXPECT_TRUE(sheetShown);
    EXPECT_FALSE(takesDropsMeanwhile);

    const auto& titles = tree.P1->titleDataArray();
    ASSERT_EQ(titles.size(), 4);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(titles.at(i)->superPage(), tree.P1);
        ASSERT_EQ(titles.at(i)->mediaDataArray().size(), 1);
        EXPECT_TRUE(madeOf(titles.at(i)->mediaDataArray().first(), videos.at(i)));
        EXPECT_EQ(titles.at(i)->mediaDataArray().first()->superTitleData(), titles.at(i));
    }
    EXPECT_EQ(titles.at(3), tree.T2);
    EXPECT_EQ(project()->sectionDataResourceArray().size(), 3);
    EXPECT_EQ(list().insertOrMerge(), 0);
    EXPECT_FALSE(list().lineView()->isVisible());
    EXPECT_TRUE(calls().contains("setDocumentEdited:YES"));
}

// Below the last clip of a title the drop point's x decides; on a plain clip
// the drop merges.
TEST_F(ListFileDropTest, GapAndClipPlaces)
{
    const QString file = video("v.mp4");
    ASSERT_TRUE(drop({file}, {100, 680}));
    ASSERT_EQ(tree.P0->titleDataArray().size(), 3);
    EXPECT_EQ(tree.P0->titleDataArray().at(1), tree.T1);
    EXPECT_TRUE(madeOf(tree.P0->titleDataArray().at(2)->mediaDataArray().value(0), file));

    ASSERT_TRUE(drop({file}, {150, 680}));
    ASSERT_EQ(tree.T1->mediaDataArray().size(), 2);
    EXPECT_EQ(tree.T1->mediaDataArray().first(), tree.C);
    EXPECT_TRUE(madeOf(tree.T1->mediaDataArray().last(), file));

    // The selected clip still shows the outline a file drag merges into.
    controller->setSelectedType(1);
    controller->setSelectedData(tree.B);
    EXPECT_TRUE(dragTo({file}, {300, 220}));
    EXPECT_TRUE(list().lineView()->isVisible());
    EXPECT_EQ(list().lineView()->lineFrame(), QRectF(120, 190, list().width() - 120, 60));
    ASSERT_TRUE(drop({file}, {300, 220}));
    ASSERT_TRUE(tree.B->hasSubMedia());
    ASSERT_EQ(tree.B->subMediaArray().size(), 2);
    EXPECT_NE(tree.B->subMediaArray().first(), tree.B);
    EXPECT_TRUE(madeOf(tree.B->subMediaArray().last(), file));
    EXPECT_EQ(tree.T0->mediaDataArray().at(1), tree.B);
    EXPECT_EQ(project()->sectionDataResourceArray().size(), 3);
}

TEST_F(ListFileDropTest, PicturesOnlyWhenNoVideoGivesAClip)
{
    const QString red = picture("red.png", Qt::red);
    const QString green = picture("IMG.JPG", Qt::green);
    const QString usable = video("usable.mp4");

    // With a usable video the pictures are not added, and the sheet says why.
    ASSERT_TRUE(drop({red, usable, green}, {200, 700}));
    ASSERT_EQ(tree.P1->titleDataArray().size(), 2);
    EXPECT_TRUE(madeOf(tree.P1->titleDataArray().first()->mediaDataArray().first(), usable));
    ASSERT_EQ(project()->sectionDataResourceArray().size(), 1);
    ASSERT_EQ(alertTexts().size(), 1);
    for (const char* name : {"red.png: ", "IMG.JPG: "}) {
        EXPECT_TRUE(alertTexts().first().contains(
            QString(name) + "pictures are added only when no video is dropped with them"))
            << qPrintable(alertTexts().first());
    }
    alertServices.alerts->alerts.clear();

    // Alone they make one slideshow clip of both, whatever the letter case.
    ASSERT_TRUE(drop({red, green}, {200, 700}));
    ASSERT_EQ(tree.P1->titleDataArray().size(), 3);
    const auto slideshow = tree.P1->titleDataArray().first()->mediaDataArray().first();
    EXPECT_TRUE(slideshow->isImageData());
    ASSERT_EQ(project()->sectionDataResourceArray().size(), 2);
    const auto source = project()->sectionDataResourceArray().last();
    ASSERT_TRUE(source->imageSource());
    EXPECT_EQ(source->imageSource()->mtAryPhotoItems().size(), 2);
    EXPECT_TRUE(alertTexts().isEmpty()) << qPrintable(alertTexts().join('|'));
    EXPECT_TRUE(ListTableView::isImagePath("/x/IMG.JPG"));
    EXPECT_FALSE(ListTableView::isImagePath("/x/movie.mp4"));
}

// Files that give no clip: the sheet comes and goes, nothing changes, no
// source stays in the project and the document is not edited; one sheet
// names the files and why.
TEST_F(ListFileDropTest, UnusableFilesChangeNothing)
{
    const QString shortClip = clip("short.mp4", 0.5);
    const QString text = path("notes.txt");
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("not a movie");
    notes.close();
    const QString before = treeText(*project());
    calls().clear();
    ASSERT_TRUE(drop({shortClip, text}, {200, 700}));
    EXPECT_TRUE(sheetShown);
    EXPECT_EQ(treeText(*project()), before);
    EXPECT_TRUE(project()->sectionDataResourceArray().isEmpty());
    EXPECT_FALSE(calls().contains("setDocumentEdited:YES")) << qPrintable(calls().join(' '));
    EXPECT_FALSE(list().lineView()->isVisible());
    ASSERT_EQ(alertTexts().size(), 1);
    EXPECT_TRUE(alertTexts().first().contains("2 files could not be added."));
    EXPECT_TRUE(alertTexts().first().contains("short.mp4: the video is shorter than 1 second"))
        << qPrintable(alertTexts().first());
    EXPECT_TRUE(alertTexts().first().contains("notes.txt: ")) << qPrintable(alertTexts().first());

    // A place that has gone while the files were opened adds nothing either.
    const QString usable = video("usable.mp4");
    ASSERT_TRUE(drop({usable}, {200, 700}, [this] { project()->removeDvdPageFromArray(tree.P1); }));
    EXPECT_EQ(tree.P1->titleDataArray(), (DVDPageData::TitleList{tree.T2}));
    EXPECT_TRUE(project()->sectionDataResourceArray().isEmpty());
}

// Where there is no place, or while another window is modal, the drag is
// refused and a drop adds nothing; leaving the list clears the place.
TEST_F(ListFileDropTest, RefusedWithoutAPlace)
{
    const QString file = video("v.mp4");
    EXPECT_FALSE(dragTo({file}, {200, 5}));  // above the first row, nothing met yet
    EXPECT_FALSE(drop({file}, {200, 5}));
    EXPECT_FALSE(dragTo({}, {200, 700}));  // no files

    // Moved up from a page row into the top 10 points the place stays.
    EXPECT_TRUE(dragTo({file}, {200, 20}));
    EXPECT_TRUE(dragTo({file}, {200, 5}));
    EXPECT_EQ(list().lineView()->lineFrame(), QRectF(70, 57.5, list().width() - 70, 1));
    QDragLeaveEvent leave;
    QApplication::sendEvent(&list(), &leave);
    EXPECT_EQ(list().insertOrMerge(), 0);
    EXPECT_FALSE(list().lineView()->isVisible());

    QDialog modal(&window);
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    ASSERT_TRUE(QApplication::activeModalWidget());
    EXPECT_FALSE(dragTo({file}, {200, 700}));
    EXPECT_FALSE(drop({file}, {200, 700}));
    modal.hide();
    EXPECT_TRUE(project()->sectionDataResourceArray().isEmpty());
}

}  // namespace
