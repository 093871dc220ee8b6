// The rows of the title list and their edit buttons, driven on real widgets
// offscreen: texts, lengths, the buttons each kind of clip shows, presses on
// rows and buttons, and pictures of the rows and of a whole list.

#include <gtest/gtest.h>
#include <QEnterEvent>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "ListEditTestFixture.h"
#include "ListTreeFixture.h"
#include "TestSupport.h"
#include "common/CommonFunction.h"
#include "listedit/ClipMarkEditView.h"
#include "listedit/DVDPageDataView.h"
#include "listedit/ListEditView.h"
#include "listedit/MediaDataView.h"
#include "listedit/TitleDataView.h"
#include "listedit/VideoEditBtnView.h"
#include "media/RenderItem.h"
#include "model/DVDTitleData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "shell/AppDelegate.h"

using namespace listtest;

namespace {

// Measures clips by a table the test fills: a merged clip is the sum of its
// members, a picture clip its slideshow length; a clip not in the table is
// measured as the application does.
class TimedMainWindowController : public testsupport::RecordingMainWindowController {
public:
    QHash<const MediaData*, double> seconds;
    double totalMediaDataTime(const std::shared_ptr<MediaData>& media) override
    {
        if (!media) {
            return 0.0;
        }
        if (media->hasSubMedia()) {
            double sum = 0.0;
            for (const auto& member : media->subMediaArray()) {
                sum += totalMediaDataTime(member);
            }
            return sum;
        }
        if (media->isImageData()) {
            return media->imageDataDuration();
        }
        return seconds.contains(media.get())
                   ? seconds.value(media.get())
                   : RecordingMainWindowController::totalMediaDataTime(media);
    }
};

// A slideshow editor whose edit the test supplies.
class EditingImageController : public testsupport::RecordingImageEditController {
public:
    std::function<void(const std::shared_ptr<RenderItem>&)> edit;
    void startEditting(const std::shared_ptr<RenderItem>& s) override
    {
        RecordingImageEditController::startEditting(s);
        if (edit) {
            edit(s);
        }
    }
};

// A delegate of its own (current while it lives) whose main window measures
// clips from a table and holds recording editors.
struct TimedControllers {
    TimedControllers()
    {
        auto made = std::make_unique<TimedMainWindowController>();
        main = made.get();
        auto clipEditor = std::make_unique<testsupport::RecordingClipEditController>();
        clip = clipEditor.get();
        auto videoEditor = std::make_unique<testsupport::RecordingVideoEditController>();
        video = videoEditor.get();
        auto imageEditor = std::make_unique<EditingImageController>();
        image = imageEditor.get();
        made->setClipEditController(std::move(clipEditor));
        made->setVideoEditController(std::move(videoEditor));
        made->setImageEditController(std::move(imageEditor));
        delegate.setMainController(std::move(made));
    }
    AppDelegate delegate;
    TimedMainWindowController* main = nullptr;
    testsupport::RecordingClipEditController* clip = nullptr;
    testsupport::RecordingVideoEditController* video = nullptr;
    EditingImageController* image = nullptr;
};

bool isBlue(QRgb pixel)
{
    return qRed(pixel) < 10 && qGreen(pixel) < 10 && qBlue(pixel) > 245;
}

}  // namespace

class ListRowsTest : public ListEditTest {
protected:
    // The first page with title T0 (video clip A, merged clip G of a video
    // member V and a picture member P) and title T1 (picture clip Q).
    void buildTree()
    {
        page0 = project()->dvdPageArray().first();
        T0 = ListTree::title(page0);
        T1 = ListTree::title(page0);
        A = ListTree::clip(T0);
        G = ListTree::clip(T0);
        G->setHasSubMedia(true);
        V = ListTree::member(G);
        P = ListTree::member(G);
        P->setIsImageData(true);
        Q = ListTree::clip(T1);
        Q->setIsImageData(true);
        A->setPreviewImage(swatch(Qt::darkCyan));
        V->setPreviewImage(swatch(Qt::darkYellow));
        timed.main->seconds = {{A.get(), 10.0}, {V.get(), 20.0}, {G.get(), 999.0}};
        P->setImageDataDuration(30.9);
        Q->setImageDataDuration(7.8);
    }

