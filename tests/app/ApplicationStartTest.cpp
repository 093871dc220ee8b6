// The program's own set-up, as main() makes it: the real editors in the main
// window, a photo and a clip imported through the title list's open-panel
// road, pictures of list mode and menu mode, pictures of the three page
// dialogs opened from the menu editor's buttons, and the chapter editor opened
// from a clip row's chapter button, with pictures of it and of the list after
// Apply to Video.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include "LaunchedShellTest.h"
#include "TestSupport.h"
#include "app/ApplicationParts.h"
#include "dialogs/BackgroundMusicWindowController.h"
#include "dialogs/BackgroundPictureWindowController.h"
#include "dialogs/PlayModeWindowController.h"
#include "listedit/ClipMarkEditView.h"
#include "listedit/ListEditViewController.h"
#include "listedit/MediaDataView.h"
#include "media/MoviePlayer.h"
#include "media/PhotoItem.h"
#include "menuedit/MenuEditViewController.h"
#include "model/DVDPageData.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "shell/ControllerFunction.h"
#include "slideshow/RenderEditWndCtrl.h"
#include "videoedit/ClipEditWindowController.h"
#include "videoedit/VideoEditWindowController.h"

namespace {

class ApplicationStartTest : public LaunchedShellTest {};

}  // namespace

TEST_F(ApplicationStartTest, TheMainWindowHostsEveryEditor)
{
    MainWindowController* controller = shell->controller();
    ASSERT_NE(listEditor(), nullptr);
    auto* menuEditor =
        dynamic_cast<MenuEditViewController*>(ControllerFunction::menuEditController());
    ASSERT_NE(menuEditor, nullptr);
    EXPECT_NE(dynamic_cast<VideoEditWindowController*>(ControllerFunction::videoEditController()),
              nullptr);
    EXPECT_NE(dynamic_cast<RenderEditWndCtrl*>(ControllerFunction::imageEditController()), nullptr);
    auto* chapterEditor =
        dynamic_cast<ClipEditWindowController*>(ControllerFunction::clipEditController());
    ASSERT_NE(chapterEditor, nullptr);
    EXPECT_EQ(chapterEditor->parentWidget(), controller->window());
    EXPECT_TRUE(controller->listContainerView()->isAncestorOf(listEditor()->view()));
    EXPECT_TRUE(controller->menuEditContainerView()->isAncestorOf(menuEditor->view()));
    // The list starts with one empty page, and the project is not edited.
    EXPECT_EQ(shell->delegate->dateResource()->dvdPageArray().size(), 1);
    EXPECT_FALSE(controller->isDocumentEdited());
    // The chapter editor opens only on a clip of a source.
    chapterEditor->showWindowWithMediaData(nullptr);
    EXPECT_FALSE(chapterEditor->isVisible());
}

TEST_F(ApplicationStartTest, APhotoAndAClipImportThroughTheListAndTheWindowShowsBothModes)
{
    const QString media = shell->folders.root() + "/media";
    ASSERT_TRUE(QDir().mkpath(media));
    QImage photo(320, 240, QImage::Format_RGB32);
    photo.fill(QColor(40, 120, 200));
    ASSERT_TRUE(photo.save(media + "/photo.png"));
    ASSERT_TRUE(testsupport::makeTestClip(media + "/clip.mp4", 2.0));

    import({media + "/photo.png"}, &ListEditViewController::addPictureToListAction, 1);
    // The photo's working copy lies in this run's photo folder.
    const QString photos = PhotoItem::appTempPath();
    ASSERT_FALSE(photos.isEmpty());
    EXPECT_FALSE(QDir(photos).entryList(QDir::Files).isEmpty());

    import({media + "/clip.mp4"}, &ListEditViewController::addVideoToListAction, 2);
    MainWindowController* controller = shell->controller();
    EXPECT_TRUE(controller->isDocumentEdited());
    EXPECT_GT(controller->totalUsedSpace(), 0);

    controller->showWindow();
    QWidget* window = controller->window();
    window->resize(1024, 720);
    QCoreApplication::processEvents();
    const QImage listMode = window->grab().toImage();
    testsupport::writeArtifact(listMode, "main-window-list-mode.png");

    QTest::mouseClick(controller->mainEditModeBtn(), Qt::LeftButton);
    EXPECT_EQ(controller->selectedTabIdentifier(), "menu");
    // The disc side now has the page, with its two titles.
    const auto disc = shell->delegate->dvd();
    ASSERT_FALSE(disc->pageArray().isEmpty());
    QCoreApplication::processEvents();
    const QImage menuMode = window->grab().toImage();
    testsupport::writeArtifact(menuMode, "main-window-menu-mode.png");
    EXPECT_NE(listMode, menuMode);
}

