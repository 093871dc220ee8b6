// The menu edit controller: set-up, reload, page navigation and its keys,
// the no-menu cover, the play button, static texts, the page dialogs and the
// item lists.
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <thread>

#include "MenuEditTestFixture.h"
#include "menuedit/NoMenuView.h"
#include "shell/ControllerFunction.h"

using namespace menutest;

namespace {

class MenuEditViewControllerTest : public MenuEditorTest {
protected:
    template <typename T>
    T& control(const char* name)
    {
        T* found = controller->view()->findChild<T*>(name);
        EXPECT_TRUE(found) << name;
        return *found;
    }

    // Collects the keys announced on the controller.
    QStringList& watchKeys()
    {
        QObject::connect(controller, &PropertyNotifier::didChangeValue, controller,
                         [this](const QString& key) { announced << key; });
        return announced;
    }

    NoMenuView& cover() { return *controller->noMenuView(); }

    QStringList announced;
};

TEST_F(MenuEditViewControllerTest, DialogsAreMadeOnceInOrderCentredAndReachedThroughTheShell)
{
    EXPECT_EQ(factory->order, QStringList({"music", "picture", "play mode", "title", "button"}));
    EXPECT_EQ(ControllerFunction::menuEditController(), controller);
    EXPECT_EQ(ControllerFunction::bgMusicController(), factory->bgMusic);
    EXPECT_EQ(ControllerFunction::bgPictureController(), factory->bgPicture);
    EXPECT_EQ(ControllerFunction::playModeController(), factory->playMode);
    EXPECT_EQ(ControllerFunction::titleTextEditController(), factory->titleText);
    EXPECT_EQ(ControllerFunction::buttonEditController(), factory->button);
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((factory->bgMusic->widget.frameGeometry().center() - centre).manhattanLength(), 1);
    EXPECT_LE((factory->button->widget.frameGeometry().center() - centre).manhattanLength(), 1);
    EXPECT_EQ(MenuEditViewController::nibName(), QString("MenuEditViewController"));
}

TEST_F(MenuEditViewControllerTest, ReloadCopiesTheSettingsAndShowsTheFirstTopPage)
{
    disc().setAspectType(0);
    disc().setUseNoMenu(true);
    disc().setShowPlayButton(true);
    auto first = topPage();
    auto second = topPage();
    open({first, second});

    EXPECT_EQ(controller->aspectIndex(), 0);
    EXPECT_EQ(controller->lastTimeAspect(), 0);
    EXPECT_TRUE(controller->useNoMenu());
    EXPECT_TRUE(controller->showPlayBtn());
    EXPECT_EQ(controller->currentMenu(), first);
    // The controls follow without sending their actions.
    EXPECT_EQ(control<QComboBox>("aspectControl").currentIndex(), 0);
    EXPECT_TRUE(control<QCheckBox>("noMenuCheckBox").isChecked());
    EXPECT_TRUE(control<QCheckBox>("showPlayCheckBox").isChecked());
    EXPECT_TRUE(main().calls.isEmpty());
    // The cover shows with the check box, right after opening.
    EXPECT_TRUE(cover().isVisible());
    EXPECT_EQ(cover().geometry(), canvas().geometry());

    // A disc without pages leaves an empty canvas, not the old page.
    disc().setUseNoMenu(false);
    open({});
    EXPECT_FALSE(controller->currentMenu());
    EXPECT_FALSE(cover().isVisible());
}

TEST_F(MenuEditViewControllerTest, PagingThroughTopPagesAndIntoASubPage)
{
    auto first = topPage();
    auto second = topPage();
    auto empty = topPage(0);  // no titles: not among the top pages
    auto chapterTitle = item(1, {100, 100, 200, 150});
    first->setItemArray({chapterTitle});
    auto chapters = subPage(first, chapterTitle);
    open({first, empty, second, chapters});
    auto& previous = control<QToolButton>("previousPageButton");
    auto& next = control<QToolButton>("nextPageButton");

    struct Step {
        const char* what;
        std::function<void()> act;
        std::shared_ptr<DVDPage> shown;
        bool hasLast;
        bool hasNext;
        const char* previousImage;
        const char* nextImage;
    } steps[] = {
        {"first page", [] {}, first, false, true, "PrePage2", "NextPage"},
        {"previous at the first", [&] { QTest::mouseClick(&previous, Qt::LeftButton); }, first,
         false, true, "PrePage2", "NextPage"},
        {"next", [&] { QTest::mouseClick(&next, Qt::LeftButton); }, second, true, false, "PrePage",
         "NextPage2"},
        {"next at the last", [&] { controller->nextPageAction(); }, second, true, false, "PrePage",
         "NextPage2"},
        {"previous", [&] { controller->previousPageAction(); }, first, false, true, "PrePage2",
         "NextPage"},
        {"into the sub-page", [&] { controller->updateMenuPage(chapters); }, chapters, true, false,
         "PrePage", "NextPage2"},
        {"next on a sub-page", [&] { controller->nextPageAction(); }, chapters, true, false,
         "PrePage", "NextPage2"},
        {"previous on a sub-page", [&] { controller->previousPageAction(); }, first, false, true,
         "PrePage2", "NextPage"},
        {"a null page is ignored", [&] { controller->updateMenuPage(nullptr); }, first, false, true,
         "PrePage2", "NextPage"},
    };
    for (const auto& step : steps) {
        step.act();
        processEvents();
        EXPECT_EQ(controller->currentMenu(), step.shown) << step.what;
        EXPECT_EQ(controller->hasLastMenu(), step.hasLast) << step.what;
        EXPECT_EQ(controller->hasNextMenu(), step.hasNext) << step.what;
        EXPECT_EQ(controller->previousMenuImageName(), QString(step.previousImage)) << step.what;
        EXPECT_EQ(controller->nextMenuImageName(), QString(step.nextImage)) << step.what;
        // The window's buttons follow the announced keys.
        EXPECT_EQ(previous.isEnabled(), step.hasLast) << step.what;
        EXPECT_EQ(next.isEnabled(), step.hasNext) << step.what;
        EXPECT_FALSE(controller->previousMenuImage().isNull());
        EXPECT_FALSE(controller->nextMenuImage().isNull());
    }
}

TEST_F(MenuEditViewControllerTest, ShowingAPageAnnouncesTheKeysAndClearsTheSelection)
{
    auto first = topPage();
    auto second = topPage();
    auto title = item(1, {100, 100, 200, 150});
    first->setItemArray({title});
    open({first, second});
    select({title});
    processEvents();
    ASSERT_EQ(controller->currentItem(), title);
    ASSERT_TRUE(controller->hasSelectedOneItem());
    ASSERT_TRUE(bar().isVisible());

    auto& keys = watchKeys();
    controller->nextPageAction();
    processEvents();
    for (const char* key : {"hasLastMenu", "hasNextMenu", "previousMenuImage", "nextMenuImage",
                            "hasSelectedOneItem"}) {
        EXPECT_TRUE(keys.contains(key)) << key;
    }
    EXPECT_TRUE(canvas().shapeView()->selectedItemArray().isEmpty());
    EXPECT_FALSE(controller->currentItem());
    EXPECT_FALSE(controller->hasSelectedOneItem());
    EXPECT_FALSE(bar().isVisible());
}

TEST_F(MenuEditViewControllerTest, NoMenuRaisesAndDropsTheCover)
{
    auto page = topPage();
    auto title = item(1, {100, 100, 200, 150});
    page->setItemArray({title});
    open({page});
    select({title});
    ASSERT_FALSE(cover().isVisible());

    auto& box = control<QCheckBox>("noMenuCheckBox");
    box.click();
    EXPECT_TRUE(disc().useNoMenu());
    EXPECT_TRUE(cover().isVisible());
    EXPECT_EQ(cover().geometry(), canvas().geometry());
    // Above the canvas: a click in the middle of the canvas reaches the cover.
    QWidget* panel = canvas().parentWidget();
    EXPECT_EQ(panel->childAt(canvas().geometry().center()), &cover());
    EXPECT_TRUE(canvas().shapeView()->selectedItemArray().isEmpty());
    EXPECT_EQ(main().calls, QStringList({"changeCapacityValue", "setDocumentEdited:YES"}));

    // It follows the canvas on every resize.
    controller->view()->resize(760, 520);
    processEvents();
    EXPECT_EQ(cover().geometry(), canvas().geometry());

    box.click();
    EXPECT_FALSE(disc().useNoMenu());
    EXPECT_FALSE(cover().isVisible());
    EXPECT_EQ(main().count("changeCapacityValue"), 2);
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 2);
}

