#include "model/DVDPage.h"

#include <QPainter>
#include <algorithm>

#include "common/CommonFunction.h"
#include "common/ControllerFunctionImages.h"
#include "corvane/DLBitmapImage.h"
#include "corvane/DLShadowPainter.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryResource.h"
#include "corvane/DVDMenu.h"
#include "corvane/DVDMenuBackgroundResource.h"
#include "model/ButtonType.h"
#include "model/DVDPageItem.h"
#include "model/DVDResource.h"
#include "model/MusicData.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDPage)

namespace {

std::shared_ptr<DVDPageItem> makeButtonItem(qint64 type, const QRectF& frame,
                                            const std::shared_ptr<DVDLibraryResource>& library)
{
    auto item = std::make_shared<DVDPageItem>(library);
    item->setType(type);
    item->setFrame(frame);
    if (library) {
        for (const auto& button : library->buttons()) {
            if (button && ButtonType::type(*button) == type) {
                item->setButtonResource(button);
                break;
            }
        }
    }
    return item;
}

}  // namespace

DVDPage::DVDPage() : DVDPage(DVDLibraryResource::share()) {}

DVDPage::DVDPage(const std::shared_ptr<DVDLibraryResource>& library)
{
    m_playButtonItem = makeButtonItem(11, initialButtonFrame(11), library);
    m_preButtonItem = makeButtonItem(12, initialButtonFrame(12), library);
    m_nextButtonItem = makeButtonItem(13, initialButtonFrame(13), library);
    if (library && !library->backgrounds().isEmpty()) {
        m_background = library->backgrounds().first();
    }
    if (m_background) {
        m_imageCanvasRect = ControllerFunctionImages::imageCanvasWithMax16_9RectWithImage(
            m_background->backgroundImage());
    }
    m_imageCropRect = m_imageCanvasRect;
}

DVDPage::~DVDPage() = default;

QRectF DVDPage::initialButtonFrame(qint64 type)
{
    switch (type) {
        case 11:
            return QRectF(450, 10, 80, 70);
        case 12:
            return QRectF(300, 10, 80, 70);
        case 13:
            return QRectF(600, 10, 80, 70);
        default:
            return {};
    }
}

qint64 DVDPage::aspectType() const
{
    const std::shared_ptr<DVDResource> disc = dvdResource();
    return disc ? disc->aspectType() : 1;
}

void DVDPage::displayCanvasView() const
{
    if (const auto disc = dvdResource()) {
        disc->displayCanvasView();
    }
}

void DVDPage::setDvdResource(const std::weak_ptr<DVDResource>& disc)
{
    // Pages are drawn on other threads without a lock: a page the disc
    // already holds is not written again.
    const bool same = !m_dvdResource.owner_before(disc) && !disc.owner_before(m_dvdResource);
    if (!same) {
        m_dvdResource = disc;
    }
    adoptItems();
}

void DVDPage::setItemArray(const ItemList& items)
{
    m_itemArray = items;
    for (const auto& item : m_itemArray) {
        adoptItem(item);
    }
}

void DVDPage::setPlayButtonItem(const std::shared_ptr<DVDPageItem>& item)
{
    m_playButtonItem = item;
    adoptItem(item);
}

void DVDPage::setPreButtonItem(const std::shared_ptr<DVDPageItem>& item)
{
    m_preButtonItem = item;
    adoptItem(item);
}

void DVDPage::setNextButtonItem(const std::shared_ptr<DVDPageItem>& item)
{
    m_nextButtonItem = item;
    adoptItem(item);
}

void DVDPage::adoptItem(const std::shared_ptr<DVDPageItem>& item)
{
    const auto self = std::dynamic_pointer_cast<DVDPage>(weak_from_this().lock());
    if (item && self) {
        item->setPage(self);
    }
}

void DVDPage::adoptItems()
{
    for (const auto& item : m_itemArray) {
        adoptItem(item);
    }
    for (const auto& item : {m_playButtonItem, m_preButtonItem, m_nextButtonItem}) {
        adoptItem(item);
    }
}