    static QImage swatch(const QColor& colour)
    {
        QImage image(160, 120, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    ListTableView& list() { return *controller->listTableView(); }
    static MediaDataView* row(const MediaData::Ptr& media)
    {
        return dynamic_cast<MediaDataView*>(media->mediaDataView());
    }
    static TitleDataView* row(const std::shared_ptr<DVDTitleData>& title)
    {
        return dynamic_cast<TitleDataView*>(title->titleDataView());
    }
    static DVDPageDataView* row(const std::shared_ptr<DVDPageData>& page)
    {
        return dynamic_cast<DVDPageDataView*>(page->dvdPageView().get());
    }
    void click(QWidget* widget, QPoint at = QPoint(-1, -1))
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.x() < 0 ? widget->rect().center() : at);
    }

    testsupport::RecordingMainWindowController* host() override { return timed.main; }

    TimedControllers timed;
    std::shared_ptr<DVDPageData> page0;
    std::shared_ptr<DVDTitleData> T0, T1;
    MediaData::Ptr A, G, V, P, Q;
};

TEST_F(ListRowsTest, PageRowTextsAndTheCurrentPageMark)
{
    EXPECT_EQ(DVDPageDataView::titleCountsText(0), "0 Title");
    EXPECT_EQ(DVDPageDataView::titleCountsText(1), "1 Title");
    EXPECT_EQ(DVDPageDataView::pageNameText("", true), "  -  ( current page )");
    EXPECT_EQ(DVDPageDataView::pageNameText("", false), "");

    makeController();
    buildTree();
    controller->addMenuPageAction();  // the new page becomes current
    const auto page1 = project()->dvdPageArray().at(1);
    EXPECT_EQ(row(page0)->displayedName(), "Menu Page_0");
    EXPECT_EQ(row(page1)->displayedName(), "Menu Page_1  -  ( current page )");

    click(row(page0), QPoint(600, 20));
    EXPECT_EQ(controller->currentDVDPage(), page0);
    EXPECT_EQ(controller->selectedType(), 3u);
    EXPECT_EQ(row(page0)->displayedName(), "Menu Page_0  -  ( current page )");
    EXPECT_EQ(row(page1)->displayedName(), "Menu Page_1");

    // Title and clip presses select without moving the mark.
    controller->setCurrentDVDPage(page1);
    click(row(T0), QPoint(600, 17));
    EXPECT_EQ(controller->selectedType(), 2u);
    EXPECT_EQ(controller->selectedData(), T0);
    click(row(A), QPoint(600, 30));
    EXPECT_EQ(controller->selectedType(), 1u);
    EXPECT_EQ(controller->selectedData(), A);
    EXPECT_EQ(controller->currentDVDPage(), page1);
    // The press left a drag picture: the whole row, 70 % opaque.
    const QImage dragged = list().mouseDraggedImage();
    ASSERT_FALSE(dragged.isNull());
    EXPECT_EQ(dragged.size(), row(A)->size() * dragged.devicePixelRatio());
    EXPECT_NEAR(qAlpha(dragged.pixel(dragged.width() - 3, 3)), 0.7 * 255, 2);
}

TEST_F(ListRowsTest, TitleRowCountsAMergedClipOnceAndSumsItsMembers)
{
    makeController();
    buildTree();
    controller->reloadView();
    EXPECT_EQ(row(T0)->titleName()->text(), "Title_0");
    EXPECT_EQ(row(T0)->titleChapter()->text(), "2 Chapters");
    EXPECT_EQ(row(T1)->titleChapter()->text(), "1 Chapters");
    EXPECT_EQ(TitleDataView::chapterText(0), "0 Chapters");
    // 10 + (20 + 30.9): the merged clip's own 999 is not consulted.
    EXPECT_EQ(row(T0)->titleTime()->text(), "00:01:00");

    struct Case {
        double seconds;
        const char* text;
    };
    for (const Case& c :
         {Case{59.9, "00:00:59"}, Case{0.0, "00:00:00"}, Case{3661.5, "01:01:01"}}) {
        timed.main->seconds[A.get()] = c.seconds;
        T0->mediaDataArray() = {A};
        row(T0)->flushTitleAllTimeAfterVideoEdit();
        EXPECT_EQ(row(T0)->titleTime()->text(), c.text) << c.seconds;
    }
}

