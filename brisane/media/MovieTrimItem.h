#pragma once
// One kept segment of a clip: start and length in seconds, counted from the
// start of the clip's range on its source, with volume fades at its ends.
// `base` is where the segment begins in the joined output (media time, set by
// VCMovie::validTrimArray); baseStartTime / baseStopTime remember the clip's
// range on the source when the segment was made.
//
// Archived under "start", "duration", "fadeIn", "fadeOut"; the three media
// times are not archived.

#include <QString>

#include "lumenta/LMMediaTime.h"
#include "platform/CodingBase.h"

class MovieTrimItem : public CodingBase {
public:
    MovieTrimItem() = default;
    MovieTrimItem(double start, double duration, double fadeIn = 0.0, double fadeOut = 0.0);

    double start() const { return m_start; }
    void setStart(double v) { m_start = v; }
    double duration() const { return m_duration; }
    void setDuration(double v) { m_duration = v; }
    double fadeIn() const { return m_fadeIn; }
    void setFadeIn(double v) { m_fadeIn = v; }
    double fadeOut() const { return m_fadeOut; }
    void setFadeOut(double v) { m_fadeOut = v; }
    LMMediaTime base() const { return m_base; }
    void setBase(LMMediaTime v) { m_base = v; }
    LMMediaTime baseStartTime() const { return m_baseStartTime; }
    void setBaseStartTime(LMMediaTime v) { m_baseStartTime = v; }
    LMMediaTime baseStopTime() const { return m_baseStopTime; }
    void setBaseStopTime(LMMediaTime v) { m_baseStopTime = v; }

    // start + duration, in seconds.
    double stop() const { return m_start + m_duration; }
    // start, stop and duration in media time, truncated toward zero.
    LMMediaTime startTime() const;
    LMMediaTime stopTime() const;
    LMMediaTime durationTime() const;

    // "%f %f" of start and duration.
    QString description() const;

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    double m_start = 0.0;
    double m_duration = 0.0;
    double m_fadeIn = 0.0;
    double m_fadeOut = 0.0;
    LMMediaTime m_base = 0;
    LMMediaTime m_baseStartTime = 0;
    LMMediaTime m_baseStopTime = 0;
};
