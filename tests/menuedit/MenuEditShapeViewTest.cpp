// The selection overlay of the menu canvas, driven with real mouse and key
// events on the offscreen canvas of a 1000 x 600 editor, where one canvas
// unit is not one pixel: picking, Ctrl+click, moving, resizing by a corner
// handle, the rubber band, snapping, the arrow keys and their guide timer.
// When BRISANE_TEST_ARTIFACTS names a folder the editor's picture during a
// snapped drag is written there.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <limits>

#include "MenuEditTestFixture.h"
#include "TestSupport.h"
#include "menuedit/core/MenuCanvasGeometry.h"
#include "menuedit/core/MenuShapeGeometry.h"

using namespace menutest;

namespace {

using G = MenuShapeGeometry;

class MenuEditShapeViewTest : public MenuEditorTest {
protected:
    void SetUp() override
    {
        MenuEditorTest::SetUp();
        page = topPage(3);
    }

    MenuEditShapeView& shape() { return *canvas().shapeView(); }

    // Shows the page holding these items.
    void show(const QList<std::shared_ptr<DVDPageItem>>& items)
    {
        page->setItemArray(items);
        open({page});
        ASSERT_EQ(controller->currentMenu(), page);
        ASSERT_EQ(controller->menuCanvasRect(), QRectF(0, 0, 854, 480));
        main().calls.clear();
    }

    // A mouse event at a canvas point, carried to the overlay's pixels by
    // the canvas transform.
    void mouse(QEvent::Type type, const QPointF& canvasPoint, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF local = canvas().canvasToView().map(canvasPoint);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, shape().mapToGlobal(local), button, buttons, modifiers);
        QApplication::sendEvent(&shape(), &event);
    }
    void press(const QPointF& p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, modifiers);
    }
    void dragTo(const QPointF& p) { mouse(QEvent::MouseMove, p, Qt::LeftButton); }
    void release(const QPointF& p) { mouse(QEvent::MouseButtonRelease, p, Qt::NoButton); }
    void click(const QPointF& p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        press(p, modifiers);
        release(p);
    }
    void drag(const QPointF& from, const QPointF& to)
    {
        press(from);
        dragTo(to);
        release(to);
    }

    int editedMarks() { return main().count("setDocumentEdited:YES"); }

    // The title dialog answers the zoom limits the canvas alone sets.
    void canvasZoomLimits(const QRectF& frame)
    {
        factory->titleText->minZoom = MenuCanvasGeometry::minZoomForFrame(frame);
        factory->titleText->maxZoom =
            MenuCanvasGeometry::maxZoomForFrame(frame, controller->menuCanvasRect());
    }

    std::shared_ptr<DVDPage> page;
};

TEST_F(MenuEditShapeViewTest, AClickPrefersStaticTextsThenTheLatestItem)
{
    auto first = item(1, {100, 100, 200, 150});
    auto second = item(1, {250, 120, 200, 150});
    auto text = textItem({270, 200, 100, 40});
    show({first, second, text});
    ASSERT_GT(canvas().canvasFit().scale, 0.8f);
    ASSERT_LT(canvas().canvasFit().scale, 0.9f);

    struct Case {
        const char* what;
        QPointF at;
        Qt::KeyboardModifiers modifiers;
        QList<std::shared_ptr<DVDPageItem>> selection;
    };
    const Case cases[] = {
        {"all three: the text", {280, 220}, Qt::NoModifier, {text}},
        {"both titles: the latest", {275, 140}, Qt::NoModifier, {second}},
        {"within 4 outside the first", {97, 110}, Qt::NoModifier, {first}},
        {"empty canvas", {700, 50}, Qt::NoModifier, {}},
        {"Ctrl, all three: the text", {280, 220}, Qt::ControlModifier, {text}},
        {"Ctrl, both titles: the earliest", {275, 140}, Qt::ControlModifier, {text, first}},
        {"Ctrl again removes it", {275, 140}, Qt::ControlModifier, {text}},
    };
    for (const Case& c : cases) {
        click(c.at, c.modifiers);
        EXPECT_EQ(shape().selectedItemArray(), c.selection) << c.what;
    }
    // Only the two plain clicks that picked an item to move marked the
    // document, though nothing moved.
    EXPECT_EQ(editedMarks(), 2);
    EXPECT_EQ(controller->currentItem(), text);
    EXPECT_EQ(controller->view()->focusWidget(), &shape());
}

