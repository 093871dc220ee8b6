#include "corvane/DVDMenu.h"

#include <QMutexLocker>
#include <algorithm>
#include <cmath>

#include "DLGeometry.h"
#include "corvane/DLShadowPainter.h"
#include "corvane/DLBitmapImage.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "corvane/DVDMenuItem.h"
#include "platform/ClassRegistry.h"
#include "platform/GeometryStrings.h"

BRISANE_REGISTER_CLASS(DVDMenu)

namespace {

// The automatic menu operation of DVDLibrary works on template pages through
// these; pages of other kinds are left alone.
const bool menuTemplateHooksInstalled = [] {
    DVDLibrary::MenuTemplateHooks hooks;
    hooks.copyMenu = [](const DVDLibrary::MenuPtr& page) -> DVDLibrary::MenuPtr {
        auto menu = std::dynamic_pointer_cast<DVDMenu>(page);
        return menu ? menu->copy() : nullptr;
    };
    hooks.buttonForButtonType = [](const DVDLibrary::MenuPtr& page,
                                   const QString& role) -> DVDLibrary::ElementPtr {
        auto menu = std::dynamic_pointer_cast<DVDMenu>(page);
        return menu ? menu->buttonForButtonType(role) : nullptr;
    };
    hooks.menuPlayJump = [](const DVDLibrary::MenuPtr& page) -> ObjectPtr {
        auto menu = std::dynamic_pointer_cast<DVDMenu>(page);
        return menu ? menu->menuPlayJump() : nullptr;
    };
    DVDLibrary::setMenuTemplateHooks(std::move(hooks));
    return true;
}();

}  // namespace

namespace {

// One side's scale ratio, rounded to single precision; NaN for 0 / 0.
float ratio(double source, double target)
{
    return static_cast<float>(source / target);
}

// The scaled, centred result of fit (`larger` true) or fill placement.
QRectF scaleRect(const QRectF& source, const QRectF& target, bool larger)
{
    const float rx = ratio(source.width(), target.width());
    const float ry = ratio(source.height(), target.height());
    float k;
    if (std::isnan(rx) || std::isnan(ry)) {
        k = std::isnan(rx) ? ry : rx;
    } else {
        k = larger ? std::max(rx, ry) : std::min(rx, ry);
    }
    if (!(k >= 0.01f)) {
        k = 0.01f;
    }
    const double width = source.width() / k;
    const double height = source.height() / k;
    return QRectF(target.x() + (target.width() - width) / 2,
                  target.y() + (target.height() - height) / 2, width, height);
}

bool isBehind(const DVDMenuElement& element)
{
    return element.level() < DVDMenuItem::behindLevel + 1;
}

}  // namespace

QSizeF DVDMenu::menuSizeForAspectType(qint64 aspectType)
{
    return aspectType != 0 ? QSizeF(854, 480) : QSizeF(640, 480);
}

QRectF DVDMenu::scaleRectIn(const QRectF& source, const QRectF& target)
{
    return scaleRect(source, target, true);
}

QRectF DVDMenu::scaleRectFull(const QRectF& source, const QRectF& target)
{
    return scaleRect(source, target, false);
}

qint64 DVDMenu::aspectType() const
{
    const double proportion = m_menuSize.width() / std::max(m_menuSize.height(), 1.0);
    return std::abs(proportion - 4.0 / 3.0) < 0.1 ? 0 : 1;
}

QString DVDMenu::identifier() const
{
    if (!m_category.isEmpty()) {
        return QStringLiteral("%1-%2-%3").arg(m_category, m_name).arg(aspectType());
    }
    return QStringLiteral("%1-%2").arg(m_name).arg(aspectType());
}

std::shared_ptr<DVDMenuBackgroundResource> DVDMenu::backgroundResource() const
{
    return m_backgroundResource;
}

void DVDMenu::setBackgroundResource(const std::shared_ptr<DVDMenuBackgroundResource>& resource)
{
    m_backgroundResource = resource;
}

QString DVDMenu::menuSizeObject() const
{
    return stringFromSize(m_menuSize);
}

void DVDMenu::setMenuSizeObject(const QString& text)
{
    m_menuSize = sizeFromString(text);
}

QString DVDMenu::backgroundImageRectObject() const
{
    return stringFromRect(m_backgroundImageRect);
}

void DVDMenu::setBackgroundImageRectObject(const QString& text)
{
    m_backgroundImageRect = rectFromString(text);
}

QImage DVDMenu::backgroundImage()
{
    QMutexLocker locker(&m_cacheLock);
    if (m_backgroundCache.isNull() && m_backgroundResource) {
        m_backgroundCache = m_backgroundResource->backgroundImage();
    }
    return m_backgroundCache;
}

void DVDMenu::updateBackgroundImage()
{
    QMutexLocker locker(&m_cacheLock);
    m_backgroundCache = QImage();
}

