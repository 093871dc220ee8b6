#pragma once
// Corvane's model of one disc: the ordered menu pages, the ordered titles,
// the play-mode flags, the aspect and the TV format, and the navigation rules
// derived from them (what plays after a menu, a button, a title). The preview
// player and the dvdauthor description both follow jumpForActionItem, so the
// two always agree.
//
// Menu position k (from 0) is DVD menu k+1 and title position k is DVD title
// k+1. Pages, elements, titles and chapters are the caller's objects, seen
// only through DVDMenuPage, DVDMenuElement, DVDTitleVideo, DVDChapterVideo and
// DVDTitleResource and found by identity. A library is built on one thread and
// then only read; nothing in it locks.
//
// Archived by key list (see allCoderKeys); `autoMenus` is not archived.

#include <QList>
#include <QSet>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <functional>
#include <limits>
#include <memory>

#include "platform/Object.h"

class DVDChapterVideo;
class DVDMenuElement;
class DVDMenuPage;
class DVDTitleVideo;
class DVDToolTask;

class DVDLibrary : public Object {
public:
    using MenuPtr = std::shared_ptr<DVDMenuPage>;
    using ElementPtr = std::shared_ptr<DVDMenuElement>;
    using ChapterPtr = std::shared_ptr<DVDChapterVideo>;
    using TitleVideoPtr = std::shared_ptr<DVDTitleVideo>;

    // A position that is not there; printed as such where a position is printed.
    static constexpr qint64 NotFound = std::numeric_limits<qint64>::max();

    // What the automatic menu operation needs of a template page beyond
    // DVDMenuPage. The template library installs these; each may be empty.
    struct MenuTemplateHooks {
        // A new page copied from `page` (elements copied, background, music and
        // parent shared); null when it cannot be copied.
        std::function<MenuPtr(const MenuPtr& page)> copyMenu;
        // The page's button for a role ("play", "pre", "next"); null for none.
        std::function<ElementPtr(const MenuPtr& page, const QString& role)> buttonForButtonType;
        // The page's own play target. When empty, the first target of the
        // page's elements that is set and is not a menu page.
        std::function<ObjectPtr(const MenuPtr& page)> menuPlayJump;
    };
    // Process-wide; install once at start-up, before any library uses them.
    static void setMenuTemplateHooks(MenuTemplateHooks hooks);
    static const MenuTemplateHooks& menuTemplateHooks();

    DVDLibrary() = default;

    // Properties (a new library has every value null, false or 0).
    MenuPtr currentMenu() const { return m_currentMenu; }
    void setCurrentMenu(const MenuPtr& menu) { m_currentMenu = menu; }
    const QList<MenuPtr>& menus() const { return m_menus; }
    void setMenus(const QList<MenuPtr>& menus) { m_menus = menus; }
    // Title video objects, title resources, or (navigation ignores them) anything else.
    const QList<ObjectPtr>& titles() const { return m_titles; }
    void setTitles(const QList<ObjectPtr>& titles) { m_titles = titles; }
    bool noMenu() const { return m_noMenu; }
    void setNoMenu(bool on) { m_noMenu = on; }
    bool autoMenus() const { return m_autoMenus; }
    void setAutoMenus(bool on) { m_autoMenus = on; }
    // 1 = 16:9 in the dvdauthor description, 0 = 4:3; non-zero selects the wide canvas.
    qint64 aspectType() const { return m_aspectType; }
    void setAspectType(qint64 type) { m_aspectType = type; }
    // 1 = PAL, anything else NTSC.
    qint64 format() const { return m_format; }
    void setFormat(qint64 format) { m_format = format; }
    // Stored for the caller, in kbit/s; not read here.
    qint64 dvdBitrate() const { return m_dvdBitrate; }
    void setDvdBitrate(qint64 bitrate) { m_dvdBitrate = bitrate; }
    bool playFirstTitle() const { return m_playFirstTitle; }
    void setPlayFirstTitle(bool on) { m_playFirstTitle = on; }
    bool playTitleSequence() const { return m_playTitleSequence; }
    void setPlayTitleSequence(bool on) { m_playTitleSequence = on; }
    bool menuLoop() const { return m_menuLoop; }
    void setMenuLoop(bool on) { m_menuLoop = on; }
    bool loopVideo() const { return m_loopVideo; }
    void setLoopVideo(bool on) { m_loopVideo = on; }
    const Value::Dictionary& customDataStorage() const { return m_customDataStorage; }
    void setCustomDataStorage(const Value::Dictionary& data) { m_customDataStorage = data; }
    // How many leading normal titles form the auto-play chain; a negative
    // value admits every title.
    qint32 autoPlayVideos() const { return m_autoPlayVideos; }
    void setAutoPlayVideos(qint32 count) { m_autoPlayVideos = count; }
    bool loopAutoPlayVideos() const { return m_loopAutoPlayVideos; }
    void setLoopAutoPlayVideos(bool on) { m_loopAutoPlayVideos = on; }
    bool menuAutoJumpVideo() const { return m_menuAutoJumpVideo; }
    void setMenuAutoJumpVideo(bool on) { m_menuAutoJumpVideo = on; }
    bool loopSingleVideo() const { return m_loopSingleVideo; }
    void setLoopSingleVideo(bool on) { m_loopSingleVideo = on; }