TEST_F(MenuEditShapeViewTest, APressJustOutsideAFrameSelectsWithoutDragging)
{
    auto title = item(1, {300, 200, 100, 50});
    show({title});
    press({298, 225});
    EXPECT_EQ(shape().selectedItemArray(), QList<std::shared_ptr<DVDPageItem>>{title});
    EXPECT_FALSE(shape().isTracking());
    dragTo({350, 300});
    release({350, 300});
    EXPECT_EQ(title->frame(), QRectF(300, 200, 100, 50));
    EXPECT_EQ(editedMarks(), 0);
}

TEST_F(MenuEditShapeViewTest, AHandleNarrowsTheSelectionAndATextCornerMovesTheText)
{
    auto left = item(1, {100, 200, 100, 50});
    auto right = item(1, {500, 200, 100, 50});
    auto text = textItem({300, 50, 100, 40});
    show({left, right, text});
    canvasZoomLimits(left->frame());

    select({left, right});
    press(G::dragTypeCenterPoint(G::dragUpperRight, left->frame()));
    EXPECT_EQ(shape().selectedItemArray(), QList<std::shared_ptr<DVDPageItem>>{left});
    EXPECT_EQ(factory->titleText->count("getMinZoomWithMedia"), 1);
    EXPECT_EQ(factory->titleText->count("getMaxZoomWithMedia"), 1);
    dragTo({212, 252});
    release({212, 252});
    EXPECT_FLOAT_EQ(float(left->frame().width()), 120);
    EXPECT_EQ(right->frame(), QRectF(500, 200, 100, 50));

    // A text has no handles: its corner area moves it.
    select({text});
    drag({297, 93}, {317, 83});
    EXPECT_EQ(text->frame(), QRectF(320, 40, 100, 40));
}

TEST_F(MenuEditShapeViewTest, AHandleResizesInProportionByTheHorizontalTravel)
{
    const QRectF frame(377, 215, 100, 50);  // centre (427, 240), the canvas's middle
    struct Case {
        const char* what;
        int handle;
        QPointF travel;
        double width;
    };
    const Case cases[] = {
        {"right handle 10 out", G::dragUpperRight, {10, 0}, 120},
        {"right handle 40 in: 0.2, raised to 0.3", G::dragLowerRight, {-40, 0}, 30},
        {"left handle 10 right", G::dragUpperLeft, {10, 0}, 80},
        {"left handle 10 left, 30 up", G::dragLowerLeft, {-10, 30}, 120},
        {"vertical travel alone", G::dragUpperRight, {0, -60}, 100},
    };
    for (const Case& c : cases) {
        auto title = item(1, frame);
        show({title});
        canvasZoomLimits(frame);
        select({title});
        const QPointF from = G::dragTypeCenterPoint(c.handle, frame);
        drag(from, from + c.travel);
        EXPECT_NEAR(title->frame().width(), c.width, 1e-4) << c.what;
        EXPECT_DOUBLE_EQ(title->frame().height(), title->frame().width() / 2) << c.what;
        EXPECT_NEAR(title->frame().center().x(), 427, 1e-9) << c.what;
        EXPECT_NEAR(title->frame().center().y(), 240, 1e-9) << c.what;
        EXPECT_EQ(editedMarks(), 1) << c.what;
        EXPECT_FALSE(shape().drawMediaLine() || shape().drawMediaHLine()) << c.what;
    }
}

TEST_F(MenuEditShapeViewTest, AnItemWithoutWidthIsNeverResized)
{
    auto flat = item(1, {300, 200, 0, 50});
    show({flat});
    factory->titleText->minZoom = std::numeric_limits<float>::infinity();
    factory->titleText->maxZoom = std::numeric_limits<float>::quiet_NaN();
    select({flat});
    const QPointF from = G::dragTypeCenterPoint(G::dragUpperRight, flat->frame());
    drag(from, from + QPointF(30, 0));
    EXPECT_EQ(flat->frame(), QRectF(300, 200, 0, 50));
}

TEST_F(MenuEditShapeViewTest, AGroupStopsAsAWholeAtTheCanvasEdge)
{
    auto a = item(1, {600, 100, 100, 50});
    auto b = item(1, {700, 300, 100, 50});
    show({a, b});
    select({a, b});
    drag({650, 125}, {800, 165});
    // The union (600..800) stops at 854; both move by 54 across, 40 up.
    EXPECT_EQ(a->frame(), QRectF(654, 140, 100, 50));
    EXPECT_EQ(b->frame(), QRectF(754, 340, 100, 50));
    EXPECT_FALSE(shape().drawMediaLine() || shape().drawMediaHLine());
}

