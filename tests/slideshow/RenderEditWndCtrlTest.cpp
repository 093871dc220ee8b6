// The slideshow editing window on real slideshows of generated photos: the
// strip and its selection, playing, deleting, importing, the sheets it opens
// and the preview reloads they cause.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QSet>
#include <QTest>
#include <QTimer>

#include "../media/SlideshowRenderTestSupport.h"
#include "../media/TransitionTestSupport.h"
#include "SlideshowEditTestSupport.h"
#include "media/AudioPlayer.h"
#include "media/MediaItem.h"
#include "media/PhotoItem.h"
#include "media/RenderController.h"
#include "media/RenderItem.h"
#include "media/SlideshowItem.h"
#include "media/SlideshowRenderController.h"
#include "slideshow/AudioEditView.h"
#include "slideshow/AudioLineCtrl.h"
#include "slideshow/BusyWindowController.h"
#include "slideshow/CropWndCtrl.h"
#include "slideshow/RenderDisplayView.h"
#include "slideshow/RenderEditWndCtrl.h"
#include "slideshow/RenderThumbnailView.h"
#include "slideshow/SlideshowWndCtrl.h"
#include "slideshow/SortWndCtrl.h"

namespace {

using slideshowedit::waitUntil;
using Photos = RenderEditWndCtrl::Photos;

// A sort sheet that reverses the photos and removes the first `remove` of
// the new order, reporting them before it returns.
class ReversingSortSheet : public ISortWndCtrl {
public:
    explicit ReversingSortSheet(int remove) : m_remove(remove) {}
    void setWndSheetedWindow(QWidget*) override {}
    void setBlkSortCompleted(SortCompleted completed) override { m_completed = completed; }
    void startResortingItems(Photos& photos) override
    {
        std::reverse(photos.begin(), photos.end());
        m_completed(photos.mid(0, m_remove));
    }
    bool bDidChange() const override { return true; }

private:
    int m_remove;
    SortCompleted m_completed;
};

class SlideshowEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        RenderController::setTransitionFolderPath(transitiontest::shippedTransitionFolder());
        editor = std::make_unique<RenderEditWndCtrl>(nullptr);
        editor->setEnumDisplayRatio(1);
        editor->setClock([this] { return clock; });
    }
    void TearDown() override
    {
        if (editor->oRenderItem()) {
            editor->endEditting();
        }
    }

    // `count` photos, `seconds` each, on the default transition (F = L = 1,
    // its own pace 3 s a photo).
    std::shared_ptr<RenderItem> slideshow(int count, double seconds = 5.0)
    {
        auto item = photos.slideshow(count, seconds, 3.0);
        EXPECT_TRUE(item);
        EXPECT_EQ(item->slideshowFirstRatio(), 1.0);
        EXPECT_EQ(item->slideshowLastRatio(), 1.0);
        return item;
    }

    RenderThumbnailView* tile(int index) const { return editor->mtAryThumbnailViews().at(index); }
    int selectedIndex() const
    {
        return static_cast<int>(editor->mtAryThumbnailViews().indexOf(editor->vThumbnailView()));
    }
    void advance(double seconds)
    {
        clock += static_cast<qint64>(seconds * 1e9);
        editor->renderDisplay();
    }
    // The selection and the enabled buttons agree.
    void expectButtonsFollowSelection() const
    {
        const bool selected = editor->vThumbnailView() != nullptr;
        EXPECT_EQ(editor->btnSort()->isEnabled(), selected);
        EXPECT_EQ(editor->btnPlay()->isEnabled(), selected);
        EXPECT_EQ(editor->btnCrop()->isEnabled(), selected);
        EXPECT_TRUE(editor->btnKeep()->isEnabled());
        int chosen = 0;
        for (RenderThumbnailView* view : editor->mtAryThumbnailViews()) {
            chosen += view->bIsChoosen() ? 1 : 0;
        }
        EXPECT_EQ(chosen, selected ? 1 : 0);
    }
    bool frameShown() const
    {
        return waitUntil([this] { return !editor->vRenderDisplayView()->imgDisplay().isNull(); });
    }

    slideshowtest::PhotoFolder photos;
    qint64 clock = 1'000'000'000;
    std::unique_ptr<RenderEditWndCtrl> editor;
};

