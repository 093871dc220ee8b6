#include "media/Composition.h"

#include <QDebug>
#include <cmath>

#include "platform/PropertyList.h"
#include "media/TransitionEffects.h"

const QString Composition::IndexKind = QStringLiteral("standardIndexes");

namespace {

double positiveOr(double value, double fallback)
{
    return std::isfinite(value) && value > 0.0 ? value : fallback;
}

double nonNegativeOr(double value, double fallback)
{
    return std::isfinite(value) && value >= 0.0 ? value : fallback;
}

}  // namespace

std::shared_ptr<Composition> Composition::compositionWithFile(const QString& path)
{
    auto description = PropertyList::readDictionary(path);
    if (!description) {
        return nullptr;
    }
    auto composition = compositionWithDescription(*description);
    if (!composition) {
        qWarning().noquote() << "Unknown transition kind in" << path;
    }
    return composition;
}

std::shared_ptr<Composition> Composition::compositionWithDescription(
    const Value::Dictionary& description)
{
    const QString kind = description.value(QStringLiteral("Kind")).toString().value_or(QString());
    if (kind != IndexKind && !TransitionEffects::knowsKind(kind)) {
        return nullptr;
    }
    auto composition = std::make_shared<Composition>();
    composition->m_kind = kind;
    composition->m_parameters = description;
    composition->m_timing.transitionTime =
        nonNegativeOr(composition->doubleParameter(QStringLiteral("TransitionTime"), 1.0), 1.0);
    return composition;
}

double Composition::doubleParameter(const QString& key, double fallback) const
{
    return m_parameters.value(key).toDouble().value_or(fallback);
}

QString Composition::stringParameter(const QString& key, const QString& fallback) const
{
    return m_parameters.value(key).toString().value_or(fallback);
}

void Composition::setTiming(double normalDuration, double firstRatio, double lastRatio)
{
    m_timing.normalDuration = positiveOr(normalDuration, 5.0);
    m_timing.firstRatio = nonNegativeOr(firstRatio, 1.0);
    m_timing.lastRatio = nonNegativeOr(lastRatio, 1.0);
}

void Composition::setTransitionTime(double seconds)
{
    m_timing.transitionTime = nonNegativeOr(seconds, m_timing.transitionTime);
}