TEST_F(MenuEditShapeViewTest, TheRubberBandSelectsOnOverlapAndMarksNothing)
{
    auto a = item(1, {100, 100, 100, 50});
    auto b = item(1, {300, 100, 100, 50});
    show({a, b});
    press({50, 300});
    dragTo({150, 140});
    EXPECT_EQ(shape().selectedItemArray(), QList<std::shared_ptr<DVDPageItem>>{a});
    EXPECT_EQ(shape().selectionRect(), QRectF(50, 140, 100, 160));
    // The band's right edge on b's left edge: b stays out.
    dragTo({300, 120});
    EXPECT_EQ(shape().selectedItemArray(), QList<std::shared_ptr<DVDPageItem>>{a});
    dragTo({301, 120});
    EXPECT_EQ(shape().selectedItemArray(), (QList<std::shared_ptr<DVDPageItem>>{a, b}));
    dragTo({90, 120});
    EXPECT_TRUE(shape().selectedItemArray().isEmpty());
    release({90, 120});
    EXPECT_EQ(shape().selectionRect(), QRectF());
    EXPECT_EQ(editedMarks(), 0);

    // A press and release on an item without moving marks the document.
    click({150, 125});
    EXPECT_EQ(editedMarks(), 1);
    EXPECT_EQ(a->frame(), QRectF(100, 100, 100, 50));
}

TEST_F(MenuEditShapeViewTest, ASingleDraggedItemSnapsToTheFirstCandidate)
{
    // The title's right edge (509) lies nearer than the text's left edge
    // (500), but the text comes first among the candidates.
    auto title = item(1, {100, 300, 409, 80});
    auto dragged = item(1, {400, 100, 60, 40});
    auto text = textItem({500, 400, 100, 40});
    show({title, dragged, text});
    select({dragged});
    press({430, 120});
    dragTo({538, 120});  // left edge to 508
    EXPECT_EQ(dragged->frame(), QRectF(500, 100, 60, 40));
    EXPECT_TRUE(shape().drawMediaLine());
    EXPECT_FALSE(shape().drawMediaHLine());
    EXPECT_EQ(shape().auxiliaryLines().mediaPoint1, QPointF(500, 100));
    EXPECT_EQ(shape().auxiliaryLines().mediaPoint2, QPointF(500, 440));
    // Out of reach of every line the item follows the pointer again.
    dragTo({445, 120});
    EXPECT_EQ(dragged->frame(), QRectF(415, 100, 60, 40));
    EXPECT_FALSE(shape().drawMediaLine());
    dragTo({538, 120});
    release({538, 120});
    EXPECT_FALSE(shape().drawMediaLine() || shape().drawMediaHLine());
    EXPECT_EQ(dragged->frame(), QRectF(500, 100, 60, 40));

    // Two selected items never snap.
    select({dragged, title});
    press({510, 110});
    dragTo({513, 110});
    EXPECT_EQ(dragged->frame(), QRectF(503, 100, 60, 40));
    EXPECT_FALSE(shape().drawMediaLine() || shape().drawMediaHLine());
    release({513, 110});
}

TEST_F(MenuEditShapeViewTest, ASnapMayLeaveTheCanvasAndTheNextKeyPullsItBack)
{
    auto outside = item(1, {-8, 300, 50, 50});
    auto dragged = item(1, {100, 100, 60, 40});
    show({outside, dragged});
    select({dragged});
    drag({130, 120}, {20, 120});  // clamped to x 0, then snapped onto -8
    EXPECT_EQ(dragged->frame(), QRectF(-8, 100, 60, 40));
    QTest::keyClick(&shape(), Qt::Key_Up);
    EXPECT_EQ(dragged->frame(), QRectF(0, 101, 60, 40));
}

