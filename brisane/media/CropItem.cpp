#include "media/CropItem.h"

#include <cmath>

#include "platform/ClassRegistry.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

BRISANE_REGISTER_CLASS(CropItem)

namespace {

bool near(double value, double reset)
{
    return std::abs(value - reset) <= 0.001 + 1e-12;
}

}  // namespace

void CropItem::reset()
{
    m_centerX = 0.5;
    m_centerY = 0.5;
    m_width = 1.0;
    m_height = 1.0;
}

bool CropItem::isCropped() const
{
    return !(near(m_centerX, 0.5) && near(m_centerY, 0.5) && near(m_width, 1.0) &&
             near(m_height, 1.0));
}

std::shared_ptr<CropItem> CropItem::copy() const
{
    auto crop = std::make_shared<CropItem>();
    crop->m_centerX = m_centerX;
    crop->m_centerY = m_centerY;
    crop->m_width = m_width;
    crop->m_height = m_height;
    return crop;
}

const PropertyTable& CropItem::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("dCenterXRatio", &CropItem::dCenterXRatio, &CropItem::setDCenterXRatio)
            .add("dCenterYRatio", &CropItem::dCenterYRatio, &CropItem::setDCenterYRatio)
            .add("dWidthRatio", &CropItem::dWidthRatio, &CropItem::setDWidthRatio)
            .add("dHeightRatio", &CropItem::dHeightRatio, &CropItem::setDHeightRatio);
    return table;
}

void CropItem::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeDouble(m_centerX, QStringLiteral("CI_CenterXRatio"));
    coder.encodeDouble(m_centerY, QStringLiteral("CI_CenterYRatio"));
    coder.encodeDouble(m_width, QStringLiteral("CI_WidthRatio"));
    coder.encodeDouble(m_height, QStringLiteral("CI_HeightRatio"));
}

bool CropItem::initWithCoder(KeyedUnarchiver& coder)
{
    m_centerX = coder.decodeDouble(QStringLiteral("CI_CenterXRatio"));
    m_centerY = coder.decodeDouble(QStringLiteral("CI_CenterYRatio"));
    m_width = coder.decodeDouble(QStringLiteral("CI_WidthRatio"));
    m_height = coder.decodeDouble(QStringLiteral("CI_HeightRatio"));
    return true;
}
