#include "corvane/DVDLibrary.h"

#include <QDebug>
#include <QSet>

#include "corvane/DVDAuthorDocument.h"
#include "corvane/DVDChapterVideo.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuPage.h"
#include "corvane/DVDTitleResource.h"
#include "corvane/DVDTitleVideo.h"
#include "corvane/DVDToolLocator.h"
#include "corvane/DVDToolTask.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDLibrary)

namespace {

DVDLibrary::MenuTemplateHooks& hookStorage()
{
    static DVDLibrary::MenuTemplateHooks hooks;
    return hooks;
}

bool isPage(const ObjectPtr& object)
{
    return std::dynamic_pointer_cast<DVDMenuPage>(object) != nullptr;
}

bool isTitle(const ObjectPtr& object)
{
    return std::dynamic_pointer_cast<DVDTitleResource>(object) ||
           std::dynamic_pointer_cast<DVDTitleVideo>(object);
}

}  // namespace

void DVDLibrary::setMenuTemplateHooks(MenuTemplateHooks hooks)
{
    hookStorage() = std::move(hooks);
}

const DVDLibrary::MenuTemplateHooks& DVDLibrary::menuTemplateHooks()
{
    return hookStorage();
}

// ---- archiving

const PropertyTable& DVDLibrary::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("currentMenu", &DVDLibrary::currentMenu, &DVDLibrary::setCurrentMenu)
            .add("menus", &DVDLibrary::menus, &DVDLibrary::setMenus)
            .add("titles", &DVDLibrary::titles, &DVDLibrary::setTitles)
            .add("noMenu", &DVDLibrary::noMenu, &DVDLibrary::setNoMenu)
            .add("autoMenus", &DVDLibrary::autoMenus, &DVDLibrary::setAutoMenus)
            .add("aspectType", &DVDLibrary::aspectType, &DVDLibrary::setAspectType)
            .add("format", &DVDLibrary::format, &DVDLibrary::setFormat)
            .add("dvdBitrate", &DVDLibrary::dvdBitrate, &DVDLibrary::setDvdBitrate)
            .add("playFirstTitle", &DVDLibrary::playFirstTitle, &DVDLibrary::setPlayFirstTitle)
            .add("playTitleSequence", &DVDLibrary::playTitleSequence,
                 &DVDLibrary::setPlayTitleSequence)
            .add("menuLoop", &DVDLibrary::menuLoop, &DVDLibrary::setMenuLoop)
            .add("loopVideo", &DVDLibrary::loopVideo, &DVDLibrary::setLoopVideo)
            .add("customDataStorage", &DVDLibrary::customDataStorage,
                 &DVDLibrary::setCustomDataStorage)
            .add("autoPlayVideos", &DVDLibrary::autoPlayVideos, &DVDLibrary::setAutoPlayVideos)
            .add("loopAutoPlayVideos", &DVDLibrary::loopAutoPlayVideos,
                 &DVDLibrary::setLoopAutoPlayVideos)
            .add("menuAutoJumpVideo", &DVDLibrary::menuAutoJumpVideo,
                 &DVDLibrary::setMenuAutoJumpVideo)
            .add("loopSingleVideo", &DVDLibrary::loopSingleVideo, &DVDLibrary::setLoopSingleVideo);
    return table;
}

QStringList DVDLibrary::allCoderKeys() const
{
    return {"currentMenu",
            "menus",
            "titles",
            "noMenu",
            "aspectType",
            "format",
            "dvdBitrate",
            "playFirstTitle",
            "playTitleSequence",
            "menuLoop",
            "loopVideo",
            "customDataStorage",
            "autoPlayVideos",
            "loopAutoPlayVideos",
            "menuAutoJumpVideo",
            "loopSingleVideo"};
}

// ---- sizes and custom data

QSizeF DVDLibrary::menuSizeForMenu(const MenuPtr& menu)
{
    return (menu && menu->aspectType() != 0) ? QSizeF(854, 480) : QSizeF(640, 480);
}

QSize DVDLibrary::dvdVideoSize() const
{
    return m_format == 1 ? QSize(720, 576) : QSize(720, 480);
}

QSize DVDLibrary::dvdVideoTimebase() const
{
    return m_format == 1 ? QSize(1, 25) : QSize(1001, 30000);
}

void DVDLibrary::setObject(const Value& value, const QString& key)
{
    Value::Dictionary data = m_customDataStorage;
    if (value.isNull()) {
        data.remove(key);
    } else {
        data.insert(key, value);
    }
    m_customDataStorage = data;
}