TEST_F(ListRowsTest, MediaRowLengthsIndentsAndButtonsByKind)
{
    makeController();
    buildTree();
    controller->reloadView();
    EXPECT_EQ(row(A)->mediaTime()->text(), "00:00:10");
    EXPECT_EQ(row(Q)->mediaTime()->text(), "00:00:07");  // its slideshow, not its movie
    EXPECT_EQ(row(G)->mediaTime()->text(), "00:00:50");
    EXPECT_EQ(row(P)->mediaTime()->text(), "00:00:30");
    EXPECT_EQ(row(A)->mediaName()->text(), "_chapter_0");
    EXPECT_EQ(row(G)->mediaName()->text(), "Merge_Media");

    // A member's content starts 50 further right.
    EXPECT_DOUBLE_EQ(row(A)->contentFrame().x(), 120);
    EXPECT_DOUBLE_EQ(row(V)->contentFrame().x(), 170);
    EXPECT_DOUBLE_EQ(row(V)->contentFrame().y(), row(G)->y() + 75);

    struct Case {
        const char* kind;
        MediaData::Ptr media;
        bool chapter;
        bool video;
    };
    const Case cases[] = {
        {"video clip", A, true, true},      {"picture clip", Q, false, true},
        {"merged clip", G, false, false},   {"video member", V, true, true},
        {"picture member", P, false, true},
    };
    for (const Case& c : cases) {
        MediaDataView* r = row(c.media);
        ASSERT_NE(r, nullptr) << c.kind;
        EXPECT_EQ(r->clipMarkEditView()->isVisibleTo(r), c.chapter) << c.kind;
        EXPECT_EQ(r->videoEditBtnView()->isVisibleTo(r), c.video) << c.kind;
        EXPECT_EQ(r->canDoVideoEdit(), c.media != G) << c.kind;
    }

    // The rectangles at row height 60 in a row of the list's narrowest
    // width (widget coordinates, y down).
    const QSizeF size(ListTableLayout::MinimumRowWidth, 60);
    const auto near = [](const QRectF& a, const QRectF& b) {
        return std::abs(a.x() - b.x()) < 0.01 && std::abs(a.y() - b.y()) < 0.01 &&
               std::abs(a.width() - b.width()) < 0.01 && std::abs(a.height() - b.height()) < 0.01;
    };
    EXPECT_TRUE(near(MediaDataView::imageRect(size, 120), QRectF(125, 3, 200.0 / 3, 54)));
    EXPECT_TRUE(
        near(MediaDataView::nameRect(size, 120), QRectF(125 + 200.0 / 3 + 10, 10, 300, 20)));
    EXPECT_TRUE(
        near(MediaDataView::timeRect(size, 120), QRectF(125 + 200.0 / 3 + 13, 35, 300, 20)));
    EXPECT_TRUE(
        near(MediaDataView::clipMarkEditRect(size, 120), QRectF(701.0 + 2.0 / 3, 7.5, 45, 45)));
    EXPECT_TRUE(
        near(MediaDataView::videoEditBtnRect(size, 120), QRectF(846.0 + 2.0 / 3, 7.5, 45, 45)));
    EXPECT_NEAR(MediaDataView::videoEditBtnRect(size, 170).right(), 941.67, 0.01);
    EXPECT_LE(MediaDataView::videoEditBtnRect(size, 170).right(), ListTableLayout::MinimumRowWidth);
    // A wider row keeps the buttons as far from its right edge.
    const QSizeF wide(1600, 60);
    for (double indent : {120.0, 170.0}) {
        EXPECT_NEAR(wide.width() - MediaDataView::videoEditBtnRect(wide, indent).right(),
                    size.width() - MediaDataView::videoEditBtnRect(size, indent).right(), 0.01);
        EXPECT_NEAR(MediaDataView::clipMarkEditRect(wide, indent).x() -
                        MediaDataView::clipMarkEditRect(size, indent).x(),
                    wide.width() - size.width(), 0.01);
    }
}

