// The dvdauthor description, compared character for character with documents
// written out by hand from the description's templates.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "DVDLibraryTestFakes.h"
#include "corvane/DVDAuthorDocument.h"

using namespace disctest;

namespace {

const QString V = R"(<video aspect="16:9" resolution="720x576" /><audio lang="en" />)";

std::shared_ptr<FakeElement> linkedElement(const std::shared_ptr<FakeChapter>& chapter)
{
    auto e = element();
    e->setJumpObject(e);
    auto elements = chapter->titles();
    elements.append(e);
    chapter->setTitles(elements);
    return e;
}

std::shared_ptr<DVDLibrary> palWideLibrary(const QString& flags = {})
{
    auto library = std::make_shared<DVDLibrary>();
    library->setFormat(1);
    library->setAspectType(1);
    applyFlags(*library, flags);
    return library;
}

TEST(AuthorContent, menusWithButtons)
{
    // Two pages, two titles; page 0 has a static element at position 2.
    auto c00 = chapter(1.5), c01 = chapter(1.5), c10 = chapter(1.0), c11 = chapter(2.0);
    auto T0 = title({c00, c01});
    auto T1 = title({c10, c11});
    auto e00 = linkedElement(c00), e01 = linkedElement(c10), e03 = linkedElement(c00);
    auto e10 = linkedElement(c11);
    auto P0 = page({e00, e01, staticElement(), e03, element()});
    auto P1 = page({e10, element(P0), element(P0)});
    P0->items().at(4)->setJump(P1);
    auto library = palWideLibrary("menuLoop");
    library->setMenus({P0, P1});
    library->setTitles({T0, T1});

    const QString expected =
        "<dvdauthor>\n"
        "<vmgm><fpc>g1=0;g2=0;g3=0;g4=0;g5=0; jump titleset 1 menu entry root;</fpc></vmgm>\n"
        "<titleset><menus>\n" +
        V +
        "<pgc><pre>g1=1;g3=0;g4=0;g3=button;g3=g3/1024; if ( g3 lt 1 || g3 gt 4 ) "
        "g3=1;g3=g3*1024;button=g3; </pre><vob file=\"menu0.dvd\" />"
        "<button name=\"b00\"> g4=0;jump title 1 chapter 1; </button>"
        "<button name=\"b01\"> g4=0;jump title 2 chapter 1; </button>"
        "<button name=\"b03\"> g4=0;jump title 1 chapter 1; </button>"
        "<button name=\"b04\"> g4=0;jump menu 2; </button><post>jump menu 1;</post></pgc>\n"
        "<pgc><pre>g1=2;g3=0;g4=0;g3=button;g3=g3/1024; if ( g3 lt 1 || g3 gt 3 ) "
        "g3=1;g3=g3*1024;button=g3; </pre><vob file=\"menu1.dvd\" />"
        "<button name=\"b10\"> g4=0;jump title 2 chapter 2; </button>"
        "<button name=\"b11\"> g4=0;jump menu 1; </button>"
        "<button name=\"b12\"> g4=0;jump menu 1; </button><post>jump menu 2;</post></pgc>\n"
        "<pgc entry=\"root\"><pre> if (g2 == 0) g1=0; g2=0; if (g5 != 93) g3=0;"
        "if (g1 == 1) jump menu 1;if (g1 == 2) jump menu 2;if (g1 == 0 || g1 > 2) jump menu 1;"
        "</pre></pgc>\n"
        "\n</menus><titles>\n" +
        V +
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title0.dvd\" >"
        "<cell start=\"00:00:00.00\" end=\"00:00:01.50\" chapter=\"yes\">g3=0;</cell>"
        "<cell start=\"00:00:01.50\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>g4=0;g2=1;call menu entry root;</post></pgc>\n"
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title1.dvd\" >"
        "<cell start=\"00:00:00.00\" end=\"00:00:01.00\" chapter=\"yes\">g3=0;</cell>"
        "<cell start=\"00:00:01.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>g4=0;g2=1;call menu entry root;</post></pgc>\n"
        "\n</titles></titleset>\n"
        "</dvdauthor>";
    EXPECT_EQ(library->authorContent(), expected);
}

TEST(AuthorContent, noMenu)
{
    // NTSC 4:3; the page is left out and the chain does not apply.
    auto T0 = title({chapter(2.5)});
    auto T1 = title({chapter(3725.129)});
    DVDLibrary library;
    applyFlags(library, "noMenu,autoPlayVideos=-1");
    library.setMenus({page({element(T0)})});
    library.setTitles({T0, T1});

    const QString v = R"(<video aspect="4:3" resolution="720x480" /><audio lang="en" />)";
    const QString expected =
        "<dvdauthor>\n"
        "<vmgm><fpc>g1=0;g2=0;g3=0;g4=0;g5=0; jump titleset 1 menu entry root;</fpc></vmgm>\n"
        "<titleset><menus>\n" +
        v +
        "<pgc entry=\"root\"><pre> if (g2 == 0) g1=0; g2=0; if (g5 != 93) g3=0;jump title 1;"
        "</pre></pgc>\n"
        "\n</menus><titles>\n" +
        v +
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title0.dvd\" >"
        "<cell start=\"00:00:00.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>g4=0;jump title 2 chapter 1;</post></pgc>\n"
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title1.dvd\" >"
        "<cell start=\"00:00:00.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>g4=0;jump title 1 chapter 1;</post></pgc>\n"
        "\n</titles></titleset>\n"
        "</dvdauthor>";
    EXPECT_EQ(library.authorContent(), expected);
}

TEST(AuthorContent, playFirstTitle)
{
    auto c0 = chapter(1.0);
    auto T0 = title({c0});
    auto T1 = title({chapter(2.0)});
    auto library = palWideLibrary("playFirstTitle,playTitleSequence");
    library->setMenus({page({linkedElement(c0)})});
    library->setTitles({T0, T1});

    const QString expected =
        "<dvdauthor>\n"
        "<vmgm><fpc>g1=0;g2=0;g3=0;g4=0;g5=0; g4=1;jump title 1;</fpc></vmgm>\n"
        "<titleset><menus>\n" +
        V +
        "<pgc><pre>g1=1;g3=0;g4=0;g3=button;g3=g3/1024; if ( g3 lt 1 || g3 gt 1 ) "
        "g3=1;g3=g3*1024;button=g3; </pre><vob file=\"menu0.dvd\" />"
        "<button name=\"b00\"> g4=0;jump title 1 chapter 1; </button>"
        "<post>jump menu 1;</post></pgc>\n"
        "<pgc entry=\"root\"><pre> if (g2 == 0) g1=0; g2=0; if (g5 != 93) g3=0;"
        "if (g1 == 1) jump menu 1;if (g1 == 0 || g1 > 1) jump menu 1;</pre></pgc>\n"
        "\n</menus><titles>\n" +
        V +
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title0.dvd\" >"
        "<cell start=\"00:00:00.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>g4=0;jump title 2 chapter 1;</post></pgc>\n"
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title1.dvd\" >"
        "<cell start=\"00:00:00.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>g4=0;g2=1;call menu entry root;</post></pgc>\n"
        "\n</titles></titleset>\n"
        "</dvdauthor>";
    EXPECT_EQ(library->authorContent(), expected);
}

// A warning title first: played once, then the root menu.
std::shared_ptr<DVDLibrary> warningDisc(const QString& flags, bool warningFirst = true)
{
    auto c0 = chapter(1.0);
    auto W = title({chapter(2.0)}, true);
    auto T0 = title({c0});
    auto library = palWideLibrary(flags);
    library->setMenus({page({linkedElement(c0)})});
    library->setTitles(warningFirst ? QList<ObjectPtr>{W, T0} : QList<ObjectPtr>{T0, W});
    return library;
}

TEST(AuthorContent, warningTitle)
{
    const QString expected =
        "<dvdauthor>\n"
        "<vmgm><fpc>g1=0;g2=0;g3=0;g4=0;g5=0; jump titleset 1 menu entry root;</fpc></vmgm>\n"
        "<titleset><menus>\n" +
        V +
        "<pgc><pre>g1=1;g3=0;g4=0;g3=button;g3=g3/1024; if ( g3 lt 1 || g3 gt 1 ) "
        "g3=1;g3=g3*1024;button=g3; </pre><vob file=\"menu0.dvd\" />"
        "<button name=\"b00\"> g4=0;jump title 2 chapter 1; </button>"
        "<post>jump menu 1;</post></pgc>\n"
        "<pgc entry=\"root\"><pre> if (g2 == 0) g1=0; g2=0; if (g5 != 93) jump title 1;"
        "if (g1 == 1) jump menu 1;if (g1 == 0 || g1 > 1) jump menu 1;</pre></pgc>\n"
        "\n</menus><titles>\n" +
        V +
        "<pgc><vob file=\"title0.dvd\" >"
        "<cell start=\"00:00:00.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>g5=93; call menu entry root;</post></pgc>\n"
        "<pgc><pre> if (g5 != 93) jump title 1; </pre><vob file=\"title1.dvd\" >"
        "<cell start=\"00:00:00.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>g4=0;g2=1;call menu entry root;</post></pgc>\n"
        "\n</titles></titleset>\n"
        "</dvdauthor>";
    EXPECT_EQ(warningDisc("menuLoop")->authorContent(), expected);
}

TEST(AuthorContent, warningTitleFirstNeverReplaysItself)
{
    // With the warning clip as title 1, every literal "jump title 1;" of the
    // start, the warning end and a root without pages names title 2 instead.
    const QString played = warningDisc("playFirstTitle")->authorContent();
    EXPECT_TRUE(played.contains("g5=0; g4=1;jump title 2;</fpc>"));
    EXPECT_TRUE(played.contains("<post>g5=93; jump title 2;</post>"));
    EXPECT_FALSE(played.contains("g4=1;jump title 1;"));
    EXPECT_FALSE(played.contains("g5=93; jump title 1;"));

    const QString noMenu = warningDisc("noMenu")->authorContent();
    EXPECT_TRUE(noMenu.contains("if (g5 != 93) jump title 1;jump title 2;</pre></pgc>\n"));
}

TEST(AuthorContent, warningTitleAfterANormalTitleKeepsTitleOne)
{
    const QString played = warningDisc("playFirstTitle", false)->authorContent();
    EXPECT_TRUE(played.contains("g5=0; g4=1;jump title 1;</fpc>"));
    EXPECT_TRUE(played.contains("<post>g5=93; jump title 1;</post>"));
    EXPECT_TRUE(
        played.contains("<pgc><pre> if (g5 != 93) jump title 2; </pre>"
                        "<vob file=\"title0.dvd\" >"));
    const QString noMenu = warningDisc("noMenu", false)->authorContent();
    EXPECT_TRUE(noMenu.contains("if (g5 != 93) jump title 2;jump title 1;</pre></pgc>\n"));
}

TEST(AuthorContent, autoPlayChain)
{
    auto c0 = chapter(1.0);
    auto library = palWideLibrary("menuLoop,autoPlayVideos=2");
    library->setMenus({page({linkedElement(c0)})});
    library->setTitles({title({c0}), title({chapter(1.0)}), title({chapter(1.0)})});

    const QString titles =
        "\n</menus><titles>\n" + V +
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title0.dvd\" >"
        "<cell start=\"00:00:00.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>if ( g4 gt 0 ){jump title 2 chapter 1;}else{g2=1;call menu entry root;}</post>"
        "</pgc>\n"
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title1.dvd\" >"
        "<cell start=\"00:00:00.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>if ( g4 gt 0 ){g2=1;call menu entry root;}else{g2=1;call menu entry root;}</post>"
        "</pgc>\n"
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title2.dvd\" >"
        "<cell start=\"00:00:00.00\" chapter=\"yes\">g3=0;</cell></vob>"
        "<post>g4=0;g2=1;call menu entry root;</post></pgc>\n"
        "\n</titles></titleset>\n"
        "</dvdauthor>";
    EXPECT_TRUE(library->authorContent().endsWith(titles)) << qPrintable(library->authorContent());

    // A negative count puts every title in the chain, which then loops.
    applyFlags(*library, "autoPlayVideos=-1,loopAutoPlayVideos,playTitleSequence");
    const QString looped = library->authorContent();
    EXPECT_TRUE(
        looped.contains("<vob file=\"title2.dvd\" >"
                        "<cell start=\"00:00:00.00\" chapter=\"yes\">"
                        "g3=0;</cell></vob><post>if ( g4 gt 0 ){jump title 1 chapter 1;}"
                        "else{g2=1;call menu entry root;}</post>"));
}

TEST(AuthorContent, pageWithoutTargetsAndTitleWithoutChapters)
{
    auto library = palWideLibrary();
    library->setMenus({page({staticElement(), element()})});
    library->setTitles({title({})});

    const QString expected =
        "<dvdauthor>\n"
        "<vmgm><fpc>g1=0;g2=0;g3=0;g4=0;g5=0; jump titleset 1 menu entry root;</fpc></vmgm>\n"
        "<titleset><menus>\n" +
        V +
        "<pgc><pre>g1=1;g3=0;g4=0;g3=button;g3=g3/1024; if ( g3 lt 1 || g3 gt 0 ) "
        "g3=1;g3=g3*1024;button=g3; </pre><vob file=\"menu0.dvd\" />"
        "<post>jump menu 1;</post></pgc>\n"
        "<pgc entry=\"root\"><pre> if (g2 == 0) g1=0; g2=0; if (g5 != 93) g3=0;"
        "if (g1 == 1) jump menu 1;if (g1 == 0 || g1 > 1) jump menu 1;</pre></pgc>\n"
        "\n</menus><titles>\n" +
        V +
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title0.dvd\" ></vob>"
        "<post>g4=0;g2=1;call menu entry root;</post></pgc>\n"
        "\n</titles></titleset>\n"
        "</dvdauthor>";
    EXPECT_EQ(library->authorContent(), expected);
}

TEST(AuthorContent, buttonsWhoseTargetIsNotOnTheDisc)
{
    // A page and a title resource that the disc does not hold, an element
    // linked to no chapter, and a title resource that is title 1.
    auto R = std::make_shared<FakeResource>();
    auto outsidePage = page({});
    auto outsideTitle = std::make_shared<FakeResource>();
    auto unlinked = element();
    unlinked->setJumpObject(unlinked);
    auto library = palWideLibrary();
    library->setMenus({page({element(outsidePage), element(outsideTitle), unlinked, element(R)})});
    library->setTitles({R});

    const QString expected =
        "<dvdauthor>\n"
        "<vmgm><fpc>g1=0;g2=0;g3=0;g4=0;g5=0; jump titleset 1 menu entry root;</fpc></vmgm>\n"
        "<titleset><menus>\n" +
        V +
        "<pgc><pre>g1=1;g3=0;g4=0;g3=button;g3=g3/1024; if ( g3 lt 1 || g3 gt 4 ) "
        "g3=1;g3=g3*1024;button=g3; </pre><vob file=\"menu0.dvd\" />"
        "<button name=\"b00\"> g4=0;g3=0; </button>"
        "<button name=\"b01\"> g4=0;g3=0; </button>"
        "<button name=\"b02\"> g4=0;g3=0; </button>"
        "<button name=\"b03\"> g4=0;jump title 1; </button>"
        "<post>jump menu 1;</post></pgc>\n"
        "<pgc entry=\"root\"><pre> if (g2 == 0) g1=0; g2=0; if (g5 != 93) g3=0;"
        "if (g1 == 1) jump menu 1;if (g1 == 0 || g1 > 1) jump menu 1;</pre></pgc>\n"
        "\n</menus><titles>\n" +
        V +
        "<pgc><pre> if (g5 != 93) g3=0; </pre><vob file=\"title0.dvd\" />"
        "<post>g4=0;g2=1;call menu entry root;</post></pgc>\n"
        "\n</titles></titleset>\n"
        "</dvdauthor>";
    EXPECT_EQ(library->authorContent(), expected);
}

TEST(AuthorContent, commands)
{
    Disc disc(4);
    DVDLibrary& library = *disc.library;
    const struct {
        const char* target;
        const char* command;
    } rows[] = {
        {"nil", "g3=0;"},
        {"P0", "jump menu 1;"},
        {"S1", "jump menu 4;"},
        {"X", "g3=0;"},
        {"c00", "jump title 1 chapter 1;"},
        {"c01", "jump title 1 chapter 2;"},
        {"c10", "jump title 2 chapter 1;"},
        {"w0", "jump title 5 chapter 1;"},
        {"T3", "jump title 4;"},
        {"R2", "jump title 3;"},
        {"Q", "g3=0;"},
        {"Z", "g3=0;"},
        {"e0a", "g3=0;"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(library.actionForDVDElement(disc[row.target]), row.command) << row.target;
    }
    EXPECT_EQ(library.actionForDVDElement(chapter(1)), "g3=0;");  // in no title
    EXPECT_EQ(
        library.actionForChapterVideo(std::dynamic_pointer_cast<DVDChapterVideo>(disc["c10"])),
        "g3=0;");
    EXPECT_EQ(library.actionForTitlePostJump(nullptr), "g2=1;call menu entry root;");
    EXPECT_EQ(library.actionForTitlePostJump(disc["c10"]), "jump title 2 chapter 1;");
    library.setNoMenu(true);
    EXPECT_EQ(library.actionForTitlePostJump(nullptr), "g1=1;g2=1;");
    EXPECT_EQ(library.actionForJumpButton(std::dynamic_pointer_cast<DVDMenuElement>(disc["e0b"])),
              "jump menu 3;");
    EXPECT_EQ(library.actionForMenuPostItem(std::dynamic_pointer_cast<DVDMenuPage>(disc["S0"])),
              "jump menu 4;");
}

TEST(AuthorContent, cellTimes)
{
    const struct {
        double seconds;
        const char* text;
    } rows[] = {
        {0, "00:00:00.00"},        {2.5, "00:00:02.50"},
        {3725.129, "01:02:05.12"}, {59.999, "00:00:59.99"},
        {0.019, "00:00:00.01"},    {3600, "01:00:00.00"},
        {-3, "00:00:00.00"},       {std::nan(""), "00:00:00.00"},
        {1e12, "596:31:23.64"},  // saturated at the largest 32-bit millisecond count
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DVDAuthorDocument::cellTime(row.seconds), row.text) << row.seconds;
    }
}


}  // namespace
