#pragma once
// The application menu's set-up: every menu item (a QAction) carries the name
// of the action it stands for, its "selector" ("terminate:", "support:",
// "delete:" ...), so that items are found by what they do rather than by
// their titles. A Linux desktop has no application menu: its items stand in
// the menus where the desktop has them (About in Help, Quit in File).
//
// Main thread.

#include <QString>
#include <QUrl>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

class HelperExtention {
public:
    HelperExtention() = delete;

    // The selectors the set-up looks for.
    static inline const QString AboutSelector = QStringLiteral("orderFrontStandardAboutPanel:");
    static inline const QString HideSelector = QStringLiteral("hide:");
    static inline const QString QuitSelector = QStringLiteral("terminate:");
    static inline const QString SupportSelector = QStringLiteral("support:");
    static inline const QString ShowLogSelector = QStringLiteral("showLoggerFile");
    static inline const QString ShowLogTitle = QStringLiteral("Show Log File");

    // Tags an item with its selector, and reads the tag (empty for none).
    static void setSelector(QAction* item, const QString& selector);
    static QString selector(const QAction* item);

    // Depth-first: the items in order, an item's submenu searched before the
    // item itself; the first hit, or null.
    static QAction* findMenuItemBySelector(const QWidget* menu, const QString& selector);

    // Retitles the about, hide and quit items, in whatever menu they stand,
    // with the application's name, then sets up the updater and the support
    // menu.
    static void setupApp(QMenuBar* mainMenu, const QString& applicationName);
    // Inserts "Show Log File" (the shared log's showLoggerFile) directly
    // behind the first item whose selector is "support:", in that item's
    // menu. Nothing when there is none. Answers the new item.
    static QAction* setupSupportMenu(QMenuBar* mainMenu);
    // There is no updater: nothing to load.
    static void setupUpdate() {}

    // The product's support page and update address on its own host.
    static QUrl supportURL();
    static QUrl updateURL();
    // Whether the Alt key (the option key) is held now.
    static bool isOptionKeyDown();
};
