#include "media/SlideshowItem.h"

#include "platform/ClassRegistry.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

BRISANE_REGISTER_CLASS(SlideshowItem)

namespace {

Value nameValue(const QString& name)
{
    return name.isNull() ? Value() : Value(name);
}

}  // namespace

void SlideshowItem::mergeFromDic(const std::optional<Value::Dictionary>& information)
{
    if (!information) {
        return;
    }
    auto number = [&](const char* key) {
        return information->value(QString::fromLatin1(key)).toDouble().value_or(0.0);
    };
    auto name = [&](const char* key) {
        return information->value(QString::fromLatin1(key)).toString().value_or(QString());
    };
    m_slideshowName = name("QuartzName");
    m_validIndexsName = name("QuartzIndex");
    m_bestDuration = number("NormalDuration");
    m_maxDuration = number("MaxDuration");
    m_firstRatio = number("FirstRatio");
    m_lastRatio = number("LastRatio");
}

const PropertyTable& SlideshowItem::properties()
{
    static const PropertyTable table =
        PropertyTable(Object::properties())
            .add("strSlideshowName", &SlideshowItem::strSlideshowName,
                 &SlideshowItem::setStrSlideshowName)
            .add("strValidIndexsName", &SlideshowItem::strValidIndexsName,
                 &SlideshowItem::setStrValidIndexsName)
            .add("dBestDuration", &SlideshowItem::dBestDuration, &SlideshowItem::setDBestDuration)
            .add("dMaxDuration", &SlideshowItem::dMaxDuration, &SlideshowItem::setDMaxDuration)
            .add("dFirstRatio", &SlideshowItem::dFirstRatio, &SlideshowItem::setDFirstRatio)
            .add("dLastRatio", &SlideshowItem::dLastRatio, &SlideshowItem::setDLastRatio)
            .add("dDuration", &SlideshowItem::dDuration, &SlideshowItem::setDDuration);
    return table;
}

void SlideshowItem::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeObject(nameValue(m_slideshowName), QStringLiteral("SI_SlideshowName"));
    coder.encodeObject(nameValue(m_validIndexsName), QStringLiteral("SI_ValidIndexsName"));
    coder.encodeDouble(m_bestDuration, QStringLiteral("SI_BestDuration"));
    coder.encodeDouble(m_maxDuration, QStringLiteral("SI_MaxDuration"));
    coder.encodeDouble(m_firstRatio, QStringLiteral("SI_FirstRatio"));
    coder.encodeDouble(m_lastRatio, QStringLiteral("SI_LastRatio"));
    coder.encodeDouble(m_duration, QStringLiteral("SI_Duration"));
}

bool SlideshowItem::initWithCoder(KeyedUnarchiver& coder)
{
    Object::initWithCoder(coder);
    m_slideshowName = coder.decodeString(QStringLiteral("SI_SlideshowName"));
    m_validIndexsName = coder.decodeString(QStringLiteral("SI_ValidIndexsName"));
    m_bestDuration = coder.decodeDouble(QStringLiteral("SI_BestDuration"));
    m_maxDuration = coder.decodeDouble(QStringLiteral("SI_MaxDuration"));
    m_firstRatio = coder.decodeDouble(QStringLiteral("SI_FirstRatio"));
    m_lastRatio = coder.decodeDouble(QStringLiteral("SI_LastRatio"));
    m_duration = coder.decodeDouble(QStringLiteral("SI_Duration"));
    return true;
}
