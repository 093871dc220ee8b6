#include "corvane/DVDLibraryResource.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cmath>
#include <mutex>

#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "corvane/DVDMenu.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "corvane/DVDMenuItem.h"
#include "platform/BoundedFile.h"
#include "platform/BoundedImage.h"
#include "platform/GeometryStrings.h"
#include "platform/Numeric.h"
#include "platform/PropertyList.h"

namespace {

const QString bundleName = QStringLiteral("menu_template.plugin");

QMutex searchPathLock;
QString searchPath;  // guarded by searchPathLock

// The folder's entries in byte order of their names, without hidden ones.
QStringList entriesOf(const QString& folder, QDir::Filters filters = QDir::Files)
{
    QDir dir(folder);
    if (!dir.exists()) {
        return {};
    }
    QStringList names = dir.entryList(filters | QDir::NoDotAndDotDot, QDir::NoSort);
    names.removeIf([](const QString& name) { return name.startsWith(u'.'); });
    if (filters & QDir::Files) {
        // A pipe, a device or a link to one is no resource: skipped, the rest stays.
        names.removeIf([&dir](const QString& name) {
            QString error;
            if (BoundedFile::isRegularFile(dir.filePath(name), &error)) {
                return false;
            }
            qWarning().noquote() << "Template bundle: skipping" << dir.filePath(name) << ":"
                                 << error;
            return true;
        });
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
    return names;
}

// A page canvas the menu drawing can make: positive, finite and no larger
// than any disc picture needs.
bool isSaneMenuSize(const QSizeF& size)
{
    constexpr double Largest = 4096.0;
    return std::isfinite(size.width()) && std::isfinite(size.height()) && size.width() >= 1.0 &&
           size.height() >= 1.0 && size.width() <= Largest && size.height() <= Largest;
}

QString baseName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;
}

QString stringIn(const Value::Dictionary& info, const QString& key)
{
    return info.value(key).toString().value_or(QString());
}

double doubleIn(const Value::Dictionary& info, const QString& key)
{
    return info.value(key).toDouble().value_or(0.0);
}

QString join(const QString& folder, const QString& relative)
{
    return QDir(folder).filePath(relative);
}

}  // namespace

std::shared_ptr<DVDLibraryResource> DVDLibraryResource::share()
{
    static std::shared_ptr<DVDLibraryResource> store;
    static std::once_flag once;
    std::call_once(once, [] {
        store = std::make_shared<DVDLibraryResource>();
        store->load();
    });
    return store;
}

void DVDLibraryResource::setBundleSearchPath(const QString& bundlePath)
{
    QMutexLocker locker(&searchPathLock);
    searchPath = bundlePath;
}

QString DVDLibraryResource::resourcePath() const
{
    QStringList candidates;
    {
        QMutexLocker locker(&searchPathLock);
        if (!searchPath.isEmpty()) {
            candidates << searchPath;
        }
    }
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (!executableFolder.isEmpty()) {
        candidates << join(executableFolder, bundleName)
                   << QDir::cleanPath(executableFolder + QLatin1Char('/') +
                                      QStringLiteral(BRISANE_RESOURCES_FROM_PROGRAM) +
                                      QLatin1Char('/') + bundleName);
    }
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isDir()) {
            return QDir(candidate).absolutePath();
        }
    }
    return QString();
}

QImage DVDLibraryResource::imageWithName(const QString& relativePath) const
{
    const QString root = resourcePath();
    if (root.isEmpty() || relativePath.isEmpty()) {
        return QImage();
    }
    return BoundedImage::read(join(root, relativePath));
}

void DVDLibraryResource::load()
{
    if (loadNewTemplate()) {
        loadMenuResourceTemplate(resourcePath());
    } else {
        loadOldTemplate(resourcePath());
    }
}

