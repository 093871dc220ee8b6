#pragma once
// Shared set-up of the menu editor tests: the open project's disc side and
// media side with the real template library, handed to the shell's recording
// main window, a dialog factory that makes recording dialogs, the real menu
// edit controller made with that main window as its host and installed in
// it, and builders of pages, titles and texts.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "../model/DVDResourceTestFixture.h"
#include "RecordingControllers.h"
#include "menuedit/ItemControlView.h"
#include "menuedit/MenuDialogFactory.h"
#include "menuedit/MenuEditCanvasView.h"
#include "menuedit/MenuEditShapeView.h"
#include "menuedit/MenuEditViewController.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DataResource.h"
#include "model/EffectTextImage.h"

namespace menutest {

// The disc services of the model tests, with a media side too.
struct MenuServices : disctest::DiscServices {
    std::shared_ptr<DataResource> media;
    std::shared_ptr<DataResource> dateResource() const override { return media; }
};

// Makes the shell's recording dialogs and remembers the order it was asked in.
class RecordingDialogFactory : public MenuDialogFactory {
public:
    QStringList order;
    testsupport::RecordingBgMusicController* bgMusic = nullptr;
    testsupport::RecordingBgPictureController* bgPicture = nullptr;
    testsupport::RecordingPlayModeController* playMode = nullptr;
    testsupport::RecordingTitleTextEditController* titleText = nullptr;
    testsupport::RecordingButtonEditController* button = nullptr;

    std::unique_ptr<IBackgroundMusicWindowController> makeBgMusicController(
        MenuEditViewController&) override
    {
        return make(bgMusic, "music");
    }
    std::unique_ptr<IBackgroundPictureWindowController> makeBgPictureController(
        MenuEditViewController&) override
    {
        return make(bgPicture, "picture");
    }
    std::unique_ptr<IPlayModeWindowController> makePlayModeController(
        MenuEditViewController&) override
    {
        return make(playMode, "play mode");
    }
    std::unique_ptr<ITitleTextEditWindowController> makeTitleTextEditController(
        MenuEditViewController&) override
    {
        return make(titleText, "title");
    }
    std::unique_ptr<IButtonEditWindowController> makeButtonEditController(
        MenuEditViewController&) override
    {
        return make(button, "button");
    }

private:
    template <typename T>
    std::unique_ptr<T> make(T*& kept, const char* name)
    {
        order << name;
        auto made = std::make_unique<T>();
        kept = made.get();
        return made;
    }
};

// Lets queued property announcements and redisplays arrive.
inline void processEvents()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

class MenuEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        services = std::make_shared<MenuServices>();
        services->library = disctest::templateLibrary();
        ASSERT_FALSE(services->library->buttons().isEmpty());
        services->disc = std::make_shared<DVDResource>();
        services->media = std::make_shared<DataResource>();
        factory = std::make_shared<RecordingDialogFactory>();
        MenuDialogFactory::install(factory);
        installed = std::make_unique<testsupport::InstalledControllers>();
        installed->mainController->setOpenProject(services);
        auto made = std::make_unique<MenuEditViewController>(nullptr, installed->mainController);
        controller = made.get();
        installed->mainController->setMenuEditController(std::move(made));
        controller->view()->resize(1000, 600);
        controller->view()->show();
        processEvents();
    }

    void TearDown() override
    {
        installed.reset();
        MenuDialogFactory::install(nullptr);
    }

    DVDResource& disc() { return *services->disc; }
    testsupport::RecordingMainWindowController& main() { return *installed->mainController; }
    MenuEditCanvasView& canvas() { return *controller->canvasView(); }
    ItemControlView& bar() { return *controller->itemControlView(); }

    // A top page standing for a list page with `titles` titles.
    std::shared_ptr<DVDPage> topPage(int titles = 1)
    {
        auto list = std::make_shared<disctest::DiscTestListPage>();
        list->titles = titles;
        kept.push_back(list);
        auto page = std::make_shared<DVDPage>();
        page->setMedia(list);
        return page;
    }

    // A chapter page opened from `from` on `parent`.
    std::shared_ptr<DVDPage> subPage(const std::shared_ptr<DVDPage>& parent,
                                     const std::shared_ptr<DVDPageItem>& from)
    {
        auto page = std::make_shared<DVDPage>();
        page->setIsSubPage(true);
        page->setSuperPage(parent);
        from->setHasSubPage(true);
        from->setSubPage(page);
        return page;
    }

    static std::shared_ptr<DVDPageItem> item(qint64 type, const QRectF& frame)
    {
        auto made = std::make_shared<DVDPageItem>();
        made->setType(type);
        made->setFrame(frame);
        made->setHasShadow(false);
        return made;
    }

    static std::shared_ptr<DVDPageItem> textItem(const QRectF& frame, const QString& text = "Text")
    {
        auto made = item(2, frame);
        auto source = std::make_shared<EffectTextImage>();
        source->setTextString(text);
        made->setTextSource(source);
        return made;
    }

    // A clip whose preview is one colour, kept alive by the fixture.
    std::shared_ptr<disctest::DiscTestClip> clip(QColor colour)
    {
        auto made = std::make_shared<disctest::DiscTestClip>();
        made->preview = disctest::solid(64, 48, colour);
        kept.push_back(made);
        return made;
    }

    // A title of the given clips, kept alive by the fixture.
    std::shared_ptr<disctest::DiscTestTitle> title(const QList<std::shared_ptr<MenuClip>>& clips)
    {
        auto made = std::make_shared<disctest::DiscTestTitle>();
        made->clips = clips;
        kept.push_back(made);
        return made;
    }

    // Puts the pages on the disc and has the editor reload.
    void open(const QList<std::shared_ptr<DVDPage>>& pages)
    {
        disc().setPageArray(pages);
        controller->flushDVDPageEditWhenOpen();
        processEvents();
    }

    void select(const QList<std::shared_ptr<DVDPageItem>>& items)
    {
        canvas().shapeView()->setSelectedItemArray(items);
        controller->shapeViewSelectionUpdate();
    }

    std::shared_ptr<MenuServices> services;
    std::shared_ptr<RecordingDialogFactory> factory;
    std::unique_ptr<testsupport::InstalledControllers> installed;
    MenuEditViewController* controller = nullptr;
    std::vector<ObjectPtr> kept;
};

}  // namespace menutest