TEST_F(SlideshowEditor, DisplayRatio)
{
    editor->setEnumDisplayRatio(0);
    EXPECT_EQ(editor->szDisplaySize(), QSizeF(960, 720));
    EXPECT_DOUBLE_EQ(editor->vRenderDisplayView()->dDisplayRatio(), 4.0 / 3.0);
    for (const long ratio : {1L, 2L, -1L}) {
        editor->setEnumDisplayRatio(ratio);
        EXPECT_EQ(editor->szDisplaySize(), QSizeF(960, 540));
        EXPECT_DOUBLE_EQ(editor->vRenderDisplayView()->dDisplayRatio(), 16.0 / 9.0);
    }
}

TEST_F(SlideshowEditor, StartingSelectsTheFirstTileAndShowsTimeZero)
{
    const auto item = slideshow(3);
    item->setBKeepStandardRatio(true);
    editor->beginEditting(item);
    ASSERT_EQ(editor->mtAryThumbnailViews().size(), 3);
    EXPECT_EQ(selectedIndex(), 0);
    EXPECT_EQ(editor->oPhotoItem(), item->mtAryPhotoItems().first());
    expectButtonsFollowSelection();
    EXPECT_EQ(editor->dCurrentTime(), 0.0);
    EXPECT_FALSE(editor->bIsPlaying());
    EXPECT_EQ(editor->playButtonImageName(), "Render_Play.png");
    EXPECT_FALSE(editor->btnKeep()->isChecked());  // the inverse of keep-ratio
    ASSERT_TRUE(frameShown());
    EXPECT_EQ(editor->vRenderDisplayView()->imgDisplay().size(), QSize(960, 540));
    // Tiles 90 apart from the left, in photo order.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tile(i)->x(), 90 * i);
        EXPECT_EQ(tile(i)->size(), QSize(100, 100));
        EXPECT_EQ(tile(i)->oItem(), item->mtAryPhotoItems().at(i));
    }
    EXPECT_EQ(tile(0)->y() + 100, editor->vThumbnailBackView()->height());  // on the bottom

    editor->endEditting();
    EXPECT_FALSE(editor->oRenderItem());
    EXPECT_TRUE(editor->mtAryThumbnailViews().isEmpty());
    EXPECT_TRUE(editor->vRenderDisplayView()->imgDisplay().isNull());
    expectButtonsFollowSelection();
}

TEST_F(SlideshowEditor, NoPhotosNoSelection)
{
    const auto item = slideshow(0);
    editor->beginEditting(item);
    EXPECT_EQ(editor->vThumbnailView(), nullptr);
    expectButtonsFollowSelection();
    editor->play();
    EXPECT_FALSE(editor->bIsPlaying());
}

// D = 5 with four photos: tiles stand for 0, 7.5, 12.5 and 17.5 s, and
// 10 s (a boundary) selects the second.
TEST_F(SlideshowEditor, TileTimes)
{
    const auto item = slideshow(4, 5.0);
    editor->beginEditting(item);
    const double times[] = {0.0, 7.5, 12.5, 17.5};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(editor->timeOfThumbnailView(tile(i)), times[i]);
    }
    EXPECT_EQ(editor->thumbnailViewOfTime(10.0), tile(1));
    EXPECT_EQ(editor->thumbnailViewOfTime(20.5), nullptr);
    EXPECT_EQ(editor->timeOfThumbnailView(nullptr), 0.0);
    EXPECT_DOUBLE_EQ(editor->dCurrentDuration(), 20.0);
}

