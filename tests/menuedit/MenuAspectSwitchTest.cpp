// Switching the menus between 16:9 and 4:3: every page's items move to stay
// centred, every clip gets the new video size, the slideshow editor is told
// and the document is marked as edited.
#include <QComboBox>

#include "MenuEditTestFixture.h"
#include "menuedit/core/MenuAspectSwitch.h"
#include "menuedit/core/MenuCanvasGeometry.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"

using namespace menutest;

namespace {

// A movie that keeps the output size it is given.
class SizedMovie : public IMovie {
public:
    QSizeF size;
    QSizeF outputVideoSize() const override { return size; }
    void setOutputVideoSize(const QSizeF& s) override { size = s; }
};

std::shared_ptr<MediaData> clipWithMovie()
{
    auto clip = std::make_shared<MediaData>();
    clip->setVcmovie(VCMovie::movieWithMovie(std::make_shared<SizedMovie>(), 0));
    return clip;
}

QSizeF outputSize(const MediaData& clip)
{
    return clip.vcmovie()->videoOutputSize();
}

std::string text(const QRectF& r)
{
    return QString("(%1, %2, %3, %4)")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

// Whether two frames share an area (beyond single precision's rounding).
bool sharesArea(const QRectF& a, const QRectF& b)
{
    const double fuzz = 1e-6;
    return std::min(a.right(), b.right()) - std::max(a.left(), b.left()) > fuzz &&
           std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) > fuzz;
}

// Buttons (every item but static texts) that were apart before and now lie
// on each other, and items out of the canvas.
std::string faults(const QList<std::shared_ptr<DVDPageItem>>& items, const QList<QRectF>& before,
                   const QRectF& canvas)
{
    std::string found;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QRectF a = items[i]->frame();
        if (!canvas.adjusted(-1e-3, -1e-3, 1e-3, 1e-3).contains(a)) {
            found += " outside " + text(a);
        }
        for (qsizetype j = i + 1; j < items.size(); ++j) {
            const QRectF b = items[j]->frame();
            if (!items[i]->isStaticItem() && !items[j]->isStaticItem() &&
                !sharesArea(before[i], before[j]) && sharesArea(a, b)) {
                found += " " + text(a) + " on " + text(b);
            }
        }
    }
    return found;
}

class MenuAspectSwitchTest : public MenuEditorTest {
protected:
    QComboBox& aspectControl()
    {
        return *controller->view()->findChild<QComboBox*>("aspectControl");
    }
};

TEST_F(MenuAspectSwitchTest, ShiftsAreHalfTheChangeOfTheCanvasWidthInSinglePrecision)
{
    EXPECT_FLOAT_EQ(MenuAspectSwitch::shiftForSwitch(1, 640), -106.666656f);
    EXPECT_FLOAT_EQ(MenuAspectSwitch::shiftForSwitch(0, 854), 106.750008f);
}

TEST_F(MenuAspectSwitchTest, TheAspectInForceChangesNothing)
{
    auto page = topPage();
    auto title = item(1, {300, 100, 200, 150});
    page->setItemArray({title});
    open({page});
    ASSERT_EQ(controller->aspectIndex(), 1);

    controller->setAspectIndex(1);
    controller->aspectChangedAction();
    EXPECT_EQ(title->frame(), QRectF(300, 100, 200, 150));
    EXPECT_EQ(disc().aspectType(), 1);
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 0);
    EXPECT_TRUE(installed->imageEdit->calls.isEmpty());
}

TEST_F(MenuAspectSwitchTest, RoundTripMovesEveryItemOfEveryPage)
{
    auto first = topPage();
    auto title = item(1, {300, 100, 200, 150});
    // Moved by the user: the program does not lay it out again.
    auto play = first->playButtonItem();
    play->setFrame({450, 20, 80, 70});
    first->setItemArray({title, play});
    auto second = topPage();
    auto text = textItem({400, 400, 100, 40});
    auto textTitle = item(4, {200, 250, 120, 40});
    second->setItemArray({text, textTitle});
    auto chapters = subPage(first, title);
    auto chapter = item(1, {350, 200, 150, 100});
    chapters->setItemArray({chapter});
    open({first, second, chapters});

    struct Moved {
        std::shared_ptr<DVDPageItem> item;
        QRectF before;
    };
    QList<Moved> items;
    for (const auto& i : {title, play, text, textTitle, chapter}) {
        items.append({i, i->frame()});
    }

    aspectControl().setCurrentIndex(0);  // 16:9 -> 4:3
    EXPECT_EQ(disc().aspectType(), 0);
    EXPECT_EQ(controller->lastTimeAspect(), 0);
    for (const auto& m : items) {
        EXPECT_FLOAT_EQ(m.item->frame().x(), m.before.x() - 106.666656f);
        EXPECT_DOUBLE_EQ(m.item->frame().y(), m.before.y());
        EXPECT_EQ(m.item->frame().size(), m.before.size());
    }

    aspectControl().setCurrentIndex(1);  // 4:3 -> 16:9
    EXPECT_EQ(disc().aspectType(), 1);
    for (const auto& m : items) {
        // 0.083 units right of where it started.
        EXPECT_FLOAT_EQ(m.item->frame().x(), m.before.x() - 106.666656f + 106.750008f);
    }
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 2);
    EXPECT_EQ(installed->imageEdit->calls,
              QStringList({"setEnumDisplayRatio", "setEnumDisplayRatio"}));
    EXPECT_EQ(installed->imageEdit->ratio, 1);
}