TEST_F(ApplicationStartTest, ThePageDialogsOpenFromTheMenuEditorsButtons)
{
    const QString media = shell->folders.root() + "/media";
    ASSERT_TRUE(QDir().mkpath(media));
    ASSERT_TRUE(testsupport::makeTestClip(media + "/clip.mp4", 1.2));
    import({media + "/clip.mp4"}, &ListEditViewController::addVideoToListAction, 1);

    MainWindowController* controller = shell->controller();
    controller->showWindow();
    QWidget* window = controller->window();
    window->resize(1024, 720);
    QTest::mouseClick(controller->mainEditModeBtn(), Qt::LeftButton);
    ASSERT_EQ(controller->selectedTabIdentifier(), "menu");
    auto* menuEditor =
        dynamic_cast<MenuEditViewController*>(ControllerFunction::menuEditController());
    ASSERT_NE(menuEditor, nullptr);
    ASSERT_TRUE(menuEditor->currentMenu());
    QCoreApplication::processEvents();

    struct Case {
        QString button;
        QWidget* dialog;
        bool isProgramDialog;
        QString picture;
    };
    const Case cases[] = {
        {"Background", menuEditor->bgPictureController()->window(),
         dynamic_cast<BackgroundPictureWindowController*>(menuEditor->bgPictureController()) !=
             nullptr,
         "app-background-picture-dialog.png"},
        {"Music", menuEditor->bgMusicController()->window(),
         dynamic_cast<BackgroundMusicWindowController*>(menuEditor->bgMusicController()) != nullptr,
         "app-background-music-dialog.png"},
        {"Play Mode", menuEditor->playModeController()->window(),
         dynamic_cast<PlayModeWindowController*>(menuEditor->playModeController()) != nullptr,
         "app-play-mode-dialog.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.button));
        EXPECT_TRUE(c.isProgramDialog);
        QPushButton* button = nullptr;
        for (auto* candidate : menuEditor->view()->findChildren<QPushButton*>()) {
            button = candidate->text() == c.button ? candidate : button;
        }
        ASSERT_NE(button, nullptr);
        controller->setDocumentEdited(false);
        QTest::mouseClick(button, Qt::LeftButton);
        // A sheet on the main window.
        ASSERT_TRUE(QTest::qWaitFor([&] { return c.dialog->isVisible(); }, 5000));
        EXPECT_EQ(c.dialog->parentWidget(), window);
        EXPECT_EQ(c.dialog->windowModality(), Qt::WindowModal);
        QTest::qWait(50);
        const QImage shot = c.dialog->grab().toImage();
        EXPECT_FALSE(shot.isNull());
        testsupport::writeArtifact(shot, c.picture);
        // Closing, whatever closes it, marks the project edited.
        c.dialog->close();
        EXPECT_FALSE(c.dialog->isVisible());
        EXPECT_TRUE(controller->isDocumentEdited());
    }
}

TEST_F(ApplicationStartTest, AClipRowsChapterButtonOpensTheChapterEditorThatSplitsTheClip)
{
    const QString media = shell->folders.root() + "/media";
    ASSERT_TRUE(QDir().mkpath(media));
    ASSERT_TRUE(testsupport::makeTestClip(media + "/clip.mp4", 6.0, 320, 180));
    import({media + "/clip.mp4"}, &ListEditViewController::addVideoToListAction, 1);
    MainWindowController* controller = shell->controller();
    controller->showWindow();
    QWidget* window = controller->window();
    window->resize(1024, 720);
    QCoreApplication::processEvents();

    const auto title = listEditor()->currentDVDPage()->titleDataArray().first();
    const auto clip = title->mediaDataArray().first();
    auto* row = dynamic_cast<MediaDataView*>(clip->mediaDataView());
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(row->clipMarkEditView()->isVisible());
    QTest::mouseClick(row->clipMarkEditView(), Qt::LeftButton);
    auto* editor =
        dynamic_cast<ClipEditWindowController*>(ControllerFunction::clipEditController());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->importMedia(), clip);

    // Two chapter markers, at 2 s and 4 s; the first selected.
    editor->pause();
    for (double at : {2.0, 4.0}) {
        editor->seek(static_cast<LMMediaTime>(at * lm_default_time_base()));
        editor->flushPlayerProgress();
        editor->addMarkButtonAction();
    }
    ASSERT_EQ(editor->markerArray().size(), 4);
    editor->setSelectedMarker(editor->markerArray().at(1));
    editor->seek(editor->markerArray().at(1)->markTime());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !editor->player()->originImage().isNull(); }, 10000));
    QTest::qWait(200);  // the frame at the marker
    testsupport::writeArtifact(editor->grab().toImage(), "chapter-editor-from-clip-row.png");

    ASSERT_TRUE(editor->applyToVideoAction());
    EXPECT_EQ(shell->services.alerts->messages(),
              QStringList{"Do you want to apply the chapter markers to Video ?"});
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(title->mediaDataArray(), MediaData::ClipList{clip});
    EXPECT_EQ(clip->subMediaArray().size(), 3);
    EXPECT_TRUE(controller->isDocumentEdited());
    QCoreApplication::processEvents();
    testsupport::writeArtifact(window->grab().toImage(), "title-list-after-apply-to-video.png");
}