void DVDLibraryResource::loadMenuResourceTemplate(const QString& bundlePath)
{
    m_buttons.clear();
    m_frames.clear();
    m_backgrounds.clear();
    m_menus.clear();
    if (bundlePath.isEmpty()) {
        return;
    }
    for (const QString& entry : entriesOf(join(bundlePath, QStringLiteral("buttons")))) {
        auto button = std::make_shared<DVDLibraryButtonResource>();
        button->setPath(QStringLiteral("buttons/%1").arg(entry));
        button->setName(baseName(entry));
        m_buttons.append(button);
    }
    for (const QString& entry : entriesOf(join(bundlePath, QStringLiteral("frames")))) {
        if (!entry.endsWith(QStringLiteral("-frame.png"))) {
            continue;
        }
        const QString name = entry.section(u'-', 0, 0);
        auto frame = std::make_shared<DVDLibraryFrameResource>();
        frame->setName(name);
        frame->setFrame(QStringLiteral("frames/%1-frame.png").arg(name));
        frame->setMask(QStringLiteral("frames/%1-mask.png").arg(name));
        m_frames.append(frame);
    }
    for (const QString& entry : entriesOf(join(bundlePath, QStringLiteral("backgrounds")))) {
        auto background = std::make_shared<DVDMenuBackgroundResource>();
        background->setIsResource(true);
        background->setName(baseName(entry));
        background->setPath(QStringLiteral("backgrounds/%1").arg(entry));
        m_backgrounds.append(background);
    }
    const QString menusFolder = join(bundlePath, QStringLiteral("menus"));
    for (const QString& entry : entriesOf(menusFolder)) {
        if (auto page = pageFromFile(entry, join(menusFolder, entry))) {
            m_menus.append(page);
        }
    }
}

std::shared_ptr<DVDMenu> DVDLibraryResource::pageFromFile(const QString& fileName,
                                                          const QString& path)
{
    auto page = std::make_shared<DVDMenu>();
    page->setBackgroundImageDrawMode(1);
    QString name = baseName(fileName);
    if (name.size() >= 3) {
        name.chop(2);  // the identifier's aspect suffix, "-0" or "-1"
    }
    page->setName(name);

    QString error;
    const std::optional<Value> root = PropertyList::read(path, &error);
    if (!root || !root->isDictionary()) {
        qWarning().noquote() << "Template bundle: skipping the page" << path << ":"
                             << (root ? QStringLiteral("not a dictionary") : error);
        return nullptr;
    }
    const Value::Dictionary& info = root->dictionary();
    page->setMenuSizeObject(stringIn(info, QStringLiteral("menuSize")));
    if (!isSaneMenuSize(page->menuSize())) {
        qWarning().noquote() << "Template bundle: skipping the page" << path
                             << ": its menu size is not a usable size";
        return nullptr;
    }
    page->setBackgroundImageRectObject(stringIn(info, QStringLiteral("backgroundImageRect")));
    page->setBackgroundResource(
        backgroundResourceForPath(stringIn(info, QStringLiteral("bgName"))));
    QList<std::shared_ptr<DVDMenuElement>> elements;
    for (const Value& item : info.value(QStringLiteral("items")).array()) {
        if (item.isDictionary()) {
            elements.append(elementFromDictionary(item.dictionary()));
        }
    }
    page->setItems(elements);
    return page;
}

std::shared_ptr<DVDMenuItem> DVDLibraryResource::elementFromDictionary(
    const Value::Dictionary& info)
{
    auto element = std::make_shared<DVDMenuItem>();
    element->setFrame(rectFromString(stringIn(info, QStringLiteral("frame"))));
    element->setRotation(doubleIn(info, QStringLiteral("rotation")));
    element->setLevel(saturatingCast<int>(doubleIn(info, QStringLiteral("level"))));
    if (info.value(QStringLiteral("itemBehind")).toBool().value_or(false)) {
        element->setLevel(DVDMenuItem::behindLevel);
    }
    element->setFrameResource(frameResourceForPath(stringIn(info, QStringLiteral("frameName"))));
    element->setButtonResource(buttonResourceForPath(stringIn(info, QStringLiteral("buttonName"))));
    if (info.contains(QStringLiteral("textInfo"))) {
        loadMenuTextItem(*element, info.value(QStringLiteral("textInfo")));
    }
    return element;
}

std::shared_ptr<DVDLibraryFrameResource> DVDLibraryResource::frameResourceForPath(
    const QString& key) const
{
    return findResource(key, m_frames);
}

std::shared_ptr<DVDLibraryButtonResource> DVDLibraryResource::buttonResourceForPath(
    const QString& key) const
{
    return findResource(key, m_buttons);
}

std::shared_ptr<DVDMenuBackgroundResource> DVDLibraryResource::backgroundResourceForPath(
    const QString& key) const
{
    return findResource(key, m_backgrounds);
}

std::shared_ptr<DVDMenu> DVDLibraryResource::dvdMenuForIdentifier(const QString& identifier) const
{
    for (auto it = m_menus.crbegin(); it != m_menus.crend(); ++it) {
        if (*it && (*it)->identifier() == identifier) {
            return *it;
        }
    }
    return nullptr;
}

