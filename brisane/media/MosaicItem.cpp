#include "media/MosaicItem.h"

#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(MosaicItem)

std::shared_ptr<MosaicItem> MosaicItem::initNewMosaic()
{
    return std::make_shared<MosaicItem>();
}

QRectF MosaicItem::mosaicRect() const
{
    return m_mosaicMode != 0 ? m_rectForMode1 : m_rectForMode0;
}

void MosaicItem::setMosaicRect(const QRectF& rect)
{
    if (m_mosaicMode != 0) {
        m_rectForMode1 = rect;
    } else {
        m_rectForMode0 = rect;
    }
}

QStringList MosaicItem::allCoderKeys() const
{
    return {QStringLiteral("mosaicRect"), QStringLiteral("startTime"), QStringLiteral("endTime")};
}

const PropertyTable& MosaicItem::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("mosaicMode", &MosaicItem::mosaicMode, &MosaicItem::setMosaicMode)
            .add("mosaicRect", &MosaicItem::mosaicRect, &MosaicItem::setMosaicRect)
            .add("rectForMode0", &MosaicItem::rectForMode0, &MosaicItem::setRectForMode0)
            .add("rectForMode1", &MosaicItem::rectForMode1, &MosaicItem::setRectForMode1)
            .add("startTime", &MosaicItem::startTime, &MosaicItem::setStartTime)
            .add("endTime", &MosaicItem::endTime, &MosaicItem::setEndTime);
    return table;
}