// Playing follows the clock (a late tick catches up), selects the tile under
// the playhead, and past the end rewinds to 0, stops and selects the first.
TEST_F(SlideshowEditor, PlayingPastTheEndRewindsAndStops)
{
    const auto item = slideshow(3, 1.0);
    editor->beginEditting(item);
    editor->play();
    EXPECT_TRUE(editor->bIsPlaying());
    EXPECT_TRUE(editor->hasPlayTimer());
    EXPECT_EQ(editor->playButtonImageName(), "Render_Pause.png");
    advance(0.05);
    EXPECT_NEAR(editor->dCurrentTime(), 0.05, 1e-9);
    advance(1.5);  // one late tick
    EXPECT_NEAR(editor->dCurrentTime(), 1.55, 1e-9);
    EXPECT_EQ(selectedIndex(), 1);
    advance(1.0);
    EXPECT_EQ(selectedIndex(), 2);
    EXPECT_TRUE(editor->bIsPlaying());
    advance(0.5);  // 3.05 > 3
    EXPECT_EQ(editor->dCurrentTime(), 0.0);
    EXPECT_FALSE(editor->bIsPlaying());
    EXPECT_FALSE(editor->hasPlayTimer());
    EXPECT_EQ(selectedIndex(), 0);
    EXPECT_EQ(editor->playButtonImageName(), "Render_Play.png");
    expectButtonsFollowSelection();
}

// The real timer drives the same loop.
TEST_F(SlideshowEditor, TheTimerPlaysOnItsOwn)
{
    editor->setClock({});  // the monotonic clock again
    const auto item = slideshow(2, 0.15);
    editor->beginEditting(item);
    editor->play();
    EXPECT_TRUE(waitUntil([&] { return editor->dCurrentTime() > 0.0; }, 5000));
    EXPECT_TRUE(waitUntil([&] { return !editor->bIsPlaying(); }, 10000));
    EXPECT_EQ(editor->dCurrentTime(), 0.0);
}

