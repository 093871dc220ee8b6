#include "model/DVDPageItem.h"

#include <algorithm>

#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDLibraryFrameResource.h"
#include "corvane/DVDLibraryResource.h"
#include "lumenta/LMMediaTime.h"
#include "model/DVDPage.h"
#include "model/EffectTextImage.h"
#include "platform/ClassRegistry.h"
#include "platform/GeometryStrings.h"

BRISANE_REGISTER_CLASS(DVDPageItem)

DVDPageItem::DVDPageItem() : DVDPageItem(DVDLibraryResource::share()) {}

DVDPageItem::DVDPageItem(const std::shared_ptr<DVDLibraryResource>& library)
    : m_shadowColor(QColor::fromRgbF(0, 0, 0, 0.5)),
      m_videoImageTime(static_cast<qint64>(5.5 * static_cast<double>(lm_default_time_base())))
{
    if (library) {
        if (!library->frames().isEmpty()) {
            m_frameResource = library->frames().first();
        }
        if (!library->buttons().isEmpty()) {
            m_buttonResource = library->buttons().first();
        }
    }
}

DVDPageItem::~DVDPageItem() = default;

void DVDPageItem::setPage(const std::weak_ptr<DVDPage>& page)
{
    // Pages are drawn on other threads without a lock: a link already there
    // is not written again.
    const bool same = !m_page.owner_before(page) && !page.owner_before(m_page);
    if (!same) {
        m_page = page;
    }
}

void DVDPageItem::displayCanvasView() const
{
    if (const auto page = m_page.lock()) {
        page->displayCanvasView();
    }
}

// ---- kinds

bool DVDPageItem::isButtonItem() const
{
    return m_type == 12 || m_type == 13 || isPlayButtonItem();
}

bool DVDPageItem::isTextItem() const
{
    return isTextButtonItem() || isTextTitleItem() || isStaticItem();
}

bool DVDPageItem::highlightModeEmptyInDVD() const
{
    return !isStaticItem() && !isTextItem() && !isButtonItem();
}

ObjectPtr DVDPageItem::jump() const
{
    if (isStaticItem()) {
        return nullptr;
    }
    if (m_hasSubPage) {
        return m_subPage;
    }
    if (isButtonItem()) {
        if (const ObjectPtr target = m_jumpMenu.lock()) {
            return target;
        }
        if (isPlayButtonItem()) {
            return std::const_pointer_cast<Object>(weak_from_this().lock());
        }
        return nullptr;
    }
    return std::const_pointer_cast<Object>(weak_from_this().lock());
}

void DVDPageItem::setCurrentTime(qint64)
{
    m_segmentMovie.reset();
}

// ---- dialog views

void DVDPageItem::setButtonUseType(qint64 useType)
{
    m_dvdbuttonUseType = useType;
    updateItemDisplayType();
    updateItemImage();
}

void DVDPageItem::setButtonLocalImage(const QImage& image)
{
    m_dvdbuttonLocalImage = image;
    updateItemImage();
}

void DVDPageItem::setTitleUseType(qint64 useType)
{
    m_dvdTitleUseType = useType;
    updateItemDisplayType();
    updateItemImage();
}

void DVDPageItem::setTitleRoundValue(double value)
{
    m_itemRoundValue = value;
    updateItemRound();
}

void DVDPageItem::setTitleUseImageFrom(qint64 from)
{
    m_useImageFrom = from;
    updateItemImage();
}

void DVDPageItem::setTitleVideoImageTime(qint64 time)
{
    m_videoImageTime = time;
    updateItemImage();
}

void DVDPageItem::setTitleVideoImage(const QImage& image)
{
    m_videoImage = image;
    updateItemImage();
}

void DVDPageItem::setTitleLocalImage(const QImage& image)
{
    m_localImage = image;
    updateItemImage();
}

QString DVDPageItem::itemFrame() const
{
    return stringFromRect(m_frame);
}

void DVDPageItem::setItemFrame(const QString& text)
{
    m_frame = rectFromString(text);
}

QString DVDPageItem::lastTitleFrame() const
{
    return stringFromRect(m_lastTimeTitleFrame);
}

void DVDPageItem::setLastTitleFrame(const QString& text)
{
    m_lastTimeTitleFrame = rectFromString(text);
}

void DVDPageItem::setFrameResource(const std::shared_ptr<DVDLibraryFrameResource>& resource)
{
    m_frameResource = resource;
}

void DVDPageItem::setButtonResource(const std::shared_ptr<DVDLibraryButtonResource>& resource)
{
    m_buttonResource = resource;
}

void DVDPageItem::setTextSource(const std::shared_ptr<EffectTextImage>& text)
{
    m_textSource = text;
}

// ---- updates

void DVDPageItem::updateItemDisplayType()
{
    if (!isStaticItem()) {
        m_useTextSource = buttonUseType() == 1;
    }
}