TEST_F(ListRowsTest, RowsFollowTheListWidthAndTheListScrollsBelowTheButtons)
{
    makeController();
    buildTree();
    controller->reloadView();
    window.resize(1300, 600);
    controller->view()->setGeometry(window.rect());
    settle();
    EXPECT_EQ(row(A)->width(), list().width());
    EXPECT_GE(list().width(), 1250);
    // The edit buttons keep to the row's right edge.
    for (const MediaData::Ptr& clip : {A, V}) {
        const QRect button = row(clip)->videoEditBtnView()->geometry();
        EXPECT_NEAR(row(clip)->width() - button.right(),
                    ListTableLayout::MinimumRowWidth -
                        MediaDataView::videoEditBtnRect(
                            QSizeF(ListTableLayout::MinimumRowWidth, row(clip)->height()),
                            row(clip)->indent())
                            .toRect()
                            .right(),
                    1);
    }
    window.resize(500, 400);
    controller->view()->setGeometry(window.rect());
    settle();
    EXPECT_EQ(list().width(), ListTableLayout::MinimumRowWidth);
    EXPECT_EQ(row(V)->width(), ListTableLayout::MinimumRowWidth);
    EXPECT_TRUE(controller->listScrollView()->horizontalScrollBar()->maximum() > 0);
    // The list is as tall as its content, never shorter than the view.
    EXPECT_FLOAT_EQ(static_cast<float>(list().maxHeightOfFrame()),
                    10 + 55 + 50 + 75 + 225 + 50 + 75);
    EXPECT_GE(list().height(), static_cast<int>(list().maxHeightOfFrame()));
}

TEST_F(ListRowsTest, EmptyProjectFillsTheViewWithOnePageRow)
{
    makeController();
    settle();
    EXPECT_EQ(list().height(), controller->listScrollView()->viewport()->height());
    EXPECT_EQ(row(project()->dvdPageArray().first())->y(), 10);
    EXPECT_EQ(list().connectorSegments(), (QList<QLineF>{QLineF(30, 50, 30, 50)}));
    // The page's spine has no length and leaves no mark.
    const QImage shot = list().grab(QRect(20, 45, 20, 15)).toImage();
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            ASSERT_FALSE(pixel.green() > 150 && pixel.red() < 120) << x << "," << y;
        }
    }
}

TEST_F(ListRowsTest, EditButtonActsOnlyOnAReleaseInsideAfterAPressOnIt)
{
    makeController();
    buildTree();
    controller->reloadView();
    VideoEditBtnView* button = row(A)->videoEditBtnView();

    // Pressed, then released outside: selected, nothing opened, no drag.
    QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(controller->selectedData(), A);
    EXPECT_TRUE(button->selfMouseDown());
    EXPECT_FALSE(list().isClickWndBtn());  // the list took the press as a click
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-30, 20));
    EXPECT_FALSE(button->selfMouseDown());
    EXPECT_TRUE(timed.video->calls.isEmpty());
    // A release inside without a press on the button does nothing either.
    QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_TRUE(timed.video->calls.isEmpty());

    click(button);
    EXPECT_EQ(timed.video->calls, QStringList{"updateWindowWithMedia"});
    EXPECT_EQ(timed.video->media, A);
    click(row(A)->clipMarkEditView());
    EXPECT_EQ(timed.clip->calls, QStringList{"showWindowWithMediaData"});
    EXPECT_EQ(timed.clip->media, A);
    // A member's button edits the member alone.
    click(row(V)->videoEditBtnView());
    EXPECT_EQ(timed.video->media, V);
    EXPECT_EQ(controller->selectedData(), V);
    EXPECT_TRUE(timed.image->calls.isEmpty());

    // Right and middle clicks select the clip but open nothing.
    timed.video->calls.clear();
    timed.clip->calls.clear();
    for (Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(button, other, {}, button->rect().center());
        QTest::mouseClick(row(A)->clipMarkEditView(), other, {},
                          row(A)->clipMarkEditView()->rect().center());
        EXPECT_EQ(controller->selectedData(), A);
        EXPECT_FALSE(button->selfMouseDown());
    }
    EXPECT_TRUE(timed.video->calls.isEmpty());
    EXPECT_TRUE(timed.clip->calls.isEmpty());

    EXPECT_EQ(button->toolTip(), "Video edit");
    EXPECT_EQ(row(A)->clipMarkEditView()->toolTip(), "Chapter edit");
}

