#include "model/DVDResource.h"

#include "common/CommonFunction.h"
#include "corvane/DVDLibraryButtonResource.h"
#include "corvane/DVDMenu.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/MediaData.h"
#include "model/MenuListPage.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDResource)

namespace {

// A top page whose list page holds no titles (or that has no list page).
bool hasNoTitles(const DVDPage& page)
{
    const auto listPage = std::dynamic_pointer_cast<MenuListPage>(page.media());
    return !listPage || listPage->menuTitleCount() == 0;
}

}  // namespace

DVDResource::DVDResource()
    : m_borderColor(QColor::fromRgbF(0, 0, 1, 1)),
      m_fillColor(QColor::fromRgbF(1, 0, 0, 0.25)),
      m_frames16_9(initialItemFrameArrayWithAspect(1)),
      m_frames4_3(initialItemFrameArrayWithAspect(0))
{
}

void DVDResource::setPageArray(const PageList& pages)
{
    m_pageArray = pages;
    const std::weak_ptr<DVDResource> self =
        std::dynamic_pointer_cast<DVDResource>(weak_from_this().lock());
    for (const auto& page : m_pageArray) {
        if (page) {
            page->setDvdResource(self);
        }
    }
}

void DVDResource::displayCanvasView() const
{
    std::function<void()> redisplay;
    {
        const std::lock_guard lock(m_redisplayLock);
        redisplay = m_canvasRedisplay;
    }
    if (redisplay) {
        redisplay();
    }
}

void DVDResource::setCanvasRedisplay(std::function<void()> redisplay)
{
    const std::lock_guard lock(m_redisplayLock);
    m_canvasRedisplay = std::move(redisplay);
}

DVDResource::PageList DVDResource::noSubMenuArray() const
{
    PageList pages;
    for (const auto& page : m_pageArray) {
        if (page && !page->isSubPage()) {
            pages.append(page);
        }
    }
    if (pages.size() >= 2) {
        pages.removeIf([](const std::shared_ptr<DVDPage>& page) { return hasNoTitles(*page); });
    }
    if (pages.isEmpty() && !m_pageArray.isEmpty() && m_pageArray.first()) {
        pages.append(m_pageArray.first());
    }
    return pages;
}

DVDResource::PageList DVDResource::subMenuArray() const
{
    PageList pages;
    for (const auto& page : m_pageArray) {
        if (page && page->isSubPage()) {
            pages.append(page);
        }
    }
    return pages;
}

DVDResource::PageList DVDResource::pageArrayForPreview() const
{
    PageList pages;
    for (const auto& page : m_pageArray) {
        if (page) {
            pages.append(page);
        }
    }
    if (pages.size() >= 2) {
        pages.removeIf([](const std::shared_ptr<DVDPage>& page) {
            return !page->isSubPage() && hasNoTitles(*page);
        });
    }
    if (pages.isEmpty() && !m_pageArray.isEmpty() && m_pageArray.first()) {
        pages.append(m_pageArray.first());
    }
    return pages;
}

QList<QRectF> DVDResource::initialItemFrameArrayWithAspect(qint64 aspect)
{
    const QSizeF canvas = DVDMenu::menuSizeForAspectType(aspect);
    const double w = canvas.width();
    const double h = canvas.height();
    QList<QPointF> centres{{w * 0.25, h * 0.75},
                           {w * 0.75, h * 0.75},
                           {w * 0.25, h * 0.25},
                           {w * 0.75, h * 0.25},
                           {w * 0.5, h * 0.5}};
    // The cascade tests the centre before each step, so it ends one step past
    // the limit.
    float x = static_cast<float>(w * 0.5);
    float y = static_cast<float>(h * 0.5);
    while (x <= w - 100 && y >= 75) {
        x += 10;
        y -= 10;
        centres.append(QPointF(x, y));
    }
    QList<QRectF> frames;
    for (const auto& centre : centres) {
        frames.append(CommonFunction::rectForCenter(centre, QSizeF(200, 150)));
    }
    return frames;
}

QRectF DVDResource::initialPageItemFrameAtIndex(quint64 index) const
{
    const QList<QRectF>& table = m_aspectType != 0 ? m_frames16_9 : m_frames4_3;
    if (table.isEmpty()) {
        return {};
    }
    if (index >= static_cast<quint64>(table.size())) {
        return table.last();
    }
    return table.at(static_cast<qsizetype>(index));
}

QSizeF DVDResource::menuCanvasSize() const
{
    return DVDMenu::menuSizeForAspectType(m_aspectType);
}

QRectF DVDResource::menuCanvasRect() const
{
    return QRectF(QPointF(0, 0), menuCanvasSize());
}

void DVDResource::changeVideoOutputSizeWithDataResource(const DataResource& media) const
{
    const QSizeF canvas = dvdVideoSize();
    const auto give = [&](const std::shared_ptr<MediaData>& clip) {
        const auto item = clip ? clip->vcmovie() : nullptr;
        if (item && item->videoOutputSize() != canvas) {
            changeVideoOutputSizeWithVCMovie(item);
        }
    };
    for (const auto& page : media.dvdPageArray()) {
        if (!page) {
            continue;
        }
        for (const auto& title : page->titleDataArray()) {
            if (!title) {
                continue;
            }
            for (const auto& clip : title->mediaDataArray()) {
                if (!clip || !clip->hasSubMedia()) {
                    give(clip);
                    continue;
                }
                for (const auto& member : clip->subMediaArray()) {
                    give(member);
                }
            }
        }
    }
}

QStringList DVDResource::allCoderKeys() const
{
    return {"pageArray",
            "customButtonImageResourceArray",
            "useBackMusicLengthAsPageDuration",
            "useNoMenu",
            "aspectType",
            "autoPlayFirstTitle",
            "playTitleSequence",
            "dvdBitrate",
            "dvdFormat",
            "borderColor",
            "borderWidth",
            "fillColor",
            "showPlayButton"};
}

const PropertyTable& DVDResource::properties()
{
    using R = DVDResource;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("pageArray", &R::pageArray, &R::setPageArray)
            .add("customButtonImageResourceArray", &R::customButtonImageResourceArray,
                 &R::setCustomButtonImageResourceArray)
            .add("useBackMusicLengthAsPageDuration", &R::useBackMusicLengthAsPageDuration,
                 &R::setUseBackMusicLengthAsPageDuration)
            .add("useNoMenu", &R::useNoMenu, &R::setUseNoMenu)
            .add("aspectType", &R::aspectType, &R::setAspectType)
            .add("autoPlayFirstTitle", &R::autoPlayFirstTitle, &R::setAutoPlayFirstTitle)
            .add("playTitleSequence", &R::playTitleSequence, &R::setPlayTitleSequence)
            .add("dvdBitrate", &R::dvdBitrate, &R::setDvdBitrate)
            .add("dvdFormat", &R::dvdFormat, &R::setDvdFormat)
            .add("borderColor", &R::borderColor, &R::setBorderColor)
            .add("borderWidth", &R::borderWidth, &R::setBorderWidth)
            .add("fillColor", &R::fillColor, &R::setFillColor)
            .add("showPlayButton", &R::showPlayButton, &R::setShowPlayButton)
            .add("itemInitialFrame16_9Array", &R::itemInitialFrame16_9Array,
                 &R::setItemInitialFrame16_9Array)
            .add("itemInitialFrame4_3Array", &R::itemInitialFrame4_3Array,
                 &R::setItemInitialFrame4_3Array);
    return table;
}