Value DVDLibrary::objectForKey(const QString& key) const
{
    return m_customDataStorage.value(key);
}

// ---- chapter and title queries

DVDLibrary::TitleVideoPtr DVDLibrary::getTitleForChapter(const ChapterPtr& chapter) const
{
    for (const auto& object : m_titles) {
        auto title = std::dynamic_pointer_cast<DVDTitleVideo>(object);
        if (title && chapter && title->chapters().contains(chapter)) {
            return title;
        }
    }
    return nullptr;
}

QList<DVDLibrary::ChapterPtr> DVDLibrary::getChaptersForItem(const ElementPtr& element) const
{
    QList<ChapterPtr> found;
    if (!element) {
        return found;
    }
    for (const auto& object : m_titles) {
        auto title = std::dynamic_pointer_cast<DVDTitleVideo>(object);
        if (!title) {
            continue;
        }
        for (const auto& chapter : title->chapters()) {
            if (chapter && chapter->titles().contains(element)) {
                found.append(chapter);
            }
        }
    }
    return found;
}

bool DVDLibrary::isWarning(const ObjectPtr& title)
{
    auto video = std::dynamic_pointer_cast<DVDTitleVideo>(title);
    return video && video->isWarningVideo();
}

QList<ObjectPtr> DVDLibrary::getAllNormalTitles() const
{
    QList<ObjectPtr> normal;
    for (const auto& title : m_titles) {
        if (title && !isWarning(title)) {
            normal.append(title);
        }
    }
    return normal;
}

ObjectPtr DVDLibrary::getWarningTitle() const
{
    for (auto it = m_titles.crbegin(); it != m_titles.crend(); ++it) {
        if (isWarning(*it)) {
            return *it;
        }
    }
    return nullptr;
}

DVDLibrary::MenuPtr DVDLibrary::getFirstMenu() const
{
    return m_menus.isEmpty() ? nullptr : m_menus.first();
}

qint64 DVDLibrary::indexOfMenu(const MenuPtr& menu) const
{
    const qsizetype index = menu ? m_menus.indexOf(menu) : -1;
    return index < 0 ? NotFound : index;
}

DVDLibrary::MenuPtr DVDLibrary::menuForItem(const ElementPtr& element) const
{
    if (!element) {
        return nullptr;
    }
    for (const auto& menu : m_menus) {
        if (menu && menu->items().contains(element)) {
            return menu;
        }
    }
    return nullptr;
}

QList<DVDLibrary::MenuPtr> DVDLibrary::submenusForMenuItem(const ElementPtr& element) const
{
    QList<MenuPtr> pages;
    for (const auto& menu : m_menus) {
        if (menu && menu->parent() == element) {
            pages.append(menu);
        }
    }
    return pages;
}

QList<DVDLibrary::MenuPtr> DVDLibrary::submenusForMenu(const MenuPtr& menu) const
{
    QList<MenuPtr> below;
    QSet<const DVDMenuPage*> seen{menu.get()};
    appendSubmenus(menu, seen, below);
    return below;
}

void DVDLibrary::appendSubmenus(const MenuPtr& menu, QSet<const DVDMenuPage*>& seen,
                                QList<MenuPtr>& below) const
{
    if (!menu) {
        return;
    }
    QList<MenuPtr> direct;
    for (const auto& element : menu->items()) {
        for (const auto& sub : submenusForMenuItem(element)) {
            if (!seen.contains(sub.get())) {
                seen.insert(sub.get());
                direct.append(sub);
            }
        }
    }
    below += direct;
    for (const auto& sub : direct) {
        appendSubmenus(sub, seen, below);
    }
}

// ---- navigation

ObjectPtr DVDLibrary::getJumpObjForMenuElement(const ElementPtr& element) const
{
    const ObjectPtr target = element ? element->jump() : nullptr;
    if (!target) {
        return nullptr;
    }
    if (std::dynamic_pointer_cast<DVDTitleResource>(target) || isPage(target)) {
        return target;
    }
    const auto chapters = getChaptersForItem(element);
    return chapters.isEmpty() ? nullptr : chapters.first();
}

