// The layout the menu editor gives a page when it reloads, switches the
// aspect or shows the play button: new titles in the first free place,
// buttons in their band, titles beyond the template's places in free space,
// no two of the program's items on each other or outside the canvas, and
// what the user placed left where it is.
#include <QComboBox>

#include "MenuEditTestFixture.h"
#include "TestSupport.h"
#include "menuedit/core/MenuPageLayout.h"

using namespace menutest;

namespace {

using ItemPtr = std::shared_ptr<DVDPageItem>;

const QSizeF wide(854, 480);
const QSizeF narrow(640, 480);

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

bool overlap(const QRectF& a, const QRectF& b)
{
    return std::min(a.right(), b.right()) > std::max(a.left(), b.left()) &&
           std::min(a.bottom(), b.bottom()) > std::max(a.top(), b.top());
}

// A button in its place: in the shape of its picture, as large as fits,
// centred.
bool inPlace(const QRectF& frame, const QRectF& place)
{
    const QPointF offset = frame.center() - place.center();
    return frame.left() >= place.left() && frame.right() <= place.right() &&
           frame.top() >= place.top() && frame.bottom() <= place.bottom() &&
           std::abs(offset.x()) < 1e-9 && std::abs(offset.y()) < 1e-9 &&
           (frame.width() == place.width() || frame.height() == place.height());
}

bool inside(const QRectF& r, const QSizeF& canvas)
{
    return r.width() > 0 && r.height() > 0 && r.left() >= 0 && r.top() >= 0 &&
           r.right() <= canvas.width() && r.bottom() <= canvas.height();
}

// Every item with a target (titles and buttons) lies inside the canvas and
// on no other; the offenders otherwise.
std::string collisions(const DVDPage& page, const QSizeF& canvas)
{
    QStringList found;
    const auto items = page.itemArray();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i]->isStaticItem()) {
            continue;
        }
        if (!inside(items[i]->frame(), canvas)) {
            found << QString("item %1 %2 outside").arg(i).arg(text(items[i]->frame()).c_str());
        }
        for (qsizetype j = i + 1; j < items.size(); ++j) {
            if (!items[j]->isStaticItem() && overlap(items[i]->frame(), items[j]->frame())) {
                found << QString("items %1 %2 and %3 %4")
                             .arg(i)
                             .arg(text(items[i]->frame()).c_str())
                             .arg(j)
                             .arg(text(items[j]->frame()).c_str());
            }
        }
    }
    return found.join("; ").toStdString();
}

class MenuPageLayoutTest : public MenuEditorTest {
protected:
    void setAspect(qint64 aspect)
    {
        disc().setAspectType(aspect);
        controller->setAspectIndex(static_cast<int>(aspect));
    }

    // A page of `titles` new titles, then its previous, next and play buttons
    // as the rebuild adds them.
    std::shared_ptr<DVDPage> pageOf(int titles, QList<ItemPtr>& made)
    {
        auto page = topPage(titles);
        DVDPage::ItemList items;
        for (int i = 0; i < titles; ++i) {
            made.append(item(1, QRectF()));
            items.append(made.last());
        }
        items << page->preButtonItem() << page->nextButtonItem() << page->playButtonItem();
        page->setItemArray(items);
        return page;
    }
};

TEST_F(MenuPageLayoutTest, PlacesAndButtonBandKeepClearOfEachOtherInsideTheCanvas)
{
    struct Case {
        QSizeF canvas;
        qsizetype places;
    } cases[] = {{wide, 5}, {narrow, 4}};
    for (const Case& c : cases) {
        const QList<QRectF> places = MenuPageLayout::titlePlaces(c.canvas);
        EXPECT_EQ(places.size(), c.places) << c.canvas.width();
        QList<QRectF> all = places;
        for (const qint64 type : {11, 12, 13}) {
            all.append(MenuPageLayout::buttonPlace(type, c.canvas));
        }
        for (qsizetype i = 0; i < all.size(); ++i) {
            EXPECT_TRUE(inside(all[i], c.canvas)) << c.canvas.width() << " " << i;
            for (qsizetype j = i + 1; j < all.size(); ++j) {
                EXPECT_FALSE(overlap(all[i], all[j])) << c.canvas.width() << " " << i << " " << j;
            }
        }
    }
    // The upper row where it always was; the lower row above the buttons.
    EXPECT_EQ(text(MenuPageLayout::titlePlaces(wide).first()), text({113.5, 285, 200, 150}));
    EXPECT_EQ(text(MenuPageLayout::titlePlaces(narrow).at(2)), text({60, 100, 200, 150}));
    EXPECT_EQ(text(MenuPageLayout::buttonPlace(13, narrow)), text({500, 10, 80, 70}));
}