TEST_F(ListRowsTest, SlideshowEditRefreshesTheClipItsMergedClipAndItsTitle)
{
    makeController();
    const QStringList photos{picture("p1.png", Qt::red), picture("p2.png", Qt::green),
                             picture("p3.png", Qt::blue)};
    const MediaData::Ptr Q = controller->createMediaDataWithImagePaths(photos);
    const MediaData::Ptr P = controller->createMediaDataWithImagePaths(photos);
    ASSERT_TRUE(Q && P);
    page0 = project()->dvdPageArray().first();
    T0 = ListTree::title(page0);
    T1 = ListTree::title(page0);
    Q->flushSuperTitleData(T0);
    T0->mediaDataArray().append(Q);
    G = ListTree::clip(T1);
    G->setHasSubMedia(true);
    V = ListTree::member(G);
    P->flushSuperMediaData(G);
    G->subMediaArray().append(P);
    timed.main->seconds[V.get()] = 5.0;
    controller->reloadView();
    const QString before = row(P)->mediaTime()->text();

    // The edit drops two photos: the slideshow gets shorter.
    timed.image->edit = [](const std::shared_ptr<RenderItem>& slideshow) {
        slideshow->mtAryPhotoItems().removeLast();
        slideshow->mtAryPhotoItems().removeLast();
    };
    click(row(P)->videoEditBtnView());
    ASSERT_EQ(timed.image->calls, QStringList{"startEditting"});
    EXPECT_TRUE(timed.video->calls.isEmpty());
    const double seconds = P->imageDataDuration();
    const QString after = CommonFunction::timeStrFromSecond(static_cast<float>(seconds));
    EXPECT_NE(after, before);
    EXPECT_EQ(row(P)->mediaTime()->text(), after);
    EXPECT_EQ(row(G)->mediaTime()->text(),
              CommonFunction::timeStrFromSecond(static_cast<float>(seconds + 5.0)));
    EXPECT_EQ(row(T1)->titleTime()->text(),
              CommonFunction::timeStrFromSecond(static_cast<float>(seconds + 5.0)));

    click(row(Q)->videoEditBtnView());
    EXPECT_EQ(row(Q)->mediaTime()->text(),
              CommonFunction::timeStrFromSecond(static_cast<float>(Q->imageDataDuration())));
    EXPECT_EQ(row(T0)->titleTime()->text(), row(Q)->mediaTime()->text());
}

TEST_F(ListRowsTest, VideoEditorRefreshThroughTheRowRoleUpdatesTheMergedClipsTitle)
{
    makeController();
    buildTree();
    controller->reloadView();
    timed.main->seconds[V.get()] = 80.0;
    // What the video editor does when its sheet closes on a member: it
    // reaches the rows through the clips.
    MediaRowView* member = V->mediaDataView();
    MediaRowView* merged = G->mediaDataView();
    ASSERT_TRUE(member);
    ASSERT_TRUE(merged);
    member->updateMediaTimeAfterVideoEdit();
    merged->updateMediaTimeAfterVideoEdit();
    EXPECT_EQ(row(V)->mediaTime()->text(), "00:01:20");
    EXPECT_EQ(row(G)->mediaTime()->text(), "00:01:50");
    EXPECT_EQ(row(T0)->titleTime()->text(), "00:02:00");
    // A clip of a title refreshes its title at once.
    timed.main->seconds[A.get()] = 40.0;
    row(A)->updateMediaTimeAfterVideoEdit();
    EXPECT_EQ(row(T0)->titleTime()->text(), "00:02:30");
}

namespace {

// The extent of the pixels that differ from the top-left one.
QRect drawnExtent(const QImage& image)
{
    const QRgb background = image.pixel(0, 0);
    QRect extent;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                extent |= QRect(x, y, 1, 1);
            }
        }
    }
    return extent;
}

}  // namespace

TEST_F(ListRowsTest, EditButtonPictureGrowsUnderThePointer)
{
    makeController();
    buildTree();
    controller->reloadView();
    ClipMarkEditView* button = row(A)->clipMarkEditView();
    ASSERT_EQ(button->size(), QSize(45, 45));
    const QImage idle = button->grab().toImage();
    QEnterEvent enter(QPointF(20, 20), QPointF(20, 20), button->mapToGlobal(QPointF(20, 20)));
    QApplication::sendEvent(button, &enter);
    ASSERT_TRUE(button->isMouseEntered());
    const QImage hovered = button->grab().toImage();
    testsupport::writeArtifact(idle, "list-edit-button-idle.png");
    testsupport::writeArtifact(hovered, "list-edit-button-hover.png");
    EXPECT_NEAR(drawnExtent(idle).width(), 35, 1);
    EXPECT_NEAR(drawnExtent(hovered).width(), 45, 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->isMouseEntered());
}