QImage DVDMenu::imageAtTime(qint64 time)
{
    auto surface = DLBitmapImage::imageWithSize(m_menuSize);
    if (!surface) {
        return QImage();
    }
    surface->lockFocus();
    QPainter* painter = surface->painter();
    if (painter) {
        const QRectF canvas(QPointF(0, 0), surface->size());
        painter->fillRect(canvas, Qt::black);
        for (const auto& element : m_items) {
            if (element && isBehind(*element)) {
                drawItem(*painter, *element, element->imageAtTime(time));
            }
        }
        drawBackgroundImage(*painter, backgroundImage(), canvas);
        for (const auto& element : m_items) {
            if (element && !isBehind(*element)) {
                drawItem(*painter, *element, element->imageAtTime(time));
            }
        }
    }
    surface->unlockFocus();
    return surface->nsimage();
}

void DVDMenu::drawBackgroundImage(QPainter& painter, const QImage& image, const QRectF& rect)
{
    drawBackgroundImage(painter, image, rect, m_drawMode);
}

void DVDMenu::drawBackgroundImage(QPainter& painter, const QImage& image, const QRectF& rect,
                                  qint64 mode)
{
    if (image.isNull()) {
        return;
    }
    const QRectF source(0, 0, image.width(), image.height());
    QRectF destination = rect;
    if (mode == 0) {
        destination = scaleRectIn(source, rect);
    } else if (mode == 1) {
        destination = scaleRectFull(source, rect);
    }
    const QRectF part = m_backgroundImageRect.isNull() ? QRectF() : m_backgroundImageRect;
    if (!m_backgroundImageRect.isNull() && part.isEmpty()) {
        return;
    }
    DLBitmapImage::drawImage(painter, image, destination, part);
}

void DVDMenu::drawItem(QPainter& painter, const DVDMenuElement& element, const QImage& image)
{
    if (image.isNull()) {
        return;
    }
    const QRectF frame = element.frame();
    const QRectF destination =
        scaleRectIn(QRectF(0, 0, image.width(), image.height()), dlgeometry::insetRect(frame, 2));
    painter.save();
    painter.translate(frame.center());
    painter.rotate(element.rotation());
    painter.translate(-frame.center());
    if (destination.width() > 1 && destination.height() > 1) {
        if (const auto shadow = element.shadow()) {
            DLShadowPainter::drawShadow(painter, image, destination, *shadow);
        }
        DLBitmapImage::drawImage(painter, image, destination);
    }
    painter.restore();
}

std::shared_ptr<DVDMenuItem> DVDMenu::buttonForButtonType(const QString& role) const
{
    std::shared_ptr<DVDMenuItem> found;
    for (const auto& element : m_items) {
        auto item = std::dynamic_pointer_cast<DVDMenuItem>(element);
        if (item && item->isButtonItem() && item->buttonResource()->name().endsWith(role)) {
            found = item;
        }
    }
    return found;
}

std::shared_ptr<Object> DVDMenu::menuPlayJump() const
{
    for (const auto& element : m_items) {
        if (!element) {
            continue;
        }
        auto target = element->jump();
        if (target && !std::dynamic_pointer_cast<DVDMenuPage>(target)) {
            return target;
        }
    }
    return nullptr;
}

std::shared_ptr<DVDMenu> DVDMenu::copy() const
{
    auto page = std::dynamic_pointer_cast<DVDMenu>(ClassRegistry::create(className()));
    if (!page) {
        page = std::make_shared<DVDMenu>();
    }
    for (const QString& key : allCoderKeys()) {
        copyTo(*page, key);
    }
    QList<std::shared_ptr<DVDMenuElement>> elements;
    elements.reserve(m_items.size());
    for (const auto& element : m_items) {
        auto item = std::dynamic_pointer_cast<DVDMenuItem>(element);
        elements.append(item ? item->copy() : element);
    }
    page->setItems(elements);
    return page;
}

QStringList DVDMenu::allCoderKeys() const
{
    return {QStringLiteral("menuSizeObject"),
            QStringLiteral("duration"),
            QStringLiteral("items"),
            QStringLiteral("music"),
            QStringLiteral("parent"),
            QStringLiteral("backgroundResource"),
            QStringLiteral("thumbnailPath"),
            QStringLiteral("backgroundImageRectObject"),
            QStringLiteral("category"),
            QStringLiteral("name"),
            QStringLiteral("backgroundImageDrawMode")};
}

const PropertyTable& DVDMenu::properties()
{
    using M = DVDMenu;
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("menuSizeObject", &M::menuSizeObject, &M::setMenuSizeObject)
            .add("duration", &M::duration, &M::setDuration)
            .add("items", &M::items, &M::setItems)
            .add("music", &M::music, &M::setMusic)
            .add("parent", &M::parent, &M::setParent)
            .add("backgroundResource", &M::backgroundResource, &M::setBackgroundResource)
            .add("thumbnailPath", &M::thumbnailPath, &M::setThumbnailPath)
            .add("backgroundImageRectObject", &M::backgroundImageRectObject,
                 &M::setBackgroundImageRectObject)
            .add("category", &M::category, &M::setCategory)
            .add("name", &M::name, &M::setName)
            .add("backgroundImageDrawMode", &M::backgroundImageDrawMode,
                 &M::setBackgroundImageDrawMode);
    return table;
}
