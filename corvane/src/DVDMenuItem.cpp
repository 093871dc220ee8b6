#include "corvane/DVDMenuItem.h"

#include <QPainterPath>
#include <QSet>
#include <algorithm>
#include <cmath>

#include "DLGeometry.h"
#include "corvane/DLBitmapImage.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "corvane/DVDMenu.h"
#include "corvane/DVDMenuItemTextSource.h"
#include "corvane/DVDTitleResource.h"
#include "platform/ClassRegistry.h"
#include "platform/GeometryStrings.h"
#include "platform/KeyedUnarchiver.h"

BRISANE_REGISTER_CLASS(DVDMenuItem)

namespace {

// Elements whose still picture is being asked of their target on this
// thread: a target chain that comes back to one of them stops there.
thread_local QSet<const DVDMenuItem*> askingTargets;

}  // namespace

void DVDMenuItem::setFrameResource(const std::shared_ptr<DVDLibraryFrameResource>& resource)
{
    m_frameResource = resource;
}

void DVDMenuItem::setButtonResource(const std::shared_ptr<DVDLibraryButtonResource>& resource)
{
    m_buttonResource = resource;
}

void DVDMenuItem::setTextSource(const std::shared_ptr<DVDMenuItemTextSource>& source)
{
    m_textSource = source;
}

bool DVDMenuItem::isVideoItem() const
{
    return m_frameResource != nullptr;
}

bool DVDMenuItem::isButtonItem() const
{
    return m_buttonResource != nullptr;
}

bool DVDMenuItem::isStaticItem() const
{
    return !isButtonItem() && !isVideoItem();
}

bool DVDMenuItem::isTextItem() const
{
    return m_textSource != nullptr && m_isTextItem;
}

bool DVDMenuItem::isValid() const
{
    if (m_disabled) {
        return false;
    }
    return isStaticItem() || jump() != nullptr;
}

bool DVDMenuItem::highlightModeEmptyInDVD() const
{
    if (isTextItem()) {
        return false;
    }
    return !isButtonItem();
}

QString DVDMenuItem::frameObject() const
{
    return stringFromRect(m_frame);
}

void DVDMenuItem::setFrameObject(const QString& text)
{
    m_frame = rectFromString(text);
}

QImage DVDMenuItem::validStaticImage() const
{
    const auto target = std::dynamic_pointer_cast<DVDMenuItem>(jump());
    if (target && target.get() != this && !askingTargets.contains(this)) {
        askingTargets.insert(this);
        QImage image = target->validStaticImage();
        askingTargets.remove(this);
        return image;
    }
    if (m_useStaticImage) {
        return m_menuStaticImage;
    }
    return QImage();
}

QImage DVDMenuItem::imageAtTime(qint64 time)
{
    const bool shown = isValid() || time == DVDMenu::menuThumbnailTime ||
                       (time == DVDMenu::stillTime && forceShowItem());
    if (!shown) {
        return QImage();
    }
    if (isTextItem()) {
        return m_textSource->textSourceImage();
    }
    if (isButtonItem()) {
        if (m_useStaticImage && !m_menuStaticImage.isNull()) {
            return m_menuStaticImage;
        }
        return m_buttonResource->image();
    }
    if (!m_frameResource) {
        return QImage();
    }
    return framedImageAtTime(time);
}

QImage DVDMenuItem::framedImageAtTime(qint64 time)
{
    const QRectF bounds(0, 0, std::ceil(m_frame.width()), std::ceil(m_frame.height()));
    if (bounds.isEmpty()) {
        return QImage();
    }
    const bool showFrame =
        useVideoFrame() || (forceShowItem() && time == DVDMenu::stillTime && !jump());
    auto surface = DLBitmapImage::imageWithSize(bounds.size());
    if (!surface) {
        return QImage();
    }
    surface->lockFocus();
    if (QPainter* painter = surface->painter()) {
        painter->save();
        drawFramed(*painter, bounds, time, showFrame);
        painter->restore();
    }
    surface->unlockFocus();
    return surface->nsimage();
}