QSizeF DVDPage::menuSize() const
{
    return DVDMenu::menuSizeForAspectType(aspectType());
}

QRectF DVDPage::menuRect() const
{
    return QRectF(QPointF(0, 0), menuSize());
}

QList<std::shared_ptr<DVDMenuElement>> DVDPage::items() const
{
    QList<std::shared_ptr<DVDMenuElement>> elements;
    elements.reserve(m_itemArray.size());
    for (const auto& item : m_itemArray) {
        elements.append(item);
    }
    return elements;
}

QImage DVDPage::imageAtTime(qint64 time)
{
    const auto bitmap = DLBitmapImage::imageWithSize(menuSize());
    if (!bitmap) {
        return {};
    }
    bitmap->lockFocus();
    drawDVDPageInDVDRectWithImage(*bitmap->painter(), time);
    bitmap->unlockFocus();
    return bitmap->nsimage();
}

void DVDPage::drawDVDPageInDVDRectWithImage(QPainter& painter, qint64 time)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_background) {
        const QImage background = m_background->backgroundImage();
        if (!background.isNull()) {
            DLBitmapImage::drawImage(painter, background, menuRect(), m_imageCropRect);
        }
    }
    ItemList ordered;
    for (const auto& item : m_itemArray) {
        if (item) {
            ordered.append(item);
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a->level() > b->level(); });
    for (const auto& item : ordered) {
        drawItem(painter, *item, time);
    }
    painter.restore();
}

void DVDPage::drawItem(QPainter& painter, DVDPageItem& item, qint64 time)
{
    const QImage image = item.imageAtTime(time);
    if (image.isNull()) {
        return;
    }
    QRectF target = item.frame();
    if (item.isButtonItem()) {
        target = CommonFunction::scaleRectIn(QRectF(QPointF(0, 0), QSizeF(image.size())), target);
    }
    painter.save();
    if (const auto shadow = item.getItemShadow()) {
        DLShadowPainter::drawShadow(painter, image, target, *shadow);
    }
    DLBitmapImage::drawImage(painter, image, target);
    painter.restore();
}

void DVDPage::changedBackgroundImageCropRectIfAspectChanged()
{
    const QPointF centre = CommonFunction::centerForRect(m_imageCropRect);
    QSizeF size = m_imageCropRect.size();
    if (aspectType() != 0) {
        size.setHeight(size.width() / 16 * 9);
    } else {
        size.setWidth(size.height() / 3 * 4);
    }
    m_imageCropRect = CommonFunction::rectForCenter(centre, size);
}

QStringList DVDPage::allCoderKeys() const
{
    return {"isSubPage",       "superPage",      "media",
            "itemArray",       "playButtonItem", "preButtonItem",
            "nextButtonItem",  "music",          "backgourndPictureResource",
            "imageCanvasRect", "imageCropRect",  "menuDuration"};
}

const PropertyTable& DVDPage::properties()
{
    using P = DVDPage;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("isSubPage", &P::isSubPage, &P::setIsSubPage)
            .add("superPage", &P::superPage, &P::setSuperPage)
            .add("media", &P::media, &P::setMedia)
            .add("itemArray", &P::itemArray, &P::setItemArray)
            .add("playButtonItem", &P::playButtonItem, &P::setPlayButtonItem)
            .add("preButtonItem", &P::preButtonItem, &P::setPreButtonItem)
            .add("nextButtonItem", &P::nextButtonItem, &P::setNextButtonItem)
            .add("music", &P::music, &P::setMusic)
            .add("backgourndPictureResource", &P::backgourndPictureResource,
                 &P::setBackgourndPictureResource)
            .add("imageCanvasRect", &P::imageCanvasRect, &P::setImageCanvasRect)
            .add("imageCropRect", &P::imageCropRect, &P::setImageCropRect)
            .add("menuDuration", &P::menuDuration, &P::setMenuDuration)
            .add("dvd", &P::dvd, &P::setDvd);
    return table;
}
