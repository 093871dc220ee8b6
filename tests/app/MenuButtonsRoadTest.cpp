// Menu buttons on the program's own road, in PAL and NTSC, 16:9 and 4:3: titles
// imported through the title list's open panel, clips dropped from the desktop
// at the top of a page and into a title (which then opens a page of
// chapters), one title deleted through the list's Delete and a clip imported
// again, a title nudged by hand in the menu editor, a page crowded beyond its
// places, the project saved and opened again, and the disc produced. At every
// step the spumux description of each menu of the disc model the main window
// builds has its button areas apart from one another and inside the picture,
// and every button's frame lies inside its page; the authored disc read back
// with libdvdread holds the same areas.
//
// When BRISANE_TEST_ARTIFACTS names a folder, each menu is written there as
// "menu-buttons-<format>-<aspect>-page<n>.png": the page at the DVD frame size
// with its button areas outlined.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <list>
#include <string>

#include "../shell/DiscReadBack.h"
#include "DiscRoadSupport.h"
#include "LaunchedShellTest.h"
#include "TestSupport.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuMake.h"
#include "listedit/ListTableView.h"
#include "listedit/core/ListDropState.h"
#include "listedit/core/ListSelection.h"
#include "menuedit/MenuEditCanvasView.h"
#include "menuedit/MenuEditShapeView.h"
#include "menuedit/MenuEditViewController.h"
#include "menuedit/core/MenuPageLayout.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "shell/AppDelegate.h"
#include "shell/MainWindowController.h"

namespace {

using Rects = QList<QRect>;

struct Format {
    qint64 dvdFormat;  // 1 PAL, 0 NTSC
    qint64 aspect;     // 1 16:9, 0 4:3
    const char* name;
};

void PrintTo(const Format& format, std::ostream* out)
{
    *out << format.name;
}

// A rectangle as text, for readable failures.
std::string text(const QRectF& r)
{
    return QString("(%1, %2, %3, %4)")
        .arg(r.x(), 0, 'f', 3)
        .arg(r.y(), 0, 'f', 3)
        .arg(r.width(), 0, 'f', 3)
        .arg(r.height(), 0, 'f', 3)
        .toStdString();
}

// The button areas of a spumux description, x0, y0, x1, y1 (x1 and y1 past
// the area) as a rectangle each.
Rects spumuxButtons(const QString& xml)
{
    Rects rects;
    static const QRegularExpression button(
        R"re(<button name="b\d+" x0="(-?\d+)" y0="(-?\d+)" x1="(-?\d+)" y1="(-?\d+)" />)re");
    auto matches = button.globalMatch(xml);
    while (matches.hasNext()) {
        const auto m = matches.next();
        rects.append(QRect(QPoint(m.captured(1).toInt(), m.captured(2).toInt()),
                           QPoint(m.captured(3).toInt() - 1, m.captured(4).toInt() - 1)));
    }
    return rects;
}

// Areas that are empty, reach out of the picture or cover one another.
std::string faults(const Rects& rects, const QSize& picture)
{
    QStringList found;
    const QRect whole(QPoint(0, 0), picture);
    for (qsizetype i = 0; i < rects.size(); ++i) {
        if (rects[i].isEmpty() || !whole.contains(rects[i])) {
            found << QString("button %1 %2 outside").arg(i).arg(text(rects[i]).c_str());
        }
        for (qsizetype j = i + 1; j < rects.size(); ++j) {
            if (rects[i].intersects(rects[j])) {
                found << QString("buttons %1 %2 and %3 %4")
                             .arg(i)
                             .arg(text(rects[i]).c_str())
                             .arg(j)
                             .arg(text(rects[j]).c_str());
            }
        }
    }
    return found.join("; ").toStdString();
}

class MenuButtonsRoadTest : public LaunchedShellTest, public testing::WithParamInterface<Format> {
protected:
    void SetUp() override
    {
        LaunchedShellTest::SetUp();
        media = shell->folders.root() + "/media";
        ASSERT_TRUE(QDir().mkpath(media));
        ASSERT_TRUE(testsupport::makeTestClip(media + "/clip.mp4", 1.2));
    }
    void TearDown() override
    {
        AppDelegate::setProjectChooser(nullptr);
        LaunchedShellTest::TearDown();
    }

