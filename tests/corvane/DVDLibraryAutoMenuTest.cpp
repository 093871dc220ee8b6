// The automatic menu operation: titles dealt out over pages (copies of the
// template page when needed), title picture sizes, sub-page buttons, and
// removing a page with everything below it.

#include <gtest/gtest.h>

#include "DVDLibraryTestFakes.h"

using namespace disctest;

namespace {

template <typename T>
std::shared_ptr<T> as(const ObjectPtr& object)
{
    return std::dynamic_pointer_cast<T>(object);
}

// A template page: two title places between a text and three buttons.
std::shared_ptr<FakePage> templatePage()
{
    return page({staticElement(), element(), button("menu-pre"), element(), button("menu-play"),
                 button("menu-next")});
}

QList<ObjectPtr> targetsOf(const DVDLibrary::MenuPtr& menu)
{
    QList<ObjectPtr> targets;
    for (const auto& e : menu->items()) {
        if (!e->isStaticItem() && !e->isButtonItem()) {
            targets.append(e->jump());
        }
    }
    return targets;
}

QList<ObjectPtr> someTitles(int count)
{
    QList<ObjectPtr> titles;
    for (int i = 0; i < count; ++i) {
        titles.append(title({chapter(1)}));
    }
    return titles;
}

TEST(DVDLibraryAutoMenu, dealsTitlesOverCopiesOfTheTemplate)
{
    FakeTemplateHooks hooks;
    const auto titles = someTitles(5);
    DVDLibrary library;
    library.setAutoMenus(true);
    library.setCurrentMenu(templatePage());
    library.setTitles(titles);
    library.updateDVDMenus();

    ASSERT_EQ(library.menus().size(), 3);
    EXPECT_EQ(targetsOf(library.menus().at(0)), (QList<ObjectPtr>{titles[0], titles[1]}));
    EXPECT_EQ(targetsOf(library.menus().at(1)), (QList<ObjectPtr>{titles[2], titles[3]}));
    EXPECT_EQ(targetsOf(library.menus().at(2)), (QList<ObjectPtr>{titles[4], nullptr}));
    EXPECT_FALSE(library.menus().contains(library.currentMenu()));
}

TEST(DVDLibraryAutoMenu, existingPagesComeFirst)
{
    FakeTemplateHooks hooks;
    const auto titles = someTitles(4);
    auto own = page({element(), staticElement()});
    auto spare = page({element()});
    DVDLibrary library;
    library.setCurrentMenu(templatePage());
    library.setMenus({own});
    library.setTitles(titles);
    library.updateDVDMenus();
    ASSERT_EQ(library.menus().size(), 3);
    EXPECT_EQ(library.menus().at(0), own);
    EXPECT_EQ(targetsOf(own), QList<ObjectPtr>{titles[0]});
    EXPECT_EQ(targetsOf(library.menus().at(2)), (QList<ObjectPtr>{titles[3], nullptr}));

    // Pages left over once every title is placed are dropped.
    library.setMenus({own, spare});
    library.setTitles(someTitles(1));
    library.updateDVDMenus();
    EXPECT_EQ(library.menus(), QList<DVDLibrary::MenuPtr>{own});
}

TEST(DVDLibraryAutoMenu, stopsWhenTheTemplateHasNoPlaceForATitle)
{
    FakeTemplateHooks hooks;
    auto own = page({element()});
    DVDLibrary library;
    library.setCurrentMenu(page({staticElement(), button("menu-next")}));
    library.setMenus({own});
    library.setTitles(someTitles(3));
    library.updateDVDMenus();
    EXPECT_EQ(library.menus(), QList<DVDLibrary::MenuPtr>{own});
}

TEST(DVDLibraryAutoMenu, withoutCopiesOnlyExistingPagesAreUsed)
{
    // No template hooks installed: no page can be copied.
    auto own = page({element()});
    DVDLibrary library;
    library.setCurrentMenu(templatePage());
    library.setMenus({own});
    library.setTitles(someTitles(2));
    library.updateDVDMenus();
    EXPECT_EQ(library.menus(), QList<DVDLibrary::MenuPtr>{own});
}

TEST(DVDLibraryAutoMenu, updateRunsOnlyWhenAskedForAndWithMenus)
{
    FakeTemplateHooks hooks;
    const struct {
        const char* flags;
        qsizetype pages;
    } rows[] = {{"", 0}, {"autoMenus", 2}, {"autoMenus,noMenu", 0}};
    for (const auto& row : rows) {
        DVDLibrary library;
        applyFlags(library, row.flags);
        library.setCurrentMenu(templatePage());
        library.setTitles(someTitles(3));
        library.updateDVDMenu();
        EXPECT_EQ(library.menus().size(), row.pages) << row.flags;
    }
}

TEST(DVDLibraryAutoMenu, titleResourcesGetTheCanvasSize)
{
    for (const qint64 aspect : {0, 1, 2}) {
        auto resource = std::make_shared<FakeResource>();
        DVDLibrary library;
        library.setAspectType(aspect);
        library.setTitles({title({}), resource});
        library.updateDVDMenu();
        EXPECT_EQ(resource->videoSize, aspect ? QSizeF(854, 480) : QSizeF(640, 480)) << aspect;
    }
}

TEST(DVDLibraryAutoMenu, subPageButtons)
{
    FakeTemplateHooks hooks;
    // Top level: T0, T1 (each with previous, next and play buttons). T0's
    // element `opener` opens the sub pages A and B.
    auto c = chapter(1);
    auto opener = element();
    auto t0pre = button("pre"), t0next = button("next"), t1pre = button("pre"),
         t1next = button("next");
    auto T0 = page({opener, t0pre, t0next});
    auto T1 = page({t1pre, t1next});
    auto aTitle = element(), aPre = button("x-pre"), aNext = button("x-next"),
         aPlay = button("x-play");
    auto A = page({aPre, element(T0), aTitle, aNext, aPlay}, opener);
    auto bPre = button("pre"), bNext = button("next"), bPlay = button("play");
    auto B = page({bPre, bNext, bPlay}, opener);
    auto library = std::make_shared<DVDLibrary>();
    auto resource = std::make_shared<FakeResource>();
    aTitle->setJump(resource);
    library->setMenus({T0, T1, A, B});
    library->setTitles({resource});
    library->updateDVDMenuJump(nullptr);

    EXPECT_EQ(t0pre->jump(), nullptr);  // top level: nothing before the first page
    EXPECT_EQ(t0next->jump(), T1);
    EXPECT_EQ(t1pre->jump(), T0);
    EXPECT_EQ(t1next->jump(), nullptr);
    EXPECT_EQ(opener->jump(), A);
    EXPECT_EQ(aPre->jump(), T0);  // the page that holds the opener
    EXPECT_EQ(aNext->jump(), B);
    EXPECT_EQ(aPlay->jump(), resource);  // the first target that is not a page
    EXPECT_EQ(bPre->jump(), A);
    EXPECT_EQ(bNext->jump(), nullptr);
    EXPECT_EQ(bPlay->jump(), nullptr);    // B has no target but pages
    EXPECT_EQ(aTitle->jump(), resource);  // elements without sub pages keep theirs
}

TEST(DVDLibraryAutoMenu, subPageButtonsSurviveCircularParents)
{
    FakeTemplateHooks hooks;
    auto a = element(), b = element();
    auto A = page({a}, b), B = page({b}, a);
    DVDLibrary library;
    library.setMenus({A, B});
    library.updateDVDMenuJump(a);
    EXPECT_EQ(a->jump(), B);
    EXPECT_EQ(b->jump(), A);
}

TEST(DVDLibraryAutoMenu, deleteRemovesThePageAndEverythingBelow)
{
    Disc disc;
    DVDLibrary& library = *disc.library;
    library.deleteDVDMenu(as<DVDMenuPage>(disc["P0"]));
    EXPECT_EQ(library.menus(), QList<DVDLibrary::MenuPtr>{as<DVDMenuPage>(disc["P1"])});
    for (const char* name : {"e0a", "e0b", "e0d", "e0e", "s0a", "s1a"}) {
        EXPECT_EQ(as<DVDMenuElement>(disc[name])->jump(), nullptr) << name;
    }
    EXPECT_NE(as<DVDMenuElement>(disc["e1b"])->jump(), nullptr);

    Disc other;
    other.library->deleteDVDMenu(as<DVDMenuPage>(other["S0"]));
    EXPECT_EQ(as<DVDMenuElement>(other["e0b"])->jump(), nullptr);  // the parent
    EXPECT_EQ(as<DVDMenuElement>(other["s0a"])->jump(), nullptr);
    EXPECT_EQ(other.library->menus().size(), 3);
    EXPECT_EQ(as<DVDMenuElement>(other["s1a"])->jump(), other["P0"]);
    other.library->deleteDVDMenu(nullptr);
    EXPECT_EQ(other.library->menus().size(), 3);
}

}  // namespace
