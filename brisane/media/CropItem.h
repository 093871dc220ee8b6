#pragma once
// The crop of a slideshow photo: centre and size as fractions of the picture
// it is applied to; the centre's y is measured from the picture's lower edge.
// Archived under "CI_CenterXRatio", "CI_CenterYRatio", "CI_WidthRatio",
// "CI_HeightRatio" (absent keys read as 0).

#include "platform/Object.h"

class CropItem : public Object {
public:
    CropItem() { reset(); }

    void reset();
    // False while every ratio lies within 0.001 of its reset value.
    bool isCropped() const;
    std::shared_ptr<CropItem> copy() const;

    double dCenterXRatio() const { return m_centerX; }
    void setDCenterXRatio(double v) { m_centerX = v; }
    double dCenterYRatio() const { return m_centerY; }
    void setDCenterYRatio(double v) { m_centerY = v; }
    double dWidthRatio() const { return m_width; }
    void setDWidthRatio(double v) { m_width = v; }
    double dHeightRatio() const { return m_height; }
    void setDHeightRatio(double v) { m_height = v; }

    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();
    void encodeWithCoder(KeyedArchiver& coder) const override;
    bool initWithCoder(KeyedUnarchiver& coder) override;

private:
    double m_centerX = 0.5;
    double m_centerY = 0.5;
    double m_width = 1.0;
    double m_height = 1.0;
};
