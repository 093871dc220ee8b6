#include "media/MovieTrimItem.h"

#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(MovieTrimItem)

namespace {

LMMediaTime toMediaTime(double seconds)
{
    return static_cast<LMMediaTime>(seconds * static_cast<double>(lm_default_time_base()));
}

}  // namespace

MovieTrimItem::MovieTrimItem(double start, double duration, double fadeIn, double fadeOut)
    : m_start(start), m_duration(duration), m_fadeIn(fadeIn), m_fadeOut(fadeOut)
{
}

LMMediaTime MovieTrimItem::startTime() const
{
    return toMediaTime(m_start);
}

LMMediaTime MovieTrimItem::stopTime() const
{
    return toMediaTime(stop());
}

LMMediaTime MovieTrimItem::durationTime() const
{
    return toMediaTime(m_duration);
}

QString MovieTrimItem::description() const
{
    return QString::asprintf("%f %f", m_start, m_duration);
}

QStringList MovieTrimItem::allCoderKeys() const
{
    return {QStringLiteral("start"), QStringLiteral("duration"), QStringLiteral("fadeIn"),
            QStringLiteral("fadeOut")};
}

const PropertyTable& MovieTrimItem::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("start", &MovieTrimItem::start, &MovieTrimItem::setStart)
            .add("duration", &MovieTrimItem::duration, &MovieTrimItem::setDuration)
            .add("fadeIn", &MovieTrimItem::fadeIn, &MovieTrimItem::setFadeIn)
            .add("fadeOut", &MovieTrimItem::fadeOut, &MovieTrimItem::setFadeOut)
            .add("base", &MovieTrimItem::base, &MovieTrimItem::setBase)
            .add("baseStartTime", &MovieTrimItem::baseStartTime, &MovieTrimItem::setBaseStartTime)
            .add("baseStopTime", &MovieTrimItem::baseStopTime, &MovieTrimItem::setBaseStopTime);
    return table;
}