TEST_F(SlideshowEditor, DeletingSelectsTheNeighbour)
{
    const auto item = slideshow(3);
    editor->beginEditting(item);
    slideshowedit::showActive(editor->window());
    const Photos before = item->mtAryPhotoItems();

    // Deleting the selected last tile selects the new last.
    QTest::mouseClick(tile(2), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(selectedIndex(), 2);
    EXPECT_TRUE(tile(2)->hasFocus());
    EXPECT_DOUBLE_EQ(editor->dCurrentTime(), 12.5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(item->mtAryPhotoItems(), (Photos{before[0], before[1]}));
    ASSERT_EQ(editor->mtAryThumbnailViews().size(), 2);
    EXPECT_EQ(selectedIndex(), 1);
    EXPECT_TRUE(tile(1)->hasFocus());
    EXPECT_DOUBLE_EQ(editor->dCurrentTime(), 7.5);
    EXPECT_EQ(tile(1)->x(), 90);

    // Deleting the first selects the photo that followed it.
    QTest::mouseClick(tile(0), Qt::LeftButton, {}, QPoint(50, 50));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(item->mtAryPhotoItems(), (Photos{before[1]}));
    EXPECT_EQ(editor->oPhotoItem(), before[1]);
    EXPECT_EQ(tile(0)->x(), 0);

    // Deleting the last photo leaves an empty slideshow and no selection.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_TRUE(item->mtAryPhotoItems().isEmpty());
    EXPECT_TRUE(editor->mtAryThumbnailViews().isEmpty());
    EXPECT_EQ(editor->dCurrentTime(), 0.0);
    expectButtonsFollowSelection();
}

// Toggling the fill button while playing stops playback and renders again
// at the same time.
TEST_F(SlideshowEditor, KeepRatioWhilePlayingStopsAndRerendersInPlace)
{
    const auto item = slideshow(3);
    editor->beginEditting(item);
    editor->play();
    advance(1.3);
    const int setups = editor->oSlideshowRenderCtrl()->setupCount();
    editor->btnKeep()->click();
    EXPECT_FALSE(editor->bIsPlaying());
    EXPECT_NEAR(editor->dCurrentTime(), 1.3, 1e-9);
    EXPECT_EQ(editor->oSlideshowRenderCtrl()->setupCount(), setups + 1);
    EXPECT_TRUE(editor->btnKeep()->isChecked());
    EXPECT_FALSE(item->bKeepStandardRatio());
    for (const auto& photo : item->mtAryPhotoItems()) {
        EXPECT_FALSE(photo->bKeepStandardRatio());
    }
    editor->btnKeep()->click();
    EXPECT_TRUE(item->bKeepStandardRatio());
}

// A tile click while playing keeps playing, and the music jumps with the
// picture.
TEST_F(SlideshowEditor, TileClickWhilePlayingKeepsPlayingWithTheMusic)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    const QString tune = dir.filePath("tune.wav");
    ASSERT_TRUE(testsupport::generateMedia(
        tune, {"-f", "lavfi", "-i", "sine=frequency=440:duration=20", "-ac", "2"}));
    const auto item = slideshow(3);
    item->setAudioItems({MediaItem::mediaItemWithPath(tune)});
    editor->beginEditting(item);
    editor->play();
    ASSERT_FALSE(AudioPlayer::share().play_movies().isEmpty());
    advance(1.0);
    editor->didClickOnRenderThumbnailView(tile(2));
    EXPECT_TRUE(editor->bIsPlaying());
    EXPECT_DOUBLE_EQ(editor->dCurrentTime(), 12.5);
    EXPECT_NEAR(AudioPlayer::share().playTime(), 12.5, 0.1);
    EXPECT_EQ(selectedIndex(), 2);
    editor->btnDone()->click();
    EXPECT_TRUE(AudioPlayer::share().play_movies().size() <= 1);  // the music stopped
}

// The import keeps only readable pictures, joins them on the main thread and
// always takes the busy sheet away again.
TEST_F(SlideshowEditor, ImportAddsOnlyReadablePictures)
{
    const auto item = slideshow(2);
    editor->beginEditting(item);
    QTemporaryDir dir = testsupport::makeTempDir();
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QString good = dir.filePath("good.png");
    ASSERT_TRUE(picture.save(good));
    const QString text = dir.filePath("not-a-picture.png");
    ASSERT_TRUE(transitiontest::writeText(text, "not a picture"));
    const QString missing = dir.filePath("missing.jpg");
    BusyWindowController* busy = editor->wCtrlBusy();
    ASSERT_TRUE(busy);

    editor->importPhotoURLs(
        {QUrl::fromLocalFile(text), QUrl::fromLocalFile(good), QUrl::fromLocalFile(missing)});
    EXPECT_TRUE(busy->window()->isVisible());  // up before the work starts
    ASSERT_TRUE(waitUntil([&] { return !busy->window()->isVisible(); }));
    ASSERT_EQ(item->mtAryPhotoItems().size(), 3);
    EXPECT_EQ(editor->mtAryThumbnailViews().size(), 3);
    EXPECT_EQ(tile(2)->oItem(), item->mtAryPhotoItems().last());
    EXPECT_EQ(tile(2)->x(), 180);
    EXPECT_EQ(selectedIndex(), 0);

    editor->importPhotoURLs({QUrl::fromLocalFile(text), QUrl::fromLocalFile(missing)});
    ASSERT_TRUE(waitUntil([&] { return !busy->window()->isVisible(); }));
    EXPECT_EQ(item->mtAryPhotoItems().size(), 3);
    EXPECT_FALSE(busy->isAnimating());
}

// Photos added to an empty slideshow get the first one selected.
TEST_F(SlideshowEditor, ImportIntoAnEmptySlideshowSelects)
{
    const auto item = slideshow(0);
    editor->beginEditting(item);
    const QStringList paths = photos.photos(2);
    editor->importPhotoURLs({QUrl::fromLocalFile(paths[0]), QUrl::fromLocalFile(paths[1])});
    ASSERT_TRUE(waitUntil([&] { return editor->mtAryThumbnailViews().size() == 2; }));
    EXPECT_EQ(selectedIndex(), 0);
    expectButtonsFollowSelection();
    ASSERT_TRUE(waitUntil([&] { return !editor->wCtrlBusy()->window()->isVisible(); }));
}

// Sorting: the sheet reorders in place and removes photos through its
// completion; a remembered index past the new end selects the last tile.
TEST_F(SlideshowEditor, SortSelectsTheLastWhenTheIndexIsGone)
{
    editor->setWCtrlSort(std::make_unique<ReversingSortSheet>(2));
    const auto item = slideshow(4);
    const Photos before = item->mtAryPhotoItems();
    editor->beginEditting(item);
    editor->didClickOnRenderThumbnailView(tile(3));
    const int setups = editor->oSlideshowRenderCtrl()->setupCount();
    editor->btnSort()->click();
    EXPECT_EQ(item->mtAryPhotoItems(), (Photos{before[1], before[0]}));
    ASSERT_EQ(editor->mtAryThumbnailViews().size(), 2);
    EXPECT_EQ(tile(0)->oItem(), before[1]);
    EXPECT_EQ(tile(1)->oItem(), before[0]);
    EXPECT_EQ(tile(1)->x(), 90);
    EXPECT_EQ(selectedIndex(), 1);
    EXPECT_DOUBLE_EQ(editor->dCurrentTime(), editor->timeOfThumbnailView(tile(1)));
    EXPECT_EQ(editor->oSlideshowRenderCtrl()->setupCount(), setups + 1);
    expectButtonsFollowSelection();
}

// A music window that opens nothing and hands the music back as loaded.
class UnchangedAudioLine : public IAudioLineCtrl {
public:
    explicit UnchangedAudioLine(int& opened) : m_opened(opened) {}
    void setWndSheetedWindow(QWidget*) override {}
    void loadViewWithItems(const Items& items) override { m_items = items; }
    void openEditWindow() override { ++m_opened; }
    Items getAudioItems() const override { return m_items; }

private:
    int& m_opened;
    Items m_items;
};

// The crop and sort sheets are the real ones; closed at once they change
// nothing and the preview is not reloaded, nor does a music window that
// hands the music back unchanged.
TEST_F(SlideshowEditor, SheetsClosedAtOnceChangeNothing)
{
    const auto item = slideshow(3);
    item->setAudioItems({std::make_shared<MediaItem>()});
    const Photos before = item->mtAryPhotoItems();
    int musicOpened = 0;
    editor->setAudioLineCtrl(std::make_unique<UnchangedAudioLine>(musicOpened));
    editor->beginEditting(item);
    auto* crop = dynamic_cast<CropWndCtrl*>(editor->wCtrlCrop());
    auto* sort = dynamic_cast<SortWndCtrl*>(editor->wCtrlSort());
    ASSERT_TRUE(crop && sort);
    const int setups = editor->oSlideshowRenderCtrl()->setupCount();
    slideshowedit::whenReady([sort] { return sort->isReady(); },
                             [sort] { sort->btnDone()->click(); });
    editor->btnSort()->click();
    QTimer::singleShot(0, [crop] { crop->btnDone()->click(); });
    editor->btnCrop()->click();
    editor->btnMusic()->click();
    EXPECT_EQ(item->mtAryPhotoItems(), before);
    EXPECT_FALSE(before[0]->oCropItem()->isCropped());
    EXPECT_EQ(item->audioItems().size(), 1);
    EXPECT_EQ(editor->oSlideshowRenderCtrl()->setupCount(), setups);
    EXPECT_EQ(musicOpened, 1);
}

// The music action runs the music window over the slideshow's music and
// stores the list the user leaves there.
TEST_F(SlideshowEditor, MusicRunsTheMusicLine)
{
    const auto item = slideshow(3);
    const auto first = std::make_shared<MediaItem>();
    const auto second = std::make_shared<MediaItem>();
    item->setAudioItems({first, second});
    editor->beginEditting(item);
    auto* line = dynamic_cast<AudioLineCtrl*>(editor->audioLineCtrl());
    ASSERT_TRUE(line);
    int rows = 0;
    QTimer::singleShot(0, [&] {
        rows = int(line->audioEditView()->rows().size());
        line->deleteAudioItemFromList(first);
        line->audioEditDone();
    });
    editor->btnMusic()->click();
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(item->audioItems(), QList<std::shared_ptr<MediaItem>>{second});
    EXPECT_FALSE(line->window()->isVisible());
}

// Themes runs the chooser; a change there reloads the preview at the
// selected tile's time.
TEST_F(SlideshowEditor, ThemesReloadsAfterAChange)
{
    const auto item = slideshow(3);
    editor->beginEditting(item);
    editor->didClickOnRenderThumbnailView(tile(1));
    editor->play();
    const int setups = editor->oSlideshowRenderCtrl()->setupCount();
    SlideshowWndCtrl* chooser = editor->wCtrlSlideshow();
    QTimer::singleShot(0, [chooser] {
        chooser->didChooseQuartzPreview(chooser->previewViewOfName("Crossfade.qtz"));
        chooser->done();
    });
    editor->btnThemes()->click();
    EXPECT_FALSE(editor->bIsPlaying());
    EXPECT_EQ(item->slideshowName(), "Crossfade.qtz");
    EXPECT_DOUBLE_EQ(item->slideshowMetaDuration(), 3.0);
    EXPECT_DOUBLE_EQ(editor->dCurrentTime(), 4.5);  // the second tile's middle at 3 s a photo
    EXPECT_EQ(editor->oSlideshowRenderCtrl()->setupCount(), setups + 1);
}

// startEditting runs the window until Done and returns to an idle editor.
TEST_F(SlideshowEditor, StartEdittingRunsUntilDone)
{
    QWidget mainWindow;
    mainWindow.resize(1024, 768);
    mainWindow.show();
    editor->setWndSheetedWindow(&mainWindow);
    const auto item = slideshow(2);
    bool running = false;
    QTimer::singleShot(0, [&] {
        running = editor->window()->isVisible() && editor->isSheetRunning() &&
                  editor->mtAryThumbnailViews().size() == 2;
        editor->btnDone()->click();
    });
    editor->startEditting(item);
    EXPECT_TRUE(running);
    EXPECT_FALSE(editor->window()->isVisible());
    EXPECT_FALSE(editor->oRenderItem());
    EXPECT_EQ(editor->window()->parentWidget(), &mainWindow);
    EXPECT_EQ(editor->window()->windowModality(), Qt::WindowModal);
}

// A picture of the editing window on a slideshow, for looking at.
TEST_F(SlideshowEditor, TabReachesEveryButton)
{
    const auto item = slideshow(3);
    editor->beginEditting(item);
    QWidget* sheet = editor->window();
    sheet->show();
    QApplication::setActiveWindow(sheet);
    const QList<QAbstractButton*> buttons = {
        editor->btnAdd(),   editor->btnSort(), editor->btnKeep(), editor->btnThemes(),
        editor->btnMusic(), editor->btnCrop(), editor->btnPlay(), editor->btnDone()};
    QSet<QWidget*> reached;
    for (int i = 0; i < 40 && reached.size() < buttons.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : sheet,
                        Qt::Key_Tab);
        if (QWidget* focused = QApplication::focusWidget()) {
            reached.insert(focused);
        }
    }
    for (QAbstractButton* button : buttons) {
        EXPECT_TRUE(reached.contains(button)) << button->text().toStdString();
    }
    // A click does not take the focus.
    editor->btnAdd()->setFocus();
    QTest::mouseClick(editor->btnKeep(), Qt::LeftButton);
    EXPECT_FALSE(editor->btnKeep()->hasFocus());
    sheet->hide();
}

TEST_F(SlideshowEditor, PictureOfTheWindow)
{
    const auto item = slideshow(6);
    editor->beginEditting(item);
    editor->window()->show();
    editor->didClickOnRenderThumbnailView(tile(2));
    // The third photo is blue: wait until the preview shows it.
    ASSERT_TRUE(waitUntil([&] {
        const QImage frame = editor->vRenderDisplayView()->imgDisplay();
        const QColor centre = frame.isNull() ? QColor() : frame.pixelColor(frame.rect().center());
        return centre.blue() > 150 && centre.red() < 100 && centre.green() < 100;
    }));
    const QImage picture = editor->window()->grab().toImage();
    EXPECT_FALSE(picture.isNull());
    slideshowedit::writeArtifact(picture, "slideshow-editor");
}

}  // namespace