TEST_F(MenuAspectSwitchTest, ItemsAreClampedIntoTheNarrowCanvas)
{
    auto page = topPage();
    auto nearRight = item(1, {700, 100, 100, 50});
    auto tooWide = item(2, {20, 300, 800, 60});
    page->setItemArray({nearRight, tooWide});
    open({page});

    controller->setAspectIndex(0);
    controller->aspectChangedAction();
    EXPECT_EQ(nearRight->frame(), QRectF(540, 100, 100, 50));
    EXPECT_EQ(tooWide->frame(), QRectF(0, 300, 640, 60));
}

// Items the user moved near the edges of the wide canvas: the clamp of the
// switch to 4:3 must not lay two buttons on each other, and neither must the
// way back. What the clamp leaves apart, and what the user laid on each other
// or under a static text, is only shifted and clamped.
TEST_F(MenuAspectSwitchTest, ClampedButtonsStayApart)
{
    struct Case {
        const char* name;
        QList<std::pair<qint64, QRectF>> items;
        bool onlyClamped;
    };
    const QList<Case> cases{
        {"side by side at the left edge",
         {{1, {0, 300, 100, 80}}, {1, {100, 300, 100, 80}}},
         false},
        {"a little apart at the right edge",
         {{1, {754, 200, 100, 80}}, {4, {660, 200, 90, 80}}},
         false},
        {"the next button beside a title in the corner",
         {{13, {774, 10, 80, 70}}, {1, {640, 0, 130, 100}}},
         false},
        {"three in a row at the left edge",
         {{1, {0, 100, 60, 60}}, {12, {62, 100, 60, 60}}, {1, {124, 100, 60, 60}}},
         false},
        {"one left and one right, neither clamped onto the other",
         {{1, {0, 100, 100, 80}}, {1, {754, 100, 100, 80}}, {1, {50, 300, 100, 80}}},
         true},
        {"laid on each other by the user", {{1, {0, 100, 100, 80}}, {1, {20, 120, 100, 80}}}, true},
        {"a static text on a title", {{2, {0, 100, 100, 40}}, {1, {30, 100, 100, 80}}}, true},
    };
    const QRectF narrow(0, 0, 640, 480);
    const QRectF wide(0, 0, 854, 480);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto page = topPage();
        QList<std::shared_ptr<DVDPageItem>> items;
        QList<QRectF> before;
        for (const auto& [type, frame] : c.items) {
            items.append(type == 2 ? textItem(frame) : item(type, frame));
            before.append(frame);
        }
        page->setItemArray(items);
        open({page});
        ASSERT_EQ(controller->aspectIndex(), 1);

        aspectControl().setCurrentIndex(0);
        ASSERT_EQ(disc().aspectType(), 0);
        EXPECT_EQ(faults(items, before, narrow), "");
        QList<QRectF> clamped;
        for (qsizetype i = 0; i < items.size(); ++i) {
            clamped.append(MenuCanvasGeometry::boundInCanvasLimit(
                before[i].translated(-106.666656f, 0), narrow));
            if (c.onlyClamped) {
                EXPECT_EQ(text(items[i]->frame()), text(clamped[i])) << i;
            }
        }

        aspectControl().setCurrentIndex(1);
        ASSERT_EQ(disc().aspectType(), 1);
        EXPECT_EQ(faults(items, before, wide), "");
    }
}

TEST_F(MenuAspectSwitchTest, ClipsGetTheNewVideoSizeMembersOfMergedClipsInstead)
{
    auto single = clipWithMovie();
    auto merged = clipWithMovie();
    auto memberA = clipWithMovie();
    auto memberB = clipWithMovie();
    merged->setHasSubMedia(true);
    merged->setSubMediaArray({memberA, memberB});
    auto titleOne = std::make_shared<DVDTitleData>();
    titleOne->setMediaDataArray({single});
    auto titleTwo = std::make_shared<DVDTitleData>();
    titleTwo->setMediaDataArray({merged});
    auto list = std::make_shared<DVDPageData>();
    list->setTitleDataArray({titleOne, titleTwo});
    services->media->addDvdPageToArray(list);
    open({topPage()});

    controller->setAspectIndex(0);
    controller->aspectChangedAction();
    for (const auto& clip : {single, memberA, memberB}) {
        EXPECT_EQ(outputSize(*clip), QSizeF(640, 480));
    }
    EXPECT_EQ(outputSize(*merged), QSizeF());

    controller->setAspectIndex(1);
    controller->aspectChangedAction();
    for (const auto& clip : {single, memberA, memberB}) {
        EXPECT_EQ(outputSize(*clip), QSizeF(854, 480));
    }
    EXPECT_EQ(installed->imageEdit->ratio, 1);
}

TEST_F(MenuAspectSwitchTest, SwitchClearsTheSelectionAndRefitsTheCanvas)
{
    auto page = topPage();
    auto title = item(1, {300, 100, 200, 150});
    page->setItemArray({title});
    open({page});
    select({title});
    ASSERT_EQ(controller->currentItem(), title);
    const double wideWidth = canvas().viewRectFromCanvas(controller->menuCanvasRect()).width();

    controller->setAspectIndex(0);
    controller->aspectChangedAction();
    EXPECT_TRUE(canvas().shapeView()->selectedItemArray().isEmpty());
    EXPECT_FALSE(controller->currentItem());
    EXPECT_FALSE(bar().isVisibleTo(controller->view()));
    EXPECT_EQ(controller->menuCanvasRect(), QRectF(0, 0, 640, 480));
    EXPECT_LT(canvas().viewRectFromCanvas(controller->menuCanvasRect()).width(), wideWidth);
}

}  // namespace