ObjectPtr DVDLibrary::jumpForActionItem(const ObjectPtr& item) const
{
    if (!item) {
        if (m_noMenu || m_playFirstTitle) {
            const auto normal = getAllNormalTitles();
            return normal.isEmpty() ? nullptr : normal.first();
        }
        return getFirstMenu();
    }
    if (auto menu = std::dynamic_pointer_cast<DVDMenuPage>(item)) {
        return jumpForMenu(menu);
    }
    if (auto element = std::dynamic_pointer_cast<DVDMenuElement>(item)) {
        return getJumpObjForMenuElement(element);
    }
    if (std::dynamic_pointer_cast<DVDChapterVideo>(item)) {
        return nullptr;
    }
    if (isTitle(item)) {
        return firstChapterOrSelf(jumpForTitle(item));
    }
    return nullptr;
}

ObjectPtr DVDLibrary::jumpForMenu(const MenuPtr& menu) const
{
    if (m_menuAutoJumpVideo) {
        const auto items = menu->items();
        return items.isEmpty() ? nullptr : getJumpObjForMenuElement(items.first());
    }
    if (m_menuLoop) {
        return menu;
    }
    const auto siblings = submenusForMenuItem(menu->parent());
    const qsizetype index = siblings.indexOf(menu);
    if (index >= 0 && index + 1 < siblings.size()) {
        return siblings.at(index + 1);
    }
    return siblings.isEmpty() ? nullptr : siblings.first();
}

qint64 DVDLibrary::indexOfNormalTitle(const ObjectPtr& title, const QList<ObjectPtr>& normal) const
{
    const qsizetype index = title ? normal.indexOf(title) : -1;
    return index < 0 ? NotFound : index;
}

ObjectPtr DVDLibrary::jumpForTitle(const ObjectPtr& title) const
{
    if (m_loopSingleVideo) {
        return title;
    }
    const auto normal = getAllNormalTitles();
    const qint64 i = indexOfNormalTitle(title, normal);
    if (i != NotFound && i + 1 < normal.size()) {
        return (m_playTitleSequence || m_noMenu) ? normal.at(i + 1) : nullptr;
    }
    if ((m_playTitleSequence && m_loopVideo) || m_noMenu) {
        return normal.isEmpty() ? nullptr : normal.first();
    }
    return nullptr;
}

ObjectPtr DVDLibrary::firstChapterOrSelf(const ObjectPtr& next)
{
    if (auto title = std::dynamic_pointer_cast<DVDTitleVideo>(next)) {
        const auto chapters = title->chapters();
        return chapters.isEmpty() ? nullptr : chapters.first();
    }
    return next;
}

ObjectPtr DVDLibrary::jumpForAutoPlayVideoPostItem(const ObjectPtr& title) const
{
    const auto normal = getAllNormalTitles();
    const qint64 i = indexOfNormalTitle(title, normal);
    // The count is widened with its sign and compared unsigned, so a negative
    // count admits every position.
    const auto limit = static_cast<quint64>(static_cast<qint64>(m_autoPlayVideos));
    ObjectPtr next;
    if (i != NotFound && i + 1 < normal.size() && static_cast<quint64>(i + 1) < limit) {
        next = normal.at(i + 1);
    } else if (m_loopAutoPlayVideos && !normal.isEmpty()) {
        next = normal.first();
    }
    return firstChapterOrSelf(next);
}

// ---- automatic menus

void DVDLibrary::updateDVDMenu()
{
    if (m_autoMenus && !m_noMenu) {
        updateDVDMenus();
    }
    updateDVDMenuTitleSize();
    updateDVDMenuJump(nullptr);
}

DVDLibrary::MenuPtr DVDLibrary::nextMenuForAutoMenus(qsizetype position) const
{
    if (position < m_menus.size()) {
        return m_menus.at(position);
    }
    const auto& copyMenu = menuTemplateHooks().copyMenu;
    if (!m_currentMenu || !copyMenu) {
        return nullptr;
    }
    return copyMenu(m_currentMenu);
}

void DVDLibrary::updateDVDMenus()
{
    QList<MenuPtr> walked;
    qsizetype nextTitle = 0;
    for (qsizetype position = 0; nextTitle < m_titles.size(); ++position) {
        const MenuPtr page = nextMenuForAutoMenus(position);
        if (!page) {
            qWarning() << "DVDLibrary: no page left for" << m_titles.size() - nextTitle << "titles";
            break;
        }
        const qsizetype placedBefore = nextTitle;
        for (const auto& element : page->items()) {
            if (!element || element->isStaticItem() || element->isButtonItem()) {
                continue;
            }
            const ObjectPtr title = nextTitle < m_titles.size() ? m_titles.at(nextTitle) : nullptr;
            updateMenuElement(element, title);
            if (title) {
                ++nextTitle;
            }
        }
        // A copied page without a place for a title would be copied forever.
        if (position >= m_menus.size() && nextTitle == placedBefore) {
            qWarning() << "DVDLibrary: the template page has no place for a title";
            break;
        }
        walked.append(page);
    }
    m_menus = walked;
}

