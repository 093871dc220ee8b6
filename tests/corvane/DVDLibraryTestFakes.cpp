#include "DVDLibraryTestFakes.h"

#include <QStringList>

#include "platform/ClassRegistry.h"

namespace disctest {

namespace {

const bool registered = [] {
    ClassRegistry::add<FakeElement>(QStringLiteral("DiscTestFakeElement"));
    ClassRegistry::add<FakePage>(QStringLiteral("DiscTestFakePage"));
    ClassRegistry::add<FakeChapter>(QStringLiteral("DiscTestFakeChapter"));
    ClassRegistry::add<FakeTitle>(QStringLiteral("DiscTestFakeTitle"));
    ClassRegistry::add<FakeResource>(QStringLiteral("DiscTestFakeResource"));
    return true;
}();

template <typename To, typename From>
QList<std::shared_ptr<To>> upcast(const QList<std::shared_ptr<From>>& list)
{
    return QList<std::shared_ptr<To>>(list.begin(), list.end());
}

}  // namespace

bool FakeElement::setJump(const ObjectPtr& target)
{
    m_jump = target;
    return true;
}

const PropertyTable& FakeElement::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("jump", &FakeElement::jump, &FakeElement::setJumpObject)
            .add("static", &FakeElement::staticItem, &FakeElement::setStaticItem)
            .add("role", &FakeElement::role, &FakeElement::setRole);
    return table;
}

const PropertyTable& FakePage::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("items", &FakePage::items, &FakePage::setItems)
            .add("parent", &FakePage::parent, &FakePage::setParent)
            .add("aspectType", &FakePage::aspectType, &FakePage::setAspectType);
    return table;
}

const PropertyTable& FakeChapter::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("titles", &FakeChapter::titles, &FakeChapter::setTitles)
            .add("duration", &FakeChapter::duration, &FakeChapter::setDuration);
    return table;
}

double FakeTitle::duration() const
{
    double total = 0;
    for (const auto& chapter : m_chapters) {
        total += chapter->duration();
    }
    return total;
}

const PropertyTable& FakeTitle::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("chapters", &FakeTitle::chapters, &FakeTitle::setChapters)
            .add("warning", &FakeTitle::isWarningVideo, &FakeTitle::setWarningVideo);
    return table;
}

std::shared_ptr<FakeElement> element(const ObjectPtr& jump)
{
    auto e = std::make_shared<FakeElement>();
    e->setJumpObject(jump);
    return e;
}

std::shared_ptr<FakeElement> button(const QString& role)
{
    auto e = std::make_shared<FakeElement>();
    e->setRole(role);
    return e;
}

std::shared_ptr<FakeElement> staticElement()
{
    auto e = std::make_shared<FakeElement>();
    e->setStaticItem(true);
    return e;
}

std::shared_ptr<FakePage> page(const QList<std::shared_ptr<FakeElement>>& items,
                               const std::shared_ptr<FakeElement>& parent)
{
    auto p = std::make_shared<FakePage>();
    p->setItems(upcast<DVDMenuElement>(items));
    p->setParent(parent);
    return p;
}

std::shared_ptr<FakeChapter> chapter(double seconds,
                                     const QList<std::shared_ptr<FakeElement>>& elements)
{
    auto c = std::make_shared<FakeChapter>();
    c->setDuration(seconds);
    c->setTitles(upcast<DVDMenuElement>(elements));
    return c;
}

std::shared_ptr<FakeTitle> title(const QList<std::shared_ptr<FakeChapter>>& chapters, bool warning)
{
    auto t = std::make_shared<FakeTitle>();
    t->setChapters(upcast<DVDChapterVideo>(chapters));
    t->setWarningVideo(warning);
    return t;
}