    // Archiving.
    static const PropertyTable& properties();
    const PropertyTable& propertyTable() const override { return properties(); }
    QStringList allCoderKeys() const override;

    // Sizes. 854 x 480 for a page with a non-zero aspect type, 640 x 480 for 0
    // (and for no page).
    static QSizeF menuSizeForMenu(const MenuPtr& menu);
    // 720 x 576 for PAL, 720 x 480 for NTSC.
    QSize dvdVideoSize() const;
    // Frame duration as numerator (width) / denominator (height).
    QSize dvdVideoTimebase() const;

    // Custom data: a null value removes the key.
    void setObject(const Value& value, const QString& key);
    Value objectForKey(const QString& key) const;

    // Chapter and title queries.
    TitleVideoPtr getTitleForChapter(const ChapterPtr& chapter) const;
    QList<ChapterPtr> getChaptersForItem(const ElementPtr& element) const;
    QList<ObjectPtr> getAllNormalTitles() const;
    ObjectPtr getWarningTitle() const;
    MenuPtr getFirstMenu() const;
    qint64 indexOfMenu(const MenuPtr& menu) const;
    MenuPtr menuForItem(const ElementPtr& element) const;
    // The pages whose parent is that very element; for null, the top-level pages.
    QList<MenuPtr> submenusForMenuItem(const ElementPtr& element) const;
    // Every page below a page: the sub pages of each of its elements in
    // element order, then, for each of those in turn, its own pages below.
    // A page is listed once, so parent links that form a circle end.
    QList<MenuPtr> submenusForMenu(const MenuPtr& menu) const;

    // Navigation.
    ObjectPtr getJumpObjForMenuElement(const ElementPtr& element) const;
    // What follows an object: null stands for the start of the disc. For a
    // title, null means a return to the menus.
    ObjectPtr jumpForActionItem(const ObjectPtr& item) const;
    // What follows a title inside the auto-play chain.
    ObjectPtr jumpForAutoPlayVideoPostItem(const ObjectPtr& title) const;

    // Automatic menus. Targets are set only on elements that take them
    // (DVDMenuElement::setJump).
    // updateDVDMenus (when autoMenus and not noMenu), then the two below.
    void updateDVDMenu();
    // Deals the titles in order to the elements that are neither static nor
    // buttons, over the existing pages and then copies of currentMenu (through
    // the copyMenu hook); stops once every title is placed, or when a copy
    // places none. `menus` becomes the pages used.
    void updateDVDMenus();
    // Gives every title resource the canvas size of `aspectType`.
    void updateDVDMenuTitleSize();
    // For an element with sub pages (null: the top-level pages): the element
    // leads to the first, each page's "next"/"pre" buttons to its neighbours
    // (the first "pre" to the page holding the element), its "play" button to
    // the page's play target; then the same for every element of those pages.
    void updateDVDMenuJump(const ElementPtr& element);
    // Clears the targets leading into the page and of every element on it and
    // below it, and removes those pages.
    void deleteDVDMenu(const MenuPtr& menu);

    // The dvdauthor description and its virtual-machine commands.
    QString authorContent() const;
    QString actionForDVDElement(const ObjectPtr& item) const;
    QString actionForJumpButton(const ElementPtr& element) const;
    QString actionForMenuPostItem(const MenuPtr& menu) const;
    QString actionForChapterVideo(const ChapterPtr& chapter) const;
    QString actionForTitlePostJump(const ObjectPtr& next) const;

    // A new, not yet launched run of `tool` (dvdauthor or spumux, found by
    // DVDToolLocator) in `folder` with `arguments`. Its environment is exactly
    // one variable, VIDEO_FORMAT: "PAL" when `format` is 1, else "NTSC".
    std::shared_ptr<DVDToolTask> taskCurrentArguments(const QString& tool, const QString& folder,
                                                      const QStringList& arguments) const;

private:
    static bool isWarning(const ObjectPtr& title);
    static ObjectPtr firstChapterOrSelf(const ObjectPtr& next);
    ObjectPtr jumpForMenu(const MenuPtr& menu) const;
    ObjectPtr jumpForTitle(const ObjectPtr& title) const;
    qint64 indexOfNormalTitle(const ObjectPtr& title, const QList<ObjectPtr>& normal) const;
    MenuPtr nextMenuForAutoMenus(qsizetype position) const;
    static ObjectPtr menuPlayJump(const MenuPtr& menu);
    static void updateMenuElement(const ElementPtr& element, const ObjectPtr& jump);
    void updateDVDMenuJump(const ElementPtr& element, QSet<const DVDMenuPage*>& visited);
    void appendSubmenus(const MenuPtr& menu, QSet<const DVDMenuPage*>& seen,
                        QList<MenuPtr>& below) const;

    MenuPtr m_currentMenu;
    QList<MenuPtr> m_menus;
    QList<ObjectPtr> m_titles;
    bool m_noMenu = false;
    bool m_autoMenus = false;
    qint64 m_aspectType = 0;
    qint64 m_format = 0;
    qint64 m_dvdBitrate = 0;
    bool m_playFirstTitle = false;
    bool m_playTitleSequence = false;
    bool m_menuLoop = false;
    bool m_loopVideo = false;
    Value::Dictionary m_customDataStorage;
    qint32 m_autoPlayVideos = 0;
    bool m_loopAutoPlayVideos = false;
    bool m_menuAutoJumpVideo = false;
    bool m_loopSingleVideo = false;
};