    MenuEditViewController& menuEditor() const
    {
        auto* editor =
            dynamic_cast<MenuEditViewController*>(ControllerFunction::menuEditController());
        EXPECT_NE(editor, nullptr);
        return *editor;
    }
    AppDelegate& delegate() const { return *shell->delegate; }
    DVDResource& disc() const { return *delegate().dvd(); }
    std::shared_ptr<DVDPageData> listPage(int index) const
    {
        return delegate().dateResource()->dvdPageArray().value(index);
    }

    // Imports `count` copies of the clip into the list page through the
    // list's open panel; the list then has the disc side rebuilt.
    void import(const std::shared_ptr<DVDPageData>& page, int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths << QString("%1/clip-%2.mp4").arg(media).arg(++imported);
            ASSERT_TRUE(QFile::copy(media + "/clip.mp4", paths.last()));
        }
        listEditor()->setCurrentDVDPage(page);
        listEditor()->setOpenPanel([paths](const MediaOpenPanel::Request&, QWidget*,
                                           MediaOpenPanel::Completion done) { done(paths); });
        listEditor()->addVideoToListAction();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !listEditor()->isImporting(); }, 60000));
    }

    // Drops copies of the clip from the desktop onto the list, at the place
    // `state` names (as a drag over the list works it out).
    void drop(const ListDropState& state, int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths << QString("%1/clip-%2.mp4").arg(media).arg(++imported);
            ASSERT_TRUE(QFile::copy(media + "/clip.mp4", paths.last()));
        }
        ListTableView* list = listEditor()->listTableView();
        list->setDropState(state);
        list->addFilesToSource(paths);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !list->isImportingDrop(); }, 60000));
    }

    void deleteTitle(const std::shared_ptr<DVDTitleData>& title)
    {
        listEditor()->setSelectedType(ListSelection::Title);
        listEditor()->setSelectedData(title);
        listEditor()->deleteSelectedData();
    }

    // The user selects the item on the canvas and nudges it with the arrow keys.
    void nudge(const std::shared_ptr<DVDPageItem>& item, Qt::Key key, int times)
    {
        MenuEditShapeView* shapes = menuEditor().canvasView()->shapeView();
        shapes->setSelectedItemArray({item});
        menuEditor().shapeViewSelectionUpdate();
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(shapes, key);
        }
        menuEditor().clearShapeViewSelection();
    }

    // The spumux description of every menu of the disc model the main window
    // builds now, for a disc of `aspect` (the parameter's without one): areas
    // apart and inside the picture. Answers the model.
    std::shared_ptr<DVDLibrary> expectButtonsApart(const QString& step, qint64 aspect = -1)
    {
        const auto dvd = shell->controller()->getDVDObj();
        EXPECT_TRUE(dvd) << qPrintable(step);
        if (!dvd) {
            return dvd;
        }
        EXPECT_EQ(dvd->format(), GetParam().dvdFormat);
        EXPECT_EQ(dvd->aspectType(), aspect < 0 ? GetParam().aspect : aspect);
        for (qsizetype k = 0; k < dvd->menus().size(); ++k) {
            const Rects rects = spumuxButtons(DVDMenuMake::xmlConfigForMenu(dvd->menus()[k], *dvd));
            EXPECT_FALSE(rects.isEmpty()) << qPrintable(step) << ", menu " << k;
            EXPECT_EQ(faults(rects, dvd->dvdVideoSize()), "") << qPrintable(step) << ", menu " << k;
            // spumux gets areas clipped to the picture: a button cut off at
            // an edge shows in its frame on the page.
            const auto& page = dvd->menus()[k];
            const QRectF canvas(QPointF(0, 0), page->menuSize());
            for (const auto& element : page->items()) {
                if (element->jump()) {
                    EXPECT_TRUE(canvas.contains(element->frame()))
                        << qPrintable(step) << ", menu " << k << ": " << text(element->frame());
                }
            }
        }
        return dvd;
    }

    // The disc of `dvd` authored in `work` and read back with libdvdread:
    // what spumux was handed is what the menus hold, apart and inside.
    void expectDiscButtonsApart(const std::shared_ptr<DVDLibrary>& dvd, const QString& work)
    {
        for (const auto& page : disc().pageArray()) {
            page->setMenuDuration(1.0);
        }
        ASSERT_TRUE(QDir().mkpath(work));
        ASSERT_TRUE(testsupport::produceDisc(dvd, work));
        const discreadback::ReadBack back = discreadback::readBack(work + "/dvd.dvdmedia");
        ASSERT_TRUE(back.opened);
        ASSERT_EQ(back.menuButtons.size(), dvd->menus().size());
        for (qsizetype k = 0; k < dvd->menus().size(); ++k) {
            EXPECT_EQ(back.menuButtons[k], discreadback::expectedButtons(*dvd->menus()[k], *dvd))
                << "menu " << k;
            Rects rects;
            for (const QList<int>& b : back.menuButtons[k]) {
                rects.append(QRect(QPoint(b[0], b[1]), QPoint(b[2] - 1, b[3] - 1)));
            }
            EXPECT_EQ(faults(rects, dvd->dvdVideoSize()), "") << "menu " << k;
        }
    }

    // Each menu at the DVD frame size with its button areas outlined, as
    // "<prefix>-<format>-<aspect>-page<n>.png".
    void writePictures(const DVDLibrary& dvd, const QString& prefix = "menu-buttons") const
    {
        const Format f = GetParam();
        for (qsizetype k = 0; k < dvd.menus().size(); ++k) {
            const auto page = std::dynamic_pointer_cast<DVDPage>(dvd.menus()[k]);
            ASSERT_TRUE(page);
            QImage picture = page->imageAtTime(0).scaled(dvd.dvdVideoSize(), Qt::IgnoreAspectRatio,
                                                         Qt::SmoothTransformation);
            QPainter painter(&picture);
            painter.setPen(QPen(Qt::red, 2));
            for (const QRect& r : spumuxButtons(DVDMenuMake::xmlConfigForMenu(page, dvd))) {
                painter.drawRect(r.adjusted(1, 1, -1, -1));
            }
            painter.end();
            testsupport::writeArtifact(picture, QString("%1-%2-%3-page%4.png")
                                                    .arg(prefix, f.dvdFormat == 1 ? "PAL" : "NTSC",
                                                         dvd.aspectType() == 1 ? "16x9" : "4x3")
                                                    .arg(k + 1));
        }
    }

    static std::string framesOf(const DVDPage& page)
    {
        std::string frames;
        for (const auto& item : page.itemArray()) {
            frames += text(item->frame());
        }
        return frames;
    }

    QString media;
    int imported = 0;
};