FakeTemplateHooks::FakeTemplateHooks()
{
    DVDLibrary::MenuTemplateHooks hooks;
    hooks.copyMenu = [](const DVDLibrary::MenuPtr& source) -> DVDLibrary::MenuPtr {
        auto fake = std::dynamic_pointer_cast<FakePage>(source);
        if (!fake) {
            return nullptr;
        }
        auto copy = std::make_shared<FakePage>();
        QList<std::shared_ptr<DVDMenuElement>> items;
        for (const auto& item : fake->items()) {
            auto original = std::dynamic_pointer_cast<FakeElement>(item);
            auto e = std::make_shared<FakeElement>();
            e->setStaticItem(original->staticItem());
            e->setRole(original->role());
            e->setJumpObject(original->jump());
            items.append(e);
        }
        copy->setItems(items);
        copy->setParent(fake->parent());
        copy->setAspectType(fake->aspectType());
        return copy;
    };
    hooks.buttonForButtonType = [](const DVDLibrary::MenuPtr& menu,
                                   const QString& role) -> DVDLibrary::ElementPtr {
        DVDLibrary::ElementPtr found;
        for (const auto& item : menu->items()) {
            auto e = std::dynamic_pointer_cast<FakeElement>(item);
            if (e && e->isButtonItem() && e->role().endsWith(role)) {
                found = e;
            }
        }
        return found;
    };
    DVDLibrary::setMenuTemplateHooks(hooks);
}

FakeTemplateHooks::~FakeTemplateHooks()
{
    DVDLibrary::setMenuTemplateHooks({});
}

void applyFlags(DVDLibrary& library, const QString& flags)
{
    for (const QString& flag : flags.split(',', Qt::SkipEmptyParts)) {
        const QString name = flag.trimmed();
        if (name.startsWith("autoPlayVideos=")) {
            library.setAutoPlayVideos(name.section('=', 1).toInt());
        } else if (!library.setValueForKey(true, name)) {
            qFatal("unknown flag %s", qPrintable(name));
        }
    }
}

Disc::Disc(qsizetype warningPosition)
{
    auto& o = objects;
    auto e0a = element();
    e0a->setJumpObject(e0a);
    auto e0b = element();
    auto e0c = staticElement();
    auto e0d = element();
    auto e0e = element();
    auto e1a = element();
    e1a->setJumpObject(e1a);
    auto e1b = element();
    auto s0a = element();
    s0a->setJumpObject(s0a);
    auto s1a = element();

    auto c00 = chapter(1.5, {e0a});
    auto c01 = chapter(1.5);
    auto c10 = chapter(1.0, {s0a});
    auto w0 = chapter(2.0);
    auto T0 = title({c00, c01});
    auto T1 = title({c10});
    auto R2 = std::make_shared<FakeResource>();
    auto T3 = title({});
    auto W = title({w0}, true);

    auto P0 = page({e0a, e0b, e0c, e0d, e0e});
    auto P1 = page({e1a, e1b});
    auto S0 = page({s0a}, e0b);
    auto S1 = page({s1a}, e0b);
    auto X = page({});
    auto E = page({});
    auto Q = std::make_shared<FakeResource>();
    auto Z = std::make_shared<Stranger>();

    e0b->setJumpObject(S0);
    e0d->setJumpObject(R2);
    e0e->setJumpObject(X);
    e1b->setJumpObject(T1);
    s1a->setJumpObject(P0);

    QList<ObjectPtr> titles{T0, T1, R2, T3};
    if (warningPosition >= 0) {
        titles.insert(warningPosition, W);
    }
    library->setTitles(titles);
    library->setMenus({P0, P1, S0, S1});

    o = {{"e0a", e0a}, {"e0b", e0b}, {"e0c", e0c}, {"e0d", e0d}, {"e0e", e0e}, {"e1a", e1a},
         {"e1b", e1b}, {"s0a", s0a}, {"s1a", s1a}, {"c00", c00}, {"c01", c01}, {"c10", c10},
         {"w0", w0},   {"T0", T0},   {"T1", T1},   {"R2", R2},   {"T3", T3},   {"W", W},
         {"P0", P0},   {"P1", P1},   {"S0", S0},   {"S1", S1},   {"X", X},     {"E", E},
         {"Q", Q},     {"Z", Z}};
}

ObjectPtr Disc::operator[](const QString& name) const
{
    if (name.isEmpty() || name == "nil") {
        return nullptr;
    }
    if (!objects.contains(name)) {
        qFatal("no object %s in the fixture disc", qPrintable(name));
    }
    return objects.value(name);
}

}  // namespace disctest