std::shared_ptr<DVDMenu> DVDLibraryResource::defaultMenu() const
{
    if (m_menus.isEmpty()) {
        return nullptr;
    }
    const auto count = static_cast<quint64>(m_menus.size());
    return m_menus.at(static_cast<qsizetype>(QRandomGenerator::global()->bounded(count)));
}

void DVDLibraryResource::loadMenuTextItem(DVDMenuItem& item, const Value& info) {}

Value DVDLibraryResource::menuTextItemInfo(const DVDMenuItem& item) const
{
    return Value();
}

void DVDLibraryResource::loadOldTemplate(const QString& rootPath)
{
    m_buttons.clear();
    m_backgrounds.clear();
    m_frames.clear();
    m_menus.clear();
    if (rootPath.isEmpty()) {
        return;
    }
    const QStringList roles[] = {{QStringLiteral("preBtn"), QStringLiteral("pre")},
                                 {QStringLiteral("nextBtn"), QStringLiteral("next")},
                                 {QStringLiteral("playBtn"), QStringLiteral("play")}};
    for (const QString& set : entriesOf(join(rootPath, QStringLiteral("Button")), QDir::Dirs)) {
        for (const QStringList& role : roles) {
            auto button = std::make_shared<DVDLibraryButtonResource>();
            button->setPath(QStringLiteral("Button/%1/%2.png").arg(set, role[0]));
            button->setName(QStringLiteral("%1-%2").arg(set, role[1]));
            m_buttons.append(button);
        }
    }
    for (const QString& name : entriesOf(join(rootPath, QStringLiteral("Frame")), QDir::Dirs)) {
        auto frame = std::make_shared<DVDLibraryFrameResource>();
        frame->setName(name);
        frame->setFrame(QStringLiteral("Frame/%1/frame.png").arg(name));
        frame->setMask(QStringLiteral("Frame/%1/mask.png").arg(name));
        m_frames.append(frame);
    }
    const QString menuFolder = join(rootPath, QStringLiteral("Menu"));
    for (const QString& category : entriesOf(menuFolder, QDir::Dirs)) {
        const QString categoryFolder = join(menuFolder, category);
        for (const QString& pageName : entriesOf(categoryFolder, QDir::Dirs)) {
            const QString pageFolder = join(categoryFolder, pageName);
            auto background = std::make_shared<DVDMenuBackgroundResource>();
            background->setIsResource(true);
            background->setPath(
                QStringLiteral("Menu/%1/%2/Background.png").arg(category, pageName));
            background->setName(QStringLiteral("%1-%2").arg(category, pageName));

            DVDMenu prototype;
            prototype.setBackgroundResource(background);
            prototype.setThumbnailPath(join(pageFolder, QStringLiteral("Thumbnail.png")));
            prototype.setCategory(category);
            prototype.setName(pageName);
            prototype.setDuration(15);
            prototype.setBackgroundImageDrawMode(0);

            const auto root =
                PropertyList::read(join(pageFolder, QStringLiteral("Template.plist")));
            const Value::Dictionary info =
                root && root->isDictionary() ? root->dictionary() : Value::Dictionary();
            const Value wide = info.value(QStringLiteral("FrameRate169"));
            const Value standard = info.value(QStringLiteral("FrameRate43"));
            if (wide.isDictionary()) {
                m_menus.append(oldPageForSize(prototype, wide.dictionary(), QSizeF(854, 480)));
            }
            if (standard.isDictionary()) {
                m_menus.append(oldPageForSize(prototype, standard.dictionary(), QSizeF(640, 480)));
            }
            m_backgrounds.append(background);
        }
    }
}