TEST_F(ListRowsTest, RowPicturesShowTheSelectionFillAndTheConnectors)
{
    makeController();
    window.resize(1000, 700);
    controller->view()->setGeometry(window.rect());
    buildTree();
    controller->reloadView();
    settle();

    struct Case {
        const char* name;
        ListDataRowView* row;
        std::shared_ptr<Object> entry;
        quint64 type;
    };
    const Case cases[] = {
        {"page", row(page0), page0, 3}, {"title", row(T0), T0, 2}, {"clip", row(A), A, 1},
        {"merged", row(G), G, 1},       {"member", row(V), V, 1},  {"picture", row(Q), Q, 1},
    };
    for (const Case& c : cases) {
        controller->setSelectedType(0);
        controller->setSelectedData(nullptr);
        const QImage plain = c.row->grab().toImage();
        controller->setSelectedType(c.type);
        controller->setSelectedData(c.entry);
        const QImage selected = c.row->grab().toImage();
        testsupport::writeArtifact(plain, QStringLiteral("list-row-%1.png").arg(c.name));
        testsupport::writeArtifact(selected,
                                   QStringLiteral("list-row-%1-selected.png").arg(c.name));
        // Near the right edge and the top, away from any text or button.
        const QPoint spot(selected.width() - 3, 2);
        EXPECT_TRUE(isBlue(selected.pixel(spot))) << c.name;
        EXPECT_FALSE(isBlue(plain.pixel(spot))) << c.name;
        // Left of the content stays unfilled.
        if (c.row->indent() > 0) {
            EXPECT_FALSE(isBlue(selected.pixel(static_cast<int>(c.row->indent()) - 3, 2)))
                << c.name;
        }
    }

    controller->setSelectedType(1);
    controller->setSelectedData(A);
    const QImage whole = controller->view()->grab().toImage();
    testsupport::writeArtifact(whole, "list-tree.png");
    // The page spine runs down x 30 between the page row and T0's middle.
    const QPoint origin = list().mapTo(controller->view(), QPoint(0, 0));
    int green = 0;
    for (int y = 52; y < 80; ++y) {
        const QRgb pixel = whole.pixel(origin.x() + 30, origin.y() + y);
        if (qAbs(qRed(pixel) - 51) <= 3 && qGreen(pixel) >= 250 && qAbs(qBlue(pixel) - 51) <= 3) {
            ++green;
        }
    }
    EXPECT_GE(green, 10);  // dashes: about half the pixels
    EXPECT_LE(green, 20);
}

TEST_F(ListRowsTest, ListOfAnImportedProject)
{
    makeController();
    window.resize(1000, 700);
    controller->view()->setGeometry(window.rect());
    panelAnswer = {clip("holiday.mp4", 1.5, 160, 120), clip("garden.mp4", 1.2, 160, 90)};
    controller->addVideoToListAction();
    ASSERT_TRUE(waitFor([&] { return !controller->isImporting(); }));
    panelAnswer = {picture("sun.png", QColor(240, 180, 40)),
                   picture("sea.png", QColor(30, 90, 200))};
    controller->addPictureToListAction();
    ASSERT_TRUE(waitFor([&] { return !controller->isImporting(); }));
    settle();

    const auto titles = project()->dvdPageArray().first()->titleDataArray();
    ASSERT_EQ(titles.size(), 3);
    EXPECT_EQ(titles[0]->mediaDataArray().first()->name(), "holiday_chapter_0");
    EXPECT_EQ(titles[1]->mediaDataArray().first()->name(), "garden_chapter_0");
    EXPECT_EQ(titles[2]->mediaDataArray().first()->name(), "PhotoSlideshow_chapter_0");
    EXPECT_EQ(row(titles[0]->mediaDataArray().first())->mediaTime()->text(), "00:00:01");
    // Rows at 10, 65, 115, 190, 240, 315, 365.
    QList<int> ys;
    for (const auto& r : list().laidOutRows()) {
        ys.append(static_cast<int>(r.frame.y()));
    }
    EXPECT_EQ(ys, (QList<int>{10, 65, 115, 190, 240, 315, 365}));
    click(row(titles[1]->mediaDataArray().first()), QPoint(600, 30));
    const QImage whole = controller->view()->grab().toImage();
    testsupport::writeArtifact(whole, "list-imported.png");
    EXPECT_FALSE(whole.isNull());
}