TEST_F(MenuEditShapeViewTest, ArrowKeysMoveTheSelectionOneUnitAndAlwaysMarkEdited)
{
    auto a = item(1, {100, 100, 100, 50});
    auto b = item(1, {300, 430, 100, 50});  // touches the upper edge
    auto c = item(1, {600, 100, 100, 50});
    show({a, b, c});

    QTest::keyClick(&shape(), Qt::Key_Up);  // nothing selected
    EXPECT_EQ(editedMarks(), 1);

    select({a, b});
    QTest::keyClick(&shape(), Qt::Key_Up);
    EXPECT_EQ(a->frame(), QRectF(100, 100, 100, 50));
    EXPECT_EQ(b->frame(), QRectF(300, 430, 100, 50));
    EXPECT_EQ(editedMarks(), 2);
    for (const auto key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Left, Qt::Key_Left}) {
        QTest::keyClick(&shape(), key);
    }
    EXPECT_EQ(a->frame(), QRectF(99, 98, 100, 50));
    EXPECT_EQ(b->frame(), QRectF(299, 428, 100, 50));
    EXPECT_EQ(editedMarks(), 7);
    ASSERT_EQ(shape().oldSelectedItemRects().size(), 2);
    EXPECT_EQ(shape().oldSelectedItemRects().first().menuItem, a);
    EXPECT_EQ(shape().oldSelectedItemRects().first().oldFrame,
              QStringLiteral("{{100, 98}, {100, 50}}"));
    // Two items: no guide check, though a lies 1 from c's... nothing.
    EXPECT_FALSE(shape().keyForDrawLine());

    // With a modifier the key is not a move.
    QTest::keyClick(&shape(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(a->frame(), QRectF(99, 98, 100, 50));
    EXPECT_EQ(editedMarks(), 7);
}

TEST_F(MenuEditShapeViewTest, KeyGuidesLastALittleOverASecond)
{
    auto line = item(1, {100, 300, 50, 50});
    auto moving = item(1, {102, 100, 60, 40});
    show({line, moving});
    double clock = 50;
    shape().setClock([&clock] { return clock; });
    select({moving});

    QTest::keyClick(&shape(), Qt::Key_Left);  // 1 away: no guide
    EXPECT_FALSE(shape().keyForDrawLine());
    EXPECT_FALSE(shape().drawMediaLine());
    EXPECT_EQ(shape().jiangeTime(), 0);

    QTest::keyClick(&shape(), Qt::Key_Left);  // on the line
    EXPECT_EQ(moving->frame(), QRectF(100, 100, 60, 40));
    EXPECT_TRUE(shape().keyForDrawLine());
    EXPECT_TRUE(shape().drawMediaLine());
    EXPECT_EQ(shape().jiangeTime(), 50);
    shape().repaint();
    EXPECT_TRUE(shape().isKeyGuideStepPending());

    // Ticks every 0.1 s: the guide stays through 1 s, goes at the first tick
    // past it.
    for (int tick = 1; tick <= 10; ++tick) {
        clock = 50 + tick * 0.1;
        shape().clearKeyForDrawLine();
        EXPECT_TRUE(shape().keyForDrawLine()) << tick;
        EXPECT_TRUE(shape().isKeyGuideStepPending()) << tick;
    }
    // A press sliding along the line renews the guide.
    QTest::keyClick(&shape(), Qt::Key_Up);
    EXPECT_EQ(shape().jiangeTime(), 51);
    clock = 51.1;
    shape().clearKeyForDrawLine();
    EXPECT_TRUE(shape().keyForDrawLine());
    clock = 52.05;
    shape().clearKeyForDrawLine();
    EXPECT_FALSE(shape().keyForDrawLine());
    EXPECT_FALSE(shape().drawMediaLine());

    // The real timer: the step runs by itself 0.1 s after the redisplay.
    QTest::keyClick(&shape(), Qt::Key_Down);
    ASSERT_TRUE(shape().keyForDrawLine());
    clock = 60;
    for (int wait = 0; wait < 100 && shape().keyForDrawLine(); ++wait) {
        QTest::qWait(20);
    }
    EXPECT_FALSE(shape().keyForDrawLine());
    EXPECT_FALSE(shape().drawMediaLine());
    EXPECT_FALSE(shape().isKeyGuideStepPending());
}

TEST_F(MenuEditShapeViewTest, NoKeyGuideStepRunsWhileTheMouseDrags)
{
    auto line = item(1, {100, 300, 50, 50});
    auto moving = item(1, {101, 100, 60, 40});
    auto other = item(1, {600, 100, 60, 40});
    show({line, moving, other});
    double clock = 10;
    shape().setClock([&clock] { return clock; });
    select({moving});
    QTest::keyClick(&shape(), Qt::Key_Left);
    ASSERT_TRUE(shape().keyForDrawLine());

    press({620, 120});  // picks and drags the other item
    clock = 20;
    shape().clearKeyForDrawLine();
    EXPECT_TRUE(shape().keyForDrawLine());
    EXPECT_TRUE(shape().isKeyGuideStepPending());
    release({620, 120});
    EXPECT_FALSE(shape().keyForDrawLine());
}

// Integer pixel events as a pointer gives them, at about 0.87 units a pixel.
TEST_F(MenuEditShapeViewTest, RealEventsResizeAndSnapThroughTheCanvasTransform)
{
    auto title = item(1, {100, 300, 120, 80});
    auto dragged = item(1, {400, 100, 160, 90});
    auto text = textItem({560, 350, 160, 50}, "Summer");
    show({title, dragged, text});
    canvasZoomLimits(dragged->frame());
    MenuEditShapeView* overlay = &shape();
    const QTransform& toView = canvas().canvasToView();
    auto pixel = [&](const QPointF& p) { return toView.map(p).toPoint(); };
    auto moveTo = [&](const QPoint& at) {
        QMouseEvent move(QEvent::MouseMove, at, overlay->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(overlay, &move);
    };

    // Click the item, then its lower-right handle, 20 pixels right.
    QTest::mouseClick(overlay, Qt::LeftButton, Qt::NoModifier, pixel({480, 145}));
    ASSERT_EQ(shape().selectedItemArray(), QList<std::shared_ptr<DVDPageItem>>{dragged});
    const QPoint handle = pixel(G::dragTypeCenterPoint(G::dragLowerRight, dragged->frame()));
    QTest::mousePress(overlay, Qt::LeftButton, Qt::NoModifier, handle);
    moveTo(handle + QPoint(20, 0));
    QTest::mouseRelease(overlay, Qt::LeftButton, Qt::NoModifier, handle + QPoint(20, 0));
    const double travel = 20 * canvas().canvasFit().scale;
    EXPECT_NEAR(dragged->frame().width(), 160 + 2 * travel, 0.01);
    EXPECT_NEAR(dragged->frame().center().x(), 480, 1e-9);
    EXPECT_NEAR(dragged->frame().center().y(), 145, 1e-9);

    // Drag it so that its right edge comes within reach of the text's left
    // edge and its upper edge of the title's lower edge.
    const QRectF resized = dragged->frame();
    const QPoint start = pixel(resized.center());
    QTest::mousePress(overlay, Qt::LeftButton, Qt::NoModifier, start);
    const QPointF target(560 - 4 - resized.width(), 300 + 3 - resized.height());
    const QPoint end = pixel(resized.center() + target - resized.topLeft());
    moveTo(end);
    EXPECT_DOUBLE_EQ(dragged->frame().x() + dragged->frame().width(), 560);
    EXPECT_DOUBLE_EQ(dragged->frame().y() + dragged->frame().height(), 300);
    EXPECT_TRUE(shape().drawMediaLine());
    EXPECT_TRUE(shape().drawMediaHLine());

    const QImage picture = controller->view()->grab().toImage();
    testsupport::writeArtifact(picture, "menu-canvas-snap.png");
    // The pixel of the editor's picture holding a canvas point.
    auto pictureAt = [&](const QPointF& p) {
        const QPointF at = canvas().mapTo(controller->view(), toView.map(p));
        return picture.pixelColor(int(std::floor(at.x())), int(std::floor(at.y())));
    };
    // The vertical guide: yellow dashes along x 560 between the two items.
    int yellow = 0;
    for (double y = 305; y < 345; y += 0.5) {
        const QColor c = pictureAt({560, y});
        yellow += c.red() > 150 && c.green() > 150 && c.blue() < 100;
    }
    EXPECT_GT(yellow, 30);
    // The orange frame left of the dragged item, 2 units out.
    const QRectF frame = dragged->frame();
    const QColor orange = pictureAt({frame.x() - 2, frame.center().y()});
    EXPECT_GT(orange.red(), 200);
    EXPECT_GT(orange.green(), 90);
    EXPECT_LT(orange.green(), 170);
    EXPECT_LT(orange.blue(), 60);
    // A handle on its lower-left corner: white around an orange centre.
    const QColor knob = pictureAt(G::dragTypeCenterPoint(G::dragLowerLeft, frame) + QPointF(3, 0));
    EXPECT_GT(knob.red(), 220);
    EXPECT_GT(knob.green(), 220);
    EXPECT_GT(knob.blue(), 220);

    QTest::mouseRelease(overlay, Qt::LeftButton, Qt::NoModifier, end);
    EXPECT_FALSE(shape().drawMediaLine() || shape().drawMediaHLine());
    EXPECT_EQ(editedMarks(), 3);
}

}  // namespace