std::shared_ptr<DVDMenu> DVDLibraryResource::oldPageForSize(const DVDMenu& prototype,
                                                            const Value::Dictionary& info,
                                                            const QSizeF& size)
{
    QList<std::shared_ptr<DVDMenuElement>> elements;
    for (const Value& frameInfo : info.value(QStringLiteral("Frame")).array()) {
        if (!frameInfo.isDictionary()) {
            continue;
        }
        const QRectF fraction =
            rectFromString(stringIn(frameInfo.dictionary(), QStringLiteral("FrameRect")));
        auto element = std::make_shared<DVDMenuItem>();
        element->setFrame(QRectF(fraction.x() * size.width(), fraction.y() * size.height(),
                                 fraction.width() * size.width(),
                                 fraction.height() * size.height()));
        element->setFrameResource(
            frameResourceForPath(stringIn(frameInfo.dictionary(), QStringLiteral("FrameName"))));
        elements.append(element);
    }
    for (const QString& role :
         {QStringLiteral("Pre"), QStringLiteral("Next"), QStringLiteral("Play")}) {
        const QPointF fraction =
            pointFromString(stringIn(info, role + QStringLiteral("ButtonPoint")));
        auto element = std::make_shared<DVDMenuItem>();
        element->setFrame(
            QRectF(fraction.x() * size.width(), fraction.y() * size.height(), 80, 50));
        element->setButtonResource(
            buttonResourceForPath(stringIn(info, role + QStringLiteral("ButtonName"))));
        elements.append(element);
    }
    auto page = prototype.copy();
    page->setMenuSize(size);
    page->setItems(elements);
    return page;
}

namespace {

// A resource name is used as a file name inside the written bundle.
bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && name != QStringLiteral(".") &&
           name != QStringLiteral("..");
}

bool writePng(const QImage& image, const QString& path)
{
    if (image.isNull()) {
        qWarning("menu template: no picture for %s", qPrintable(path));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        qWarning("menu template: cannot write %s", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

QString DVDLibraryResource::saveMenuResourceTemplate(const QString& folder) const
{
    const QString bundle = join(folder, bundleName);
    for (const QString& sub : {QStringLiteral("buttons"), QStringLiteral("frames"),
                               QStringLiteral("backgrounds"), QStringLiteral("menus")}) {
        QDir dir(join(bundle, sub));
        if ((dir.exists() && !dir.removeRecursively()) || !QDir().mkpath(dir.path())) {
            qWarning("menu template: cannot prepare %s", qPrintable(dir.path()));
            return QString();
        }
    }
    bool complete = true;
    for (const auto& button : m_buttons) {
        const QString name = button->name();
        complete &= isPlainFileName(name) &&
                    writePng(imageWithName(button->path()),
                             join(bundle, QStringLiteral("buttons/%1.png").arg(name)));
    }
    for (const auto& frame : m_frames) {
        const QString name = frame->name();
        complete &= isPlainFileName(name) &&
                    writePng(imageWithName(frame->frame()),
                             join(bundle, QStringLiteral("frames/%1-frame.png").arg(name))) &&
                    writePng(imageWithName(frame->mask()),
                             join(bundle, QStringLiteral("frames/%1-mask.png").arg(name)));
    }
    for (const auto& background : m_backgrounds) {
        const QString name = background->name();
        complete &= isPlainFileName(name) &&
                    writePng(background->backgroundImage(),
                             join(bundle, QStringLiteral("backgrounds/%1.png").arg(name)));
    }
    for (const auto& page : m_menus) {
        Value::Array items;
        for (const auto& element : page->items()) {
            const auto item = std::dynamic_pointer_cast<DVDMenuItem>(element);
            if (!item) {
                continue;
            }
            Value::Dictionary info;
            info.insert(QStringLiteral("frame"), stringFromRect(item->frame()));
            info.insert(QStringLiteral("rotation"), item->rotation());
            info.insert(QStringLiteral("level"), item->level());
            if (item->frameResource()) {
                info.insert(QStringLiteral("frameName"), item->frameResource()->name());
            }
            if (item->buttonResource()) {
                info.insert(QStringLiteral("buttonName"), item->buttonResource()->name());
            }
            const Value textInfo = menuTextItemInfo(*item);
            if (!textInfo.isNull()) {
                info.insert(QStringLiteral("textInfo"), textInfo);
            }
            items.append(Value(info));
        }
        Value::Dictionary pageInfo;
        pageInfo.insert(QStringLiteral("menuSize"), page->menuSizeObject());
        pageInfo.insert(QStringLiteral("backgroundImageRect"), page->backgroundImageRectObject());
        if (page->backgroundResource()) {
            pageInfo.insert(QStringLiteral("bgName"), page->backgroundResource()->name());
        }
        pageInfo.insert(QStringLiteral("items"), Value(items));
        const QString identifier = page->identifier();
        complete &=
            isPlainFileName(identifier) &&
            PropertyList::write(join(bundle, QStringLiteral("menus/%1.plist").arg(identifier)),
                                Value(pageInfo));
    }
    if (!complete) {
        qWarning("menu template: %s was written incompletely", qPrintable(bundle));
    }
    return bundle;
}