// Fresh pages of every size, in both aspects: the places in order, then free
// space with smaller pictures, the buttons in their band; nothing collides.
TEST_F(MenuPageLayoutTest, FreshPagesOfAnySizeLieApartInBothAspects)
{
    for (const qint64 aspect : {1, 0}) {
        setAspect(aspect);
        const QSizeF canvas = disc().menuCanvasSize();
        const QList<QRectF> places = MenuPageLayout::titlePlaces(canvas);
        for (const int titles : {1, 4, 5, 6, 9, 14}) {
            QList<ItemPtr> made;
            auto page = pageOf(titles, made);
            open({page});
            const QString label = QString("aspect %1, %2 titles").arg(aspect).arg(titles);
            EXPECT_EQ(collisions(*page, canvas), "") << qPrintable(label);
            if (titles == 14) {
                testsupport::writeArtifact(
                    page->imageAtTime(0),
                    QString("menu-layout-%1-14-titles.png").arg(aspect != 0 ? "16x9" : "4x3"));
            }
            for (int i = 0; i < titles; ++i) {
                const QRectF frame = made[i]->frame();
                EXPECT_EQ(text(made[i]->lastTimeTitleFrame()), text(frame)) << qPrintable(label);
                if (i < places.size()) {
                    EXPECT_EQ(text(frame), text(places[i])) << qPrintable(label) << " title " << i;
                } else {
                    // Smaller where needed, never larger, never a speck.
                    EXPECT_LE(frame.width(), 200.0) << qPrintable(label);
                    EXPECT_GE(frame.width(), 40.0) << qPrintable(label);
                    EXPECT_DOUBLE_EQ(frame.width() / frame.height(), 200.0 / 150.0);
                }
            }
            for (const auto& button :
                 {page->preButtonItem(), page->nextButtonItem(), page->playButtonItem()}) {
                EXPECT_TRUE(
                    inPlace(button->frame(), MenuPageLayout::buttonPlace(button->type(), canvas)))
                    << qPrintable(label);
                EXPECT_EQ(text(button->lastTimeTitleFrame()), text(button->frame()));
            }
        }
    }
}

// A title leaving frees its place for the next new one, wherever the new one
// stands in the page's list; the others stay.
TEST_F(MenuPageLayoutTest, NewTitleTakesTheFirstFreePlace)
{
    for (const qint64 aspect : {1, 0}) {
        setAspect(aspect);
        const QList<QRectF> places = MenuPageLayout::titlePlaces(disc().menuCanvasSize());
        QList<ItemPtr> made;
        auto page = pageOf(4, made);
        open({page});
        DVDPage::ItemList items = page->itemArray();
        items.removeAll(made[1]);
        auto appended = item(1, QRectF());
        items.insert(3, appended);
        page->setItemArray(items);
        open({page});
        EXPECT_EQ(text(appended->frame()), text(places[1])) << aspect;
        EXPECT_EQ(text(made[0]->frame()), text(places[0]));
        EXPECT_EQ(text(made[2]->frame()), text(places[2]));
        EXPECT_EQ(text(made[3]->frame()), text(places[3]));

        // Dropped at the top of the page: the first free place all the same.
        items = page->itemArray();
        items.removeAll(made[2]);
        auto dropped = item(1, QRectF());
        items.prepend(dropped);
        page->setItemArray(items);
        open({page});
        EXPECT_EQ(text(dropped->frame()), text(places[2])) << aspect;
        EXPECT_EQ(text(appended->frame()), text(places[1]));
    }
}

