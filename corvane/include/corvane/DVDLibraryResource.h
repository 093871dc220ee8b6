#pragma once
// The process's one store of menu template material: the button, frame and
// background resources and the template pages read from the template bundle
// "menu_template.plugin" (folders "buttons", "frames", "backgrounds",
// "menus"). The shared store is created and filled by the first share(),
// made on the main thread during launch, and only read afterwards; its
// picture lookup may be used from any thread.
//
// The bundle is looked up beside the executable first, then in the installed
// resource folder (named by the build's installed layout, relative to the
// executable's folder). Folder entries are taken in byte
// order of their names, skipping names that start with ".", so the lists are
// the same on every run and every file system. An entry that is not a
// regular file (a pipe, a device, a link to one) and a page that cannot be
// read or has no usable menu size are skipped with a log line; the rest of
// the bundle loads.

#include <QImage>
#include <QList>
#include <QString>
#include <memory>

#include "platform/Object.h"
#include "platform/Value.h"

class DVDLibraryButtonResource;
class DVDLibraryFrameResource;
class DVDMenuBackgroundResource;
class DVDMenu;
class DVDMenuItem;

class DVDLibraryResource : public Object {
public:
    using Buttons = QList<std::shared_ptr<DVDLibraryButtonResource>>;
    using Frames = QList<std::shared_ptr<DVDLibraryFrameResource>>;
    using Backgrounds = QList<std::shared_ptr<DVDMenuBackgroundResource>>;
    using Menus = QList<std::shared_ptr<DVDMenu>>;

    // The shared store; the first call creates it and loads the bundle.
    static std::shared_ptr<DVDLibraryResource> share();
    // Where the shared store looks for the bundle before anything else; for
    // tests and for running from a source tree. Affects later lookups only.
    static void setBundleSearchPath(const QString& bundlePath);

    // The current bundle layout is always read.
    bool loadNewTemplate() const { return true; }
    // The template bundle's folder, or empty when no bundle is found.
    QString resourcePath() const;
    // A picture read from the bundle by its relative path at every call; null
    // when there is no bundle or the file is missing or unreadable.
    QImage imageWithName(const QString& relativePath) const;

    // Fills the lists from the bundle.
    void load();
    // Replaces all four lists by the content of the bundle at `bundlePath`.
    void loadMenuResourceTemplate(const QString& bundlePath);
    // Reads the older layout ("Button", "Frame", "Menu" folders) under `rootPath`.
    void loadOldTemplate(const QString& rootPath);
    // Writes what is loaded as a current-layout bundle "menu_template.plugin"
    // inside `folder`. Answers the bundle's path, or empty on failure.
    QString saveMenuResourceTemplate(const QString& folder) const;

    const Buttons& buttons() const { return m_buttons; }
    void setButtons(const Buttons& buttons) { m_buttons = buttons; }
    const Frames& frames() const { return m_frames; }
    void setFrames(const Frames& frames) { m_frames = frames; }
    const Backgrounds& backgrounds() const { return m_backgrounds; }
    void setBackgrounds(const Backgrounds& backgrounds) { m_backgrounds = backgrounds; }
    const Menus& menus() const { return m_menus; }
    void setMenus(const Menus& menus) { m_menus = menus; }

    // Lookups by name or by the end of the relative path; the last match wins.
    std::shared_ptr<DVDLibraryFrameResource> frameResourceForPath(const QString& key) const;
    std::shared_ptr<DVDLibraryButtonResource> buttonResourceForPath(const QString& key) const;
    std::shared_ptr<DVDMenuBackgroundResource> backgroundResourceForPath(const QString& key) const;
    // The last resource whose path ends with `key` or whose name equals it;
    // null for an empty key.
    template <typename R>
    static std::shared_ptr<R> findResource(const QString& key,
                                           const QList<std::shared_ptr<R>>& list)
    {
        if (key.isEmpty()) {
            return nullptr;
        }
        for (auto it = list.crbegin(); it != list.crend(); ++it) {
            if (*it && ((*it)->path().endsWith(key) || (*it)->name() == key)) {
                return *it;
            }
        }
        return nullptr;
    }

    // The last template page with this identifier, or null.
    std::shared_ptr<DVDMenu> dvdMenuForIdentifier(const QString& identifier) const;
    // A template page chosen at random; null when no page is loaded.
    std::shared_ptr<DVDMenu> defaultMenu() const;

    // Hook for a template's text element data; does nothing.
    virtual void loadMenuTextItem(DVDMenuItem& item, const Value& info);
    // The writer's counterpart of loadMenuTextItem; answers null.
    virtual Value menuTextItemInfo(const DVDMenuItem& item) const;

private:
    // The page of a property-list file; null (logged) when the file cannot be
    // read as a page or its menu size is not a usable size.
    std::shared_ptr<DVDMenu> pageFromFile(const QString& fileName, const QString& path);
    std::shared_ptr<DVDMenuItem> elementFromDictionary(const Value::Dictionary& info);
    std::shared_ptr<DVDMenu> oldPageForSize(const DVDMenu& prototype, const Value::Dictionary& info,
                                            const QSizeF& size);

    Buttons m_buttons;
    Frames m_frames;
    Backgrounds m_backgrounds;
    Menus m_menus;
};
