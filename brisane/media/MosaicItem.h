#pragma once
// One blurred region of a clip with its time range (start <= time < end, media
// time). Mode 0 blurs outside the rectangle, other modes inside it; each mode
// keeps a rectangle of its own (frame pixels), and mosaicRect is the one of
// the current mode.
//
// Archived under "mosaicRect", "startTime", "endTime". The mode is not
// archived, so a restored item is in mode 0 with the stored rectangle.

#include <QRectF>
#include <memory>

#include "lumenta/LMMediaTime.h"
#include "platform/CodingBase.h"

class MosaicItem : public CodingBase {
public:
    MosaicItem() = default;

    // A new item: mode 0, both rectangles zero, times 0.
    static std::shared_ptr<MosaicItem> initNewMosaic();

    int mosaicMode() const { return m_mosaicMode; }
    void setMosaicMode(int v) { m_mosaicMode = v; }
    QRectF rectForMode0() const { return m_rectForMode0; }
    void setRectForMode0(const QRectF& v) { m_rectForMode0 = v; }
    QRectF rectForMode1() const { return m_rectForMode1; }
    void setRectForMode1(const QRectF& v) { m_rectForMode1 = v; }
    LMMediaTime startTime() const { return m_startTime; }
    void setStartTime(LMMediaTime v) { m_startTime = v; }
    LMMediaTime endTime() const { return m_endTime; }
    void setEndTime(LMMediaTime v) { m_endTime = v; }

    QRectF mosaicRect() const;
    // Writes the rectangle of the current mode only.
    void setMosaicRect(const QRectF& rect);
    bool appliesAt(LMMediaTime time) const { return m_startTime <= time && time < m_endTime; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    int m_mosaicMode = 0;
    QRectF m_rectForMode0;
    QRectF m_rectForMode1;
    LMMediaTime m_startTime = 0;
    LMMediaTime m_endTime = 0;
};
