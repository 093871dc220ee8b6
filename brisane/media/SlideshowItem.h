#pragma once
// The transition settings of one slideshow: which transition (its main and
// index composition names), its pace and the seconds per photo the user chose.
// Archived under "SI_SlideshowName", "SI_ValidIndexsName", "SI_BestDuration",
// "SI_MaxDuration", "SI_FirstRatio", "SI_LastRatio", "SI_Duration"; absent
// keys read as empty or 0.

#include <QString>
#include <optional>

#include "platform/Object.h"

class SlideshowItem : public Object {
public:
    SlideshowItem() = default;

    // Takes a transition's information: the names and the pace; never
    // dDuration. An empty dictionary changes nothing; a missing number gives
    // 0, a missing name an empty name.
    void mergeFromDic(const std::optional<Value::Dictionary>& information);

    QString strSlideshowName() const { return m_slideshowName; }
    void setStrSlideshowName(const QString& v) { m_slideshowName = v; }
    QString strValidIndexsName() const { return m_validIndexsName; }
    void setStrValidIndexsName(const QString& v) { m_validIndexsName = v; }
    double dBestDuration() const { return m_bestDuration; }
    void setDBestDuration(double v) { m_bestDuration = v; }
    double dMaxDuration() const { return m_maxDuration; }
    void setDMaxDuration(double v) { m_maxDuration = v; }
    double dFirstRatio() const { return m_firstRatio; }
    void setDFirstRatio(double v) { m_firstRatio = v; }
    double dLastRatio() const { return m_lastRatio; }
    void setDLastRatio(double v) { m_lastRatio = v; }
    double dDuration() const { return m_duration; }
    void setDDuration(double v) { m_duration = v; }

    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();
    void encodeWithCoder(KeyedArchiver& coder) const override;
    bool initWithCoder(KeyedUnarchiver& coder) override;

private:
    QString m_slideshowName;
    QString m_validIndexsName;
    double m_bestDuration = 5.0;
    double m_maxDuration = 20.0;
    double m_firstRatio = 1.0;
    double m_lastRatio = 1.0;
    double m_duration = 5.0;
};
