// The list edit controller: the list screen it starts with, the change hook
// every reload runs (in its order, through the recording main window), the
// delete command, and the slideshow refresh after the slideshow editor.

#include <QDir>
#include <QPushButton>
#include <QScrollArea>

#include "ListEditTestFixture.h"
#include "ListTreeFixture.h"
#include "listedit/ListEditView.h"
#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListSelection.h"
#include "media/RenderItem.h"
#include "model/DVDTitleData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"

using namespace listtest;

namespace {

class ListEditControllerTest : public ListEditTest {
protected:
    // Notes the move flags' announcements and whether there was a current
    // page when the document was marked edited, among the main window's calls.
    void recordHookSteps()
    {
        QObject::connect(controller.get(), &PropertyNotifier::willChangeValue,
                         [this](const QString& key) { calls() << "flush " + key; });
        QObject::connect(controller.get(), &PropertyNotifier::willChangeValue, [this] {
            if (!controller->currentDVDPage()) {
                calls() << "no current page";
            }
        });
    }

    const QStringList hookSteps{"initDvdResource", "changeCapacityValue",
                                "flush moveUpButtonEnable", "flush moveDownButtonEnable",
                                "setDocumentEdited:YES"};
};

TEST_F(ListEditControllerTest, StartsWithOneEmptyCurrentPage)
{
    ListEditViewController& list = makeController();
    EXPECT_EQ(list.selectedType(), ListSelection::Nothing);
    ASSERT_EQ(project()->dvdPageArray().size(), 1);
    EXPECT_EQ(list.currentDVDPage(), project()->dvdPageArray().first());
    EXPECT_TRUE(list.currentDVDPage()->titleDataArray().isEmpty());
    EXPECT_EQ(calls(),
              (QStringList{"initDvdResource", "changeCapacityValue", "setDocumentEdited:YES"}));
    EXPECT_TRUE(installed.mainController->isDocumentEdited());

    // The screen: the list's scroll area and the five buttons, which act.
    ListEditView* view = list.listEditView();
    ASSERT_EQ(list.view(), view);
    EXPECT_EQ(view->parentWidget(), &window);
    EXPECT_TRUE(list.listScrollView()->isAncestorOf(list.listTableView()));
    EXPECT_TRUE(list.listTableView()->acceptDrops());
    const QList<QPushButton*> buttons{view->addVideoButton(), view->addPictureButton(),
                                      view->addPageButton(), view->moveUpButton(),
                                      view->moveDownButton()};
    for (QPushButton* button : buttons) {
        EXPECT_TRUE(button->isVisible()) << button->text().toStdString();
    }
    view->addPageButton()->click();
    EXPECT_EQ(project()->dvdPageArray().size(), 2);
    EXPECT_EQ(list.currentDVDPage(), project()->dvdPageArray().last());
    panelAnswer = {};
    view->addVideoButton()->click();
    view->addPictureButton()->click();
    EXPECT_EQ(requests.size(), 2);

    const QString artifacts = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
    if (!artifacts.isEmpty()) {
        QDir().mkpath(artifacts);
        window.grab().save(artifacts + "/list-edit-screen.png");
    }
}

// Every reload runs the same steps in the same order; with no current page
// the last page becomes current before the document is marked edited.
TEST_F(ListEditControllerTest, EveryReloadRunsTheHookInOrder)
{
    ListEditViewController& list = makeController();
    recordHookSteps();
    const auto first = list.currentDVDPage();
    struct Case {
        const char* name;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"reload", [&] { list.reloadListTableView(); }},
        {"reloadView", [&] { list.reloadView(); }},
        {"add page", [&] { list.addMenuPageAction(); }},
        {"move up", [&] { list.moveUpButtonAction(); }},
        {"move down", [&] { list.moveDownButtonAction(); }},
        {"delete with nothing selected", [&] { list.deleteSelectedData(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        calls().clear();
        c.act();
        QStringList expected = hookSteps;
        // The move buttons announce their flags once more after the reload.
        if (QString(c.name).startsWith("move")) {
            expected << "flush moveUpButtonEnable"
                     << "flush moveDownButtonEnable";
        }
        EXPECT_EQ(calls(), expected);
    }

    calls().clear();
    list.setCurrentDVDPage(nullptr);
    list.reloadListTableView();
    EXPECT_EQ(calls(),
              QStringList({"initDvdResource", "changeCapacityValue", "flush moveUpButtonEnable",
                           "no current page", "flush moveDownButtonEnable", "no current page",
                           "setDocumentEdited:YES"}));
    EXPECT_EQ(list.currentDVDPage(), project()->dvdPageArray().last());
    EXPECT_NE(list.currentDVDPage(), first);
}

TEST_F(ListEditControllerTest, DeleteRemovesTheSelectedEntry)
{
    ListEditViewController& list = makeController();
    const auto only = list.currentDVDPage();

    // The only page: a new empty page takes its place and is current.
    list.setSelectedType(ListSelection::Page);
    list.setSelectedData(only);
    calls().clear();
    list.deleteSelectedData();
    ASSERT_EQ(project()->dvdPageArray().size(), 1);
    EXPECT_NE(project()->dvdPageArray().first(), only);
    EXPECT_EQ(list.currentDVDPage(), project()->dvdPageArray().first());
    EXPECT_EQ(list.selectedType(), ListSelection::Nothing);
    EXPECT_EQ(calls(),
              (QStringList{"initDvdResource", "changeCapacityValue", "setDocumentEdited:YES"}));

    // A clip and a title.
    const auto page = list.currentDVDPage();
    auto title = ListTree::title(page);
    const auto a = ListTree::clip(title);
    const auto b = ListTree::clip(title);
    list.setSelectedType(ListSelection::Clip);
    list.setSelectedData(a);
    list.deleteSelectedData();
    EXPECT_EQ(title->mediaDataArray(), (MediaData::ClipList{b}));
    list.setSelectedType(ListSelection::Title);
    list.setSelectedData(title);
    list.deleteSelectedData();
    EXPECT_TRUE(page->titleDataArray().isEmpty());

    // Nothing selected removes nothing.
    auto kept = ListTree::title(page);
    ListTree::clip(kept);
    list.setSelectedData(kept);
    list.setSelectedType(ListSelection::Nothing);
    list.deleteSelectedData();
    EXPECT_EQ(page->titleDataArray().size(), 1);

    // Project close: no page is left and none is added.
    list.removeAllWhenCloseProject();
    EXPECT_TRUE(project()->dvdPageArray().isEmpty());
    EXPECT_EQ(list.currentDVDPage(), nullptr);
}

// After the slideshow editor: the clip's length and its section's end follow
// the slideshow, truncated to media time; the rows refresh.
TEST_F(ListEditControllerTest, SlideshowRefreshAfterEditing)
{
    ListEditViewController& list = makeController();
    const auto slideshow = list.createMediaDataWithImagePaths(
        {picture("a.png", Qt::red), picture("b.png", Qt::green)});
    ASSERT_TRUE(slideshow);
    const auto title = ListMediaFactory::createDVDTitleDataWithMedia(slideshow);
    ListMediaFactory::appendTitleToPage(title, list.currentDVDPage());
    const auto render = slideshow->sectionItem()->superResource()->imageSource();
    ASSERT_EQ(render->addPhotoPaths({picture("c.png", Qt::blue)}), 1);
    const double length = render->slideshowDuration();
    ASSERT_NE(length, slideshow->imageDataDuration());
    FakeRow clipRow, titleRow;
    slideshow->setMediaDataView(&clipRow);
    title->setTitleDataView(&titleRow);

    // Only for a selected clip.
    list.setSelectedType(ListSelection::Title);
    list.setSelectedData(slideshow);
    list.flushImageMediaDataWhenImageEditFinished();
    EXPECT_NE(slideshow->imageDataDuration(), length);
    EXPECT_EQ(clipRow.refreshed, 0);

    list.setSelectedType(ListSelection::Clip);
    list.flushImageMediaDataWhenImageEditFinished();
    EXPECT_DOUBLE_EQ(slideshow->imageDataDuration(), length);
    EXPECT_EQ(slideshow->sectionItem()->endTimeInMedia(),
              static_cast<LMMediaTime>(static_cast<double>(lm_default_time_base()) * length));
    EXPECT_EQ(clipRow.refreshed, 1);
    EXPECT_EQ(titleRow.refreshed, 1);

    // A sub-clip: its merged clip's row and the title's row refresh too.
    auto group = std::make_shared<MediaData>();
    group->setHasSubMedia(true);
    group->flushSuperTitleData(title);
    title->mediaDataArray().append(group);
    slideshow->flushSuperMediaData(group);
    group->subMediaArray().append(slideshow);
    FakeRow groupRow;
    group->setMediaDataView(&groupRow);
    list.flushImageMediaDataWhenImageEditFinished();
    EXPECT_EQ(clipRow.refreshed, 2);
    EXPECT_EQ(groupRow.refreshed, 1);
    EXPECT_EQ(titleRow.refreshed, 2);
}

}  // namespace