void DVDLibrary::updateDVDMenuTitleSize()
{
    const QSizeF size = m_aspectType != 0 ? QSizeF(854, 480) : QSizeF(640, 480);
    for (const auto& object : m_titles) {
        if (auto resource = std::dynamic_pointer_cast<DVDTitleResource>(object)) {
            resource->setVideoSize(size);
        }
    }
}

ObjectPtr DVDLibrary::menuPlayJump(const MenuPtr& menu)
{
    if (const auto& hook = menuTemplateHooks().menuPlayJump) {
        return hook(menu);
    }
    for (const auto& element : menu->items()) {
        const ObjectPtr target = element ? element->jump() : nullptr;
        if (target && !isPage(target)) {
            return target;
        }
    }
    return nullptr;
}

void DVDLibrary::updateDVDMenuJump(const ElementPtr& element)
{
    QSet<const DVDMenuPage*> visited;
    updateDVDMenuJump(element, visited);
}

void DVDLibrary::updateDVDMenuJump(const ElementPtr& element, QSet<const DVDMenuPage*>& visited)
{
    const auto pages = submenusForMenuItem(element);
    if (pages.isEmpty()) {
        return;
    }
    updateMenuElement(element, pages.first());
    const auto& buttonFor = menuTemplateHooks().buttonForButtonType;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const MenuPtr& page = pages.at(i);
        if (buttonFor) {
            const MenuPtr next = i + 1 < pages.size() ? pages.at(i + 1) : nullptr;
            const MenuPtr previous = i > 0 ? pages.at(i - 1) : menuForItem(element);
            updateMenuElement(buttonFor(page, QStringLiteral("next")), next);
            updateMenuElement(buttonFor(page, QStringLiteral("pre")), previous);
            updateMenuElement(buttonFor(page, QStringLiteral("play")), menuPlayJump(page));
        }
        // Parent links that form a circle must not recurse for ever.
        if (visited.contains(page.get())) {
            continue;
        }
        visited.insert(page.get());
        for (const auto& child : page->items()) {
            if (child) {
                updateDVDMenuJump(child, visited);
            }
        }
    }
}

void DVDLibrary::deleteDVDMenu(const MenuPtr& menu)
{
    if (!menu) {
        return;
    }
    updateMenuElement(menu->parent(), nullptr);
    QList<MenuPtr> removed{menu};
    removed += submenusForMenu(menu);
    for (const auto& page : removed) {
        for (const auto& element : page->items()) {
            updateMenuElement(element, nullptr);
        }
    }
    m_menus.removeIf([&removed](const MenuPtr& page) { return removed.contains(page); });
}

void DVDLibrary::updateMenuElement(const ElementPtr& element, const ObjectPtr& jump)
{
    if (element) {
        element->setJump(jump);
    }
}

// ---- the dvdauthor description

QString DVDLibrary::authorContent() const
{
    return DVDAuthorDocument(*this).document();
}

QString DVDLibrary::actionForDVDElement(const ObjectPtr& item) const
{
    return DVDAuthorDocument(*this).commandFor(item);
}

QString DVDLibrary::actionForJumpButton(const ElementPtr& element) const
{
    return actionForDVDElement(jumpForActionItem(element));
}

QString DVDLibrary::actionForMenuPostItem(const MenuPtr& menu) const
{
    return actionForDVDElement(jumpForActionItem(menu));
}

QString DVDLibrary::actionForChapterVideo(const ChapterPtr&) const
{
    return actionForDVDElement(nullptr);
}

QString DVDLibrary::actionForTitlePostJump(const ObjectPtr& next) const
{
    return DVDAuthorDocument(*this).titleEndCommand(next);
}

// ---- tool runs

std::shared_ptr<DVDToolTask> DVDLibrary::taskCurrentArguments(const QString& tool,
                                                              const QString& folder,
                                                              const QStringList& arguments) const
{
    auto task = std::make_shared<DVDToolTask>();
    task->setLaunchPath(DVDToolLocator::pathForTool(tool));
    task->setArguments(arguments);
    task->setCurrentDirectoryPath(folder);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("VIDEO_FORMAT"),
                       m_format == 1 ? QStringLiteral("PAL") : QStringLiteral("NTSC"));
    task->setEnvironment(environment);
    return task;
}
