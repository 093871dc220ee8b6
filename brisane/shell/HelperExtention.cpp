#include "shell/HelperExtention.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

#include "shell/core/FileLogger.h"

namespace {

const char* const selectorProperty = "selector";

// The item found and the menu (or menu bar) holding it.
struct Hit {
    QAction* item = nullptr;
    QWidget* container = nullptr;
};

Hit findIn(QWidget* container, const QString& selector)
{
    if (!container) {
        return {};
    }
    const QList<QAction*> items = container->actions();
    for (QAction* item : items) {
        if (QMenu* submenu = item->menu()) {
            const Hit inside = findIn(submenu, selector);
            if (inside.item) {
                return inside;
            }
        }
        if (HelperExtention::selector(item) == selector) {
            return {item, container};
        }
    }
    return {};
}

// Every item with the selector, in any menu of the bar.
void retitle(QWidget* container, const QString& selector, const QString& format,
             const QString& name)
{
    for (QAction* item : container->actions()) {
        if (QMenu* submenu = item->menu()) {
            retitle(submenu, selector, format, name);
        } else if (HelperExtention::selector(item) == selector) {
            item->setText(format.arg(name));
        }
    }
}

}  // namespace

void HelperExtention::setSelector(QAction* item, const QString& selector)
{
    item->setProperty(selectorProperty, selector);
}

QString HelperExtention::selector(const QAction* item)
{
    return item ? item->property(selectorProperty).toString() : QString();
}

QAction* HelperExtention::findMenuItemBySelector(const QWidget* menu, const QString& selector)
{
    return findIn(const_cast<QWidget*>(menu), selector).item;
}

void HelperExtention::setupApp(QMenuBar* mainMenu, const QString& applicationName)
{
    if (mainMenu) {
        retitle(mainMenu, AboutSelector, QStringLiteral("About %1"), applicationName);
        retitle(mainMenu, HideSelector, QStringLiteral("Hide %1"), applicationName);
        retitle(mainMenu, QuitSelector, QStringLiteral("Quit %1"), applicationName);
    }
    setupUpdate();
    setupSupportMenu(mainMenu);
}

QAction* HelperExtention::setupSupportMenu(QMenuBar* mainMenu)
{
    const Hit support = findIn(mainMenu, SupportSelector);
    if (!support.item) {
        return nullptr;
    }
    auto* showLog = new QAction(ShowLogTitle, support.container);
    setSelector(showLog, ShowLogSelector);
    QObject::connect(showLog, &QAction::triggered, showLog,
                     [] { FileLogger::share().showLoggerFile(); });
    showLog->setEnabled(FileLogger::share().isLoggerAllowed());

    const QList<QAction*> items = support.container->actions();
    const qsizetype next = items.indexOf(support.item) + 1;
    support.container->insertAction(next < items.size() ? items.at(next) : nullptr, showLog);
    return showLog;
}

QUrl HelperExtention::supportURL()
{
    return QUrl(QStringLiteral("https://www.brisane.org/support"));
}

QUrl HelperExtention::updateURL()
{
    return QUrl(QStringLiteral("https://www.brisane.org/update/brisane"));
}

bool HelperExtention::isOptionKeyDown()
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
}