void DVDMenuItem::drawFramed(QPainter& painter, const QRectF& bounds, qint64 time, bool showFrame)
{
    if (m_roundValue > 0.9) {
        const double radius = std::min({m_roundValue, m_frame.height() / 2, m_frame.width() / 2});
        QPainterPath rounded;
        rounded.addRoundedRect(QRectF(QPointF(0, 0), m_frame.size()), radius, radius);
        painter.setClipPath(rounded, Qt::IntersectClip);
    }
    if (itemBehind()) {
        fillImageAtTime(time, painter);
        return;
    }
    const QImage frameImage = m_frameResource->frameImage();
    if (time == DVDMenu::menuThumbnailTime) {
        DLBitmapImage::drawImage(painter, frameImage, bounds);
        return;
    }
    painter.save();
    if (showFrame) {
        const QRectF inside = dlgeometry::insetRect(bounds, 5);
        painter.fillRect(inside, Qt::black);
        painter.setClipRect(inside, Qt::IntersectClip);
    }
    fillImageAtTime(time, painter);
    painter.restore();
    if (showFrame) {
        DLBitmapImage::drawImage(painter, m_frameResource->maskImage(), bounds, QRectF(),
                                 QPainter::CompositionMode_DestinationOut);
        DLBitmapImage::drawImage(painter, frameImage, bounds);
    }
}

void DVDMenuItem::fillImageAtTime(qint64 time, QPainter& context)
{
    const QImage still = validStaticImage();
    if (!still.isNull()) {
        drawImage(still, context);
        return;
    }
    const auto target = std::dynamic_pointer_cast<DVDTitleResource>(jump());
    if (target) {
        target->item(*this, time, context);
    }
}

void DVDMenuItem::drawImage(const QImage& image, QPainter& context)
{
    const QPaintDevice* device = context.device();
    if (image.isNull() || !device) {
        return;
    }
    const QRectF whole(0, 0, device->width(), device->height());
    const QRectF part = DVDMenu::scaleRectIn(whole, QRectF(0, 0, image.width(), image.height()));
    DLBitmapImage::drawImage(context, image, whole, part);
}

std::shared_ptr<DVDMenuItem> DVDMenuItem::copy() const
{
    auto element = std::dynamic_pointer_cast<DVDMenuItem>(ClassRegistry::create(className()));
    if (!element) {
        element = std::make_shared<DVDMenuItem>();
    }
    for (const QString& key : allCoderKeys()) {
        copyTo(*element, key);
    }
    if (m_textSource) {
        auto text = m_textSource->copy();
        if (text) {
            text->setMenuItem(element);
        }
        element->setTextSource(text);
    }
    return element;
}

bool DVDMenuItem::initWithCoder(KeyedUnarchiver& coder)
{
    if (!DVDMenuElement::initWithCoder(coder)) {
        return false;
    }
    if (coder.containsValueForKey(QStringLiteral("itemBehind")) &&
        coder.decodeBool(QStringLiteral("itemBehind"))) {
        m_level = behindLevel;
    }
    if (m_textSource) {
        m_textSource->setMenuItem(weak_from_this().lock());
    }
    return true;
}

QStringList DVDMenuItem::allCoderKeys() const
{
    return {QStringLiteral("frameObject"),    QStringLiteral("jump"),
            QStringLiteral("disabled"),       QStringLiteral("rotation"),
            QStringLiteral("level"),          QStringLiteral("is_text_item"),
            QStringLiteral("frameResource"),  QStringLiteral("buttonResource"),
            QStringLiteral("textSource"),     QStringLiteral("useFrame"),
            QStringLiteral("useStaticImage"), QStringLiteral("menuStaticImage")};
}

const PropertyTable& DVDMenuItem::properties()
{
    using I = DVDMenuItem;
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("frameObject", &I::frameObject, &I::setFrameObject)
            .add("jump", &I::jump, &I::setJump)
            .add("disabled", &I::disabled, &I::setDisabled)
            .add("rotation", &I::rotation, &I::setRotation)
            .add("level", &I::level, &I::setLevel)
            .add("is_text_item", &I::is_text_item, &I::setIs_text_item)
            .add("frameResource", &I::frameResource, &I::setFrameResource)
            .add("buttonResource", &I::buttonResource, &I::setButtonResource)
            .add("textSource", &I::textSource, &I::setTextSource)
            .add("useFrame", &I::useFrame, &I::setUseFrame)
            .add("useStaticImage", &I::useStaticImage, &I::setUseStaticImage)
            .add("menuStaticImage", &I::menuStaticImage, &I::setMenuStaticImage);
    return table;
}