void DVDPageItem::updateItemImage()
{
    if (isStaticItem()) {
        // Nothing to bring up to date but the canvas.
    } else if (isButtonItem()) {
        if (buttonUseType() == 2) {
            m_useStaticImage = true;
            m_menuStaticImage = buttonLocalImage();
        } else {
            m_useStaticImage = false;
        }
        updateItemFrameAutoFit();
    } else {
        m_menuStaticImage = m_useImageFrom != 2 ? m_videoImage : m_localImage;
        if (m_useImageFrom == 0) {
            m_useStaticImage = false;
        } else if (m_useImageFrom == 1 || m_useImageFrom == 2) {
            m_useStaticImage = true;
        }
    }
    displayCanvasView();
}

void DVDPageItem::updateItemRound()
{
    displayCanvasView();
}

void DVDPageItem::updateAllEditToItem()
{
    updateItemDisplayType();
    updateItemImage();
    updateItemRound();
}

void DVDPageItem::updateItemFrameAutoFit()
{
    if (isTextItem()) {
        if (m_textSource) {
            m_frame = adjustRect(m_frame, QSizeF(m_textSource->textSourceImage().size()));
        }
        return;
    }
    if (isButtonItem()) {
        QImage picture = m_buttonResource ? m_buttonResource->image() : QImage();
        if (m_useStaticImage && !m_menuStaticImage.isNull()) {
            picture = m_menuStaticImage;
        }
        m_frame = adjustRect(m_frame, QSizeF(picture.size()));
    }
}

QRectF DVDPageItem::adjustRect(const QRectF& rect, const QSizeF& size)
{
    // A picture without a side would stretch the frame far off the canvas.
    if (!(size.width() >= 1) || !(size.height() >= 1)) {
        return rect;
    }
    const double height = rect.width() * size.height() / std::max(size.width(), 1.0);
    const double centreY = rect.y() + rect.height() * 0.5;
    return QRectF(rect.x(), centreY - height * 0.5, rect.width(), height);
}

// ---- archive

QStringList DVDPageItem::allCoderKeys() const
{
    return {"itemFrame",
            "lastTitleFrame",
            "type",
            "textSource",
            "frameResource",
            "buttonResource",
            "media",
            "hasSubPage",
            "subPage",
            "useFrame",
            "useStaticImage",
            "menuStaticImage",
            "hasShadow",
            "shadowAngleValue",
            "shadowColor",
            "shadowOffsetValue",
            "shadowBlursizeValue",
            "dvdTitleUseType",
            "titleUseImageFrom",
            "videoImageTime",
            "videoImage",
            "localImage",
            "itemRoundValue",
            "oldFrame",
            "dvdbuttonUseType",
            "dvdbuttonLocalImage"};
}

const PropertyTable& DVDPageItem::properties()
{
    using I = DVDPageItem;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("itemFrame", &I::itemFrame, &I::setItemFrame)
            .add("lastTitleFrame", &I::lastTitleFrame, &I::setLastTitleFrame)
            .add("type", &I::type, &I::setType)
            .add("textSource", &I::textSource, &I::setTextSource)
            .add("frameResource", &I::frameResource, &I::setFrameResource)
            .add("buttonResource", &I::buttonResource, &I::setButtonResource)
            .add("media", &I::media, &I::setMedia)
            .add("hasSubPage", &I::hasSubPage, &I::setHasSubPage)
            .add("subPage", &I::subPage, &I::setSubPage)
            .add("useFrame", &I::useFrame, &I::setUseFrame)
            .add("useStaticImage", &I::useStaticImage, &I::setUseStaticImage)
            .add("menuStaticImage", &I::menuStaticImage, &I::setMenuStaticImage)
            .add("hasShadow", &I::hasShadow, &I::setHasShadow)
            .add("shadowAngleValue", &I::shadowAngleValue, &I::setShadowAngleValue)
            .add("shadowColor", &I::shadowColor, &I::setShadowColor)
            .add("shadowOffsetValue", &I::shadowOffsetValue, &I::setShadowOffsetValue)
            .add("shadowBlursizeValue", &I::shadowBlursizeValue, &I::setShadowBlursizeValue)
            .add("dvdTitleUseType", &I::dvdTitleUseType, &I::setDvdTitleUseType)
            .add("titleUseImageFrom", &I::titleUseImageFrom, &I::setTitleUseImageFrom)
            .add("videoImageTime", &I::videoImageTime, &I::setVideoImageTime)
            .add("videoImage", &I::videoImage, &I::setVideoImage)
            .add("localImage", &I::localImage, &I::setLocalImage)
            .add("itemRoundValue", &I::itemRoundValue, &I::setItemRoundValue)
            .add("oldFrame", &I::oldFrame, &I::setOldFrame)
            .add("dvdbuttonUseType", &I::dvdbuttonUseType, &I::setDvdbuttonUseType)
            .add("dvdbuttonLocalImage", &I::dvdbuttonLocalImage, &I::setDvdbuttonLocalImage)
            .add("frame", &I::frame, &I::setFrame)
            .add("useTextSource", &I::useTextSource, &I::setUseTextSource)
            .add("jumpMenu", &I::jumpMenu, &I::setJumpMenu)
            .add("lastTimeTitleFrame", &I::lastTimeTitleFrame, &I::setLastTimeTitleFrame)
            .add("useImageFrom", &I::useImageFrom, &I::setUseImageFrom);
    return table;
}