TEST_F(MenuEditViewControllerTest, HidingTheSelectedPlayButtonClearsTheSelection)
{
    disc().setShowPlayButton(true);
    auto page = topPage();
    auto title = item(1, {100, 200, 200, 150});
    auto play = page->playButtonItem();
    auto next = page->nextButtonItem();
    page->setItemArray({title, play, next});
    open({page});
    auto& box = control<QCheckBox>("showPlayCheckBox");
    ASSERT_TRUE(box.isChecked());

    // Another button selected: the selection stays.
    select({next});
    box.click();
    EXPECT_FALSE(disc().showPlayButton());
    EXPECT_EQ(controller->currentItem(), next);
    EXPECT_EQ(main().calls,
              QStringList({"updatePreNextButtonForDVDPageArray", "setDocumentEdited:YES"}));

    box.click();
    EXPECT_TRUE(disc().showPlayButton());
    select({play});
    ASSERT_TRUE(bar().isVisible());
    box.click();
    EXPECT_TRUE(canvas().shapeView()->selectedItemArray().isEmpty());
    EXPECT_FALSE(controller->currentItem());
    EXPECT_FALSE(bar().isVisible());

    // A play item without a button picture is judged by its type.
    box.click();
    auto bare = item(11, {300, 10, 80, 70});
    bare->setButtonResource(nullptr);
    select({title, bare});
    box.click();
    EXPECT_TRUE(canvas().shapeView()->selectedItemArray().isEmpty());
    EXPECT_EQ(main().count("updatePreNextButtonForDVDPageArray"), 5);
}