// What the user moved or sized stays, even on the program's places; the
// program's items make way for it, and a page laid out before keeps still.
TEST_F(MenuPageLayoutTest, WhatTheUserPlacedStaysAndTheProgramMakesWay)
{
    const QSizeF canvas = disc().menuCanvasSize();
    const QList<QRectF> places = MenuPageLayout::titlePlaces(canvas);
    QList<ItemPtr> made;
    auto page = pageOf(3, made);
    open({page});

    // The user drags the first title onto the second's place, lays the
    // next button over the third title and puts a text over everything.
    const QRectF dragged = places[1].translated(-20, 12);
    made[0]->setFrame(dragged);
    const QRectF button(places[2].x() + 30, places[2].y() + 20, 80, 70);
    page->nextButtonItem()->setFrame(button);
    auto cover = textItem(QRectF(0, 0, 854, 480));
    DVDPage::ItemList items = page->itemArray();
    items.append(cover);
    page->setItemArray(items);
    open({page});

    EXPECT_EQ(text(made[0]->frame()), text(dragged));
    EXPECT_EQ(text(page->nextButtonItem()->frame()), text(button));
    EXPECT_EQ(text(cover->frame()), text({0, 0, 854, 480}));
    EXPECT_NE(made[1]->frame(), places[1]);
    EXPECT_NE(made[2]->frame(), places[2]);
    EXPECT_EQ(collisions(*page, canvas), "");

    // Laid out, the page keeps still on the next reload.
    std::string before;
    for (const auto& i : page->itemArray()) {
        before += text(i->frame());
    }
    open({page});
    std::string after;
    for (const auto& i : page->itemArray()) {
        after += text(i->frame());
    }
    EXPECT_EQ(after, before);
}

// A project laid out by the earlier defaults: titles by their index (the
// lower row on the button band, the 4:3 middle on all four, the sixth on
// the cascade) and buttons where every new page had them, two refitted to
// their pictures by the load. Opened again, the program's items move apart;
// the user's title stays.
TEST_F(MenuPageLayoutTest, EarlierLayoutsAreMendedOnReload)
{
    for (const qint64 aspect : {1, 0}) {
        setAspect(aspect);
        const QSizeF canvas = disc().menuCanvasSize();
        auto page = topPage(6);
        DVDPage::ItemList items;
        for (quint64 i = 0; i < 6; ++i) {
            auto title = item(1, disc().initialPageItemFrameAtIndex(i));
            title->setLastTimeTitleFrame(title->frame());
            items.append(title);
        }
        const QRectF userFrame(250, 200, 120, 90);
        auto user = item(1, userFrame);
        items << user << page->preButtonItem() << page->nextButtonItem() << page->playButtonItem();
        page->setItemArray(items);
        // As a project load leaves them: refitted to their pictures' shape.
        for (const auto& button : {page->preButtonItem(), page->nextButtonItem()}) {
            button->updateItemFrameAutoFit();
            ASSERT_NE(button->frame(), DVDPage::initialButtonFrame(button->type()));
        }
        open({page});
        EXPECT_EQ(collisions(*page, canvas), "") << aspect;
        EXPECT_EQ(text(user->frame()), text(userFrame));
    }
}

// Switching the aspect and bringing the play button back lay the pages out
// again: nothing of the program's lies on anything or off the canvas.
TEST_F(MenuPageLayoutTest, AspectSwitchAndPlayButtonKeepPagesApart)
{
    QList<ItemPtr> made;
    auto page = pageOf(7, made);
    DVDPage::ItemList items = page->itemArray();
    items.removeAll(page->playButtonItem());
    page->setItemArray(items);
    open({page});

    auto& aspect = *controller->view()->findChild<QComboBox*>("aspectControl");
    aspect.setCurrentIndex(0);
    EXPECT_EQ(collisions(*page, QSizeF(640, 480)), "");
    EXPECT_TRUE(inPlace(page->nextButtonItem()->frame(), MenuPageLayout::buttonPlace(13, narrow)));

    // The main window puts the play button back on the page (the recording
    // one here only notes the call), then the editor lays the page out.
    items = page->itemArray();
    items.append(page->playButtonItem());
    page->setItemArray(items);
    controller->setShowPlayBtn(true);
    controller->hidePlayBtnOnMenuAction();
    EXPECT_EQ(collisions(*page, QSizeF(640, 480)), "");

    aspect.setCurrentIndex(1);
    EXPECT_EQ(collisions(*page, wide), "");
    EXPECT_TRUE(inPlace(page->playButtonItem()->frame(), MenuPageLayout::buttonPlace(11, wide)));
}

}  // namespace