TEST_P(MenuButtonsRoadTest, ButtonsStayApartAndInsideThePicture)
{
    const Format f = GetParam();
    disc().setDvdFormat(f.dvdFormat);
    menuEditor().setAspectIndex(static_cast<int>(f.aspect));
    menuEditor().aspectChangedAction();
    ASSERT_EQ(disc().aspectType(), f.aspect);
    const QSizeF canvas = disc().menuCanvasSize();
    const QList<QRectF> places = MenuPageLayout::titlePlaces(canvas);

    // Four titles on the first page, one on a second: the first page has a
    // next button beside its last thumbnail, the second a previous one; and
    // the play button on both.
    const auto first = listPage(0);
    ASSERT_TRUE(first);
    import(first, 4);
    listEditor()->addMenuPageAction();
    const auto second = listPage(1);
    ASSERT_TRUE(second);
    import(second, 1);
    menuEditor().setShowPlayBtn(true);
    menuEditor().hidePlayBtnOnMenuAction();
    const auto menu = first->menuPage();
    ASSERT_TRUE(menu);
    ASSERT_EQ(first->titleDataArray().size(), 4);
    ASSERT_TRUE(menu->itemArray().contains(menu->nextButtonItem()));
    ASSERT_TRUE(second->menuPage()->itemArray().contains(second->menuPage()->preButtonItem()));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(text(first->titleDataArray()[i]->menuItem()->frame()), text(places[i]));
    }
    expectButtonsApart("two pages");

    // A clip dropped on the second page's row goes to the top of its titles
    // and takes the free place beside the title already there; one dropped
    // into that title makes it a title of chapters with a page of its own.
    const auto alone = second->titleDataArray().first();
    ListDropState onPage;
    onPage.insertUnder(ListDropState::TitleLevel, second);
    drop(onPage, 1);
    ASSERT_EQ(second->titleDataArray().size(), 2);
    EXPECT_EQ(text(second->titleDataArray().first()->menuItem()->frame()), text(places[1]));
    EXPECT_EQ(text(alone->menuItem()->frame()), text(places[0]));
    ListDropState intoTitle;
    intoTitle.insertUnder(ListDropState::ClipLevel, alone);
    drop(intoTitle, 1);
    ASSERT_EQ(alone->mediaDataArray().size(), 2);
    ASSERT_TRUE(alone->menuItem()->subPage());
    EXPECT_EQ(disc().pageArray().size(), 3);
    expectButtonsApart("dropped");

    // Delete the second title through the list and import a clip again:
    // the new title takes the place the deleted one left.
    deleteTitle(first->titleDataArray()[1]);
    ASSERT_EQ(first->titleDataArray().size(), 3);
    import(first, 1);
    ASSERT_EQ(first->titleDataArray().size(), 4);
    EXPECT_EQ(text(first->titleDataArray().last()->menuItem()->frame()), text(places[1]));
    expectButtonsApart("deleted and imported again");

    // The user nudges the first title up by hand; it stays there from now on.
    const auto nudged = first->titleDataArray().first()->menuItem();
    menuEditor().updateMenuPage(menu);
    nudge(nudged, Qt::Key_Up, 3);
    const QRectF byHand = nudged->frame();
    ASSERT_NE(byHand, places[0]);

    // More titles than the page has places.
    import(first, 6);
    ASSERT_EQ(first->titleDataArray().size(), 10);
    EXPECT_EQ(text(nudged->frame()), text(byHand));
    const auto crowded = expectButtonsApart("crowded");
    ASSERT_TRUE(crowded);
    writePictures(*crowded);

    // Saved and opened again through the project document: the same layout,
    // still apart after the reload.
    std::list<std::string> saved;
    for (const auto& page : disc().pageArray()) {
        saved.push_back(framesOf(*page));
    }
    const QString folder = shell->folders.root() + "/Buttons.brisane";
    AppDelegate::setProjectChooser(
        [folder](AppDelegate::ProjectPanel, QWidget*) { return folder; });
    delegate().saveProjectAction();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !delegate().isBusy(); }, 60000));
    delegate().openNewProject();
    ASSERT_TRUE(delegate().AppDelegate::applicationOpenFile(folder + "/project.data"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !delegate().isBusy(); }, 60000));
    shell->controller()->initDvdResource();
    std::list<std::string> reopened;
    for (const auto& page : disc().pageArray()) {
        reopened.push_back(framesOf(*page));
    }
    EXPECT_EQ(reopened, saved);
    const auto dvd = expectButtonsApart("reopened");
    ASSERT_TRUE(dvd);

    // The disc: what spumux was handed is what the menus hold.
    expectDiscButtonsApart(dvd, shell->folders.root() + "/work");
}