TEST_F(MenuEditViewControllerTest, DeleteRemovesStaticTextsOnly)
{
    auto page = topPage();
    auto title = item(1, {100, 200, 200, 150});
    auto one = textItem({10, 400, 100, 40}, "One");
    auto two = textItem({200, 400, 100, 40}, "Two");
    auto three = textItem({400, 400, 100, 40}, "Three");
    page->setItemArray({title, one, two, three});
    open({page});

    struct Case {
        const char* what;
        QList<std::shared_ptr<DVDPageItem>> selection;
        bool allText;
    } cases[] = {{"nothing selected", {}, false},
                 {"a text and a title", {one, title}, false},
                 {"a title", {title}, false}};
    for (const auto& c : cases) {
        select(c.selection);
        EXPECT_EQ(controller->hasSelectAndSelectedAllPageItemText(), c.allText) << c.what;
        controller->deleteCurrentTextItem();
        EXPECT_EQ(page->itemArray().size(), 4) << c.what;
        EXPECT_EQ(canvas().shapeView()->selectedItemArray(), c.selection) << c.what;
    }
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 0);

    select({one, three});
    EXPECT_TRUE(controller->hasSelectAndSelectedAllPageItemText());
    controller->deleteCurrentTextItem();
    EXPECT_EQ(page->itemArray(), QList<std::shared_ptr<DVDPageItem>>({title, two}));
    EXPECT_TRUE(canvas().shapeView()->selectedItemArray().isEmpty());
    EXPECT_FALSE(controller->currentItem());
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 1);
}

TEST_F(MenuEditViewControllerTest, AddTextAndThePageDialogs)
{
    disc().setAspectType(0);
    auto first = topPage();
    auto second = topPage();
    for (const auto& page : {first, second}) {
        page->setImageCropRect({0, 0, 1600, 900});
    }
    open({first, second});

    QTest::mouseClick(&control<QPushButton>("addTextButton"), Qt::LeftButton);
    EXPECT_EQ(factory->titleText->calls, QStringList({"addTextMediaAction"}));
    EXPECT_EQ(main().calls, QStringList({"setDocumentEdited:YES"}));

    QTest::mouseClick(&control<QPushButton>("menuPictureButton"), Qt::LeftButton);
    // Every page's crop is refitted to 4:3 about its centre first.
    for (const auto& page : {first, second}) {
        EXPECT_EQ(page->imageCropRect(), QRectF(200, 0, 1200, 900));
    }
    EXPECT_EQ(factory->bgPicture->calls, QStringList({"showWindowInModel"}));
    QTest::mouseClick(&control<QPushButton>("menuMusicButton"), Qt::LeftButton);
    EXPECT_EQ(factory->bgMusic->calls, QStringList({"showWindowInModel"}));
    QTest::mouseClick(&control<QPushButton>("playModeButton"), Qt::LeftButton);
    EXPECT_EQ(factory->playMode->calls, QStringList({"showWindowInModel"}));
    // Opening a dialog marks nothing by itself.
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 1);
}

TEST_F(MenuEditViewControllerTest, ItemListsPutStaticTextsFirst)
{
    auto page = topPage();
    auto title = item(1, {100, 200, 200, 150});
    auto text = textItem({10, 400, 100, 40});
    auto textTitle = item(4, {300, 200, 200, 50});
    textTitle->setTextSource(std::make_shared<EffectTextImage>());
    auto play = page->playButtonItem();
    auto later = textItem({200, 400, 100, 40});
    page->setItemArray({title, text, textTitle, play, later});
    open({page});

    using List = QList<std::shared_ptr<DVDPageItem>>;
    EXPECT_EQ(controller->textItemArray(), List({text, later}));
    EXPECT_EQ(controller->pageItemArray(), List({title, textTitle, play}));
    EXPECT_EQ(controller->sourceArray(), List({text, later, title, textTitle, play}));
    // Each text learns its item on the way.
    EXPECT_EQ(text->textSource()->media(), text);
    EXPECT_EQ(later->textSource()->media(), later);
    EXPECT_EQ(textTitle->textSource()->media(), textTitle);
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool offMainThread = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            offMainThread |= QThread::currentThread() != qApp->thread();
        }
        return false;
    }
};

TEST_F(MenuEditViewControllerTest, RedisplayFromAnotherThreadIsQueuedToTheMainThread)
{
    open({topPage()});
    PaintCounter counter;
    canvas().installEventFilter(&counter);
    std::thread worker([] { ControllerFunction::menuEditController()->displayCanvasView(); });
    worker.join();
    for (int i = 0; i < 20 && counter.paints == 0; ++i) {
        QTest::qWait(10);
    }
    EXPECT_GT(counter.paints, 0);
    EXPECT_FALSE(counter.offMainThread);
}

}  // namespace
