// The spumux description of a menu page: the button rectangles scaled from
// the canvas to the DVD frame (with single-precision ratios), clipped, made
// even and counted from the top of the frame.

#include <gtest/gtest.h>

#include "ToolTestSupport.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuMake.h"

using namespace tooltest;

namespace {

const QString head =
    "<subpictures><stream><spu start=\"00:00:00.00\" highlight=\"menu_highlight.png\" "
    "select=\"menu_select.png\" image=\"menu_image.png\" force=\"yes\" >\n";
const QString tail = "</spu></stream></subpictures>";

TEST(DVDMenuMakeScale, rectanglesInFramePixels)
{
    const QSizeF wide(854, 480), narrow(640, 480), ntsc(720, 480), pal(720, 576);
    const struct {
        QRectF rect;
        QSizeF menu, frame;
        QRectF expected;
    } cases[] = {
        // The worked example: x scaled by 720/854, y unchanged.
        {{100, 50, 200, 100}, wide, ntsc, {84, 50, 168, 100}},
        // 576/480 in single precision is a little over 1.2, so the top edge
        // rounds up to 481 and the height becomes 181, then 180.
        {{100, 250, 250, 150}, wide, pal, {84, 300, 212, 180}},
        // 4:3 on PAL: x by 1.125, y by 1.2000000476837158.
        {{100, 100, 100, 100}, narrow, pal, {112, 120, 112, 120}},
        // Partly outside: clipped to the frame.
        {{-20, -30, 100, 100}, ntsc, ntsc, {0, 0, 80, 70}},
        {{700, 460, 100, 100}, ntsc, ntsc, {700, 460, 20, 20}},
        // Wholly outside, touching, or without area: the zero rectangle.
        {{800, 100, 50, 50}, ntsc, ntsc, {}},
        {{720, 100, 50, 50}, ntsc, ntsc, {}},
        {{100, 100, 0, 50}, ntsc, ntsc, {}},
        // Odd values become even toward zero.
        {{7, 9, 7, 11}, ntsc, ntsc, {6, 8, 6, 10}},
        // A zero-sized canvas counts as 1 x 1.
        {{1, 1, 2, 2}, QSizeF(0, 0), ntsc, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DVDMenuMake::scaleRect(c.rect, c.menu, c.frame), c.expected)
            << c.rect.x() << "," << c.rect.y() << " " << c.rect.width() << "x" << c.rect.height();
    }
}

TEST(DVDMenuMakeConfig, theWorkedExample)
{
    auto e = element({100, 50, 200, 100});
    e->target = e;
    auto menu = page({e});
    DVDLibrary disc;
    disc.setMenus({menu});
    EXPECT_EQ(DVDMenuMake::xmlConfigForMenu(menu, disc),
              head + "<button name=\"b00\" x0=\"84\" y0=\"330\" x1=\"252\" y1=\"430\" />\n" + tail);
}

TEST(DVDMenuMakeConfig, buttonsKeepTheirElementPositions)
{
    // PAL 16:9: two video elements, a static one (no button), a button to the
    // next page, and one wholly outside the canvas.
    auto first = page({});
    auto second = page({});
    auto a = element({100, 250, 250, 150}, nullptr, true);
    a->target = a;
    auto b = element({480, 250, 250, 150}, nullptr, true);
    b->target = b;
    auto decoration = element({0, 0, 854, 40});
    auto next = element({700, 40, 80, 50}, second);
    auto outside = element({900, 500, 30, 30}, first);
    second->elements = {a, b, decoration, next, outside};
    DVDLibrary disc;
    disc.setFormat(1);
    disc.setMenus({first, second});
    EXPECT_EQ(DVDMenuMake::xmlConfigForMenu(second, disc),
              head +
                  "<button name=\"b10\" x0=\"84\" y0=\"96\" x1=\"296\" y1=\"276\" />\n"
                  "<button name=\"b11\" x0=\"404\" y0=\"96\" x1=\"616\" y1=\"276\" />\n"
                  "<button name=\"b13\" x0=\"590\" y0=\"468\" x1=\"658\" y1=\"528\" />\n"
                  "<button name=\"b14\" x0=\"0\" y0=\"576\" x1=\"0\" y1=\"576\" />\n" +
                  tail);
}

TEST(DVDMenuMakeConfig, aPageWithoutTargetsHasNoButtons)
{
    auto menu = page({element({10, 10, 100, 100}), element({200, 10, 100, 100})});
    DVDLibrary disc;
    disc.setMenus({menu});
    EXPECT_EQ(DVDMenuMake::xmlConfigForMenu(menu, disc), head + tail);
    EXPECT_EQ(DVDMenuMake::xmlConfigForMenu(nullptr, disc), head + tail);
}

TEST(DVDMenuMakeConfig, aPageNotOnTheDiscHasTheNotFoundPosition)
{
    auto e = element({100, 50, 200, 100});
    e->target = e;
    auto menu = page({element({0, 0, 10, 10}), e});
    DVDLibrary disc;
    EXPECT_EQ(DVDMenuMake::xmlConfigForMenu(menu, disc),
              head +
                  "<button name=\"b92233720368547758071\" x0=\"84\" y0=\"330\" x1=\"252\" "
                  "y1=\"430\" />\n" +
                  tail);
}

TEST(DVDMenuMakeConfig, frameSizeComesFromTheDisc)
{
    DVDLibrary disc;
    EXPECT_EQ(DVDMenuMake::getDVDVideoFormatSize(disc), QSize(720, 480));
    disc.setFormat(1);
    EXPECT_EQ(DVDMenuMake::getDVDVideoFormatSize(disc), QSize(720, 576));
}

}  // namespace