INSTANTIATE_TEST_SUITE_P(Formats, MenuButtonsRoadTest,
                         testing::Values(Format{1, 1, "PalWide"}, Format{1, 0, "PalNarrow"},
                                         Format{0, 1, "NtscWide"}, Format{0, 0, "NtscNarrow"}),
                         [](const testing::TestParamInfo<Format>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace

namespace {

// The user moves items of a wide menu near its edges with the mouse, then
// switches the menus to 4:3 and back with the menu editor's aspect control.
class MenuAspectRoadTest : public MenuButtonsRoadTest {
protected:
    // Drags the item with the mouse on the menu editor's canvas until its
    // frame starts at `to` (canvas units), as near as the pixels allow.
    void dragTo(const std::shared_ptr<DVDPageItem>& item, const QPointF& to)
    {
        MenuEditShapeView* shapes = menuEditor().canvasView()->shapeView();
        const QTransform& toView = menuEditor().canvasView()->canvasToView();
        const QPoint start = toView.map(item->frame().center()).toPoint();
        const QPoint end =
            toView.map(item->frame().center() + (to - item->frame().topLeft())).toPoint();
        QTest::mouseClick(shapes, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mousePress(shapes, Qt::LeftButton, Qt::NoModifier, start);
        for (int step = 1; step <= 4; ++step) {
            const QPoint at = start + (end - start) * step / 4;
            QMouseEvent move(QEvent::MouseMove, at, shapes->mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(shapes, &move);
        }
        QTest::mouseRelease(shapes, Qt::LeftButton, Qt::NoModifier, end);
        menuEditor().clearShapeViewSelection();
    }

    void switchAspect(int index)
    {
        auto* control = menuEditor().view()->findChild<QComboBox*>("aspectControl");
        ASSERT_NE(control, nullptr);
        control->setCurrentIndex(index);
        ASSERT_EQ(disc().aspectType(), index);
    }
};

TEST_P(MenuAspectRoadTest, ButtonsMovedNearTheEdgesStayApartAcrossAnAspectSwitch)
{
    const Format f = GetParam();
    disc().setDvdFormat(f.dvdFormat);
    ASSERT_EQ(disc().aspectType(), 1);
    const auto list = listPage(0);
    ASSERT_TRUE(list);
    import(list, 4);
    listEditor()->addMenuPageAction();
    import(listPage(1), 1);
    menuEditor().setShowPlayBtn(true);
    menuEditor().hidePlayBtnOnMenuAction();
    const auto menu = list->menuPage();
    ASSERT_TRUE(menu);
    ASSERT_TRUE(menu->itemArray().contains(menu->nextButtonItem()));
    expectButtonsApart("laid out", 1);

    // The menu editor in the main window, as the user sees it.
    MainWindowController* controller = shell->controller();
    controller->showWindow();
    controller->window()->resize(1024, 720);
    QTest::mouseClick(controller->mainEditModeBtn(), Qt::LeftButton);
    ASSERT_EQ(controller->selectedTabIdentifier(), "menu");
    menuEditor().updateMenuPage(menu);
    QCoreApplication::processEvents();

    // Two titles side by side at the left edge, two at the right edge, the
    // play button beside the next button in the lower right corner: the
    // narrow canvas has no room for them where the shift puts them.
    const double right = disc().menuCanvasSize().width();
    std::vector<std::pair<std::shared_ptr<DVDPageItem>, QPointF>> moves;
    for (int i = 0; i < 4; ++i) {
        const QPointF places[] = {{0, 320}, {205, 320}, {right - 212, 150}, {right - 417, 150}};
        moves.emplace_back(list->titleDataArray()[i]->menuItem(), places[i]);
    }
    const auto next = menu->nextButtonItem();
    const auto play = menu->playButtonItem();
    moves.emplace_back(next, QPointF(right - next->frame().width() - 12, 10));
    moves.emplace_back(play,
                       QPointF(right - next->frame().width() - play->frame().width() - 24, 10));
    // The guide lines may pull an item a few units while it is dragged.
    for (const auto& [item, to] : moves) {
        dragTo(item, to);
        EXPECT_NEAR(item->frame().x(), to.x(), 12) << text(item->frame());
        EXPECT_NEAR(item->frame().y(), to.y(), 12) << text(item->frame());
    }
    const auto wide = expectButtonsApart("moved near the edges", 1);
    ASSERT_TRUE(wide);
    writePictures(*wide, "menu-aspect-moved");

    // To 4:3: the buttons stay apart and inside, in the description spumux
    // gets and on the authored disc.
    switchAspect(0);
    QCoreApplication::processEvents();
    testsupport::writeArtifact(controller->window()->grab().toImage(),
                               QString("menu-aspect-editor-%1-4x3.png").arg(f.name));
    const auto narrow = expectButtonsApart("switched to 4:3", 0);
    ASSERT_TRUE(narrow);
    writePictures(*narrow, "menu-aspect-switched");
    expectDiscButtonsApart(narrow, shell->folders.root() + "/narrow");

    // And back to 16:9.
    switchAspect(1);
    const auto back = expectButtonsApart("back to 16:9", 1);
    ASSERT_TRUE(back);
    writePictures(*back, "menu-aspect-back");
    expectDiscButtonsApart(back, shell->folders.root() + "/wide");
}

INSTANTIATE_TEST_SUITE_P(WideFormats, MenuAspectRoadTest,
                         testing::Values(Format{1, 1, "PalWide"}, Format{0, 1, "NtscWide"}),
                         [](const testing::TestParamInfo<Format>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
