#include "lumenta/EffectManager.h"

#include <QList>
#include <utility>

namespace {

const QList<std::pair<QString, QString>>& effects()
{
    static const QList<std::pair<QString, QString>> table{
        {QStringLiteral("Gray"), QStringLiteral("hue=s=0")},
        {QStringLiteral("Sepia"),
         QStringLiteral("colorchannelmixer=.393:.769:.189:0:.349:.686:.168:0:.272:.534:.131")},
        {QStringLiteral("Invert"), QStringLiteral("negate")},
        {QStringLiteral("Vintage"), QStringLiteral("curves=preset=vintage")},
        {QStringLiteral("Cool"), QStringLiteral("colorbalance=rs=-0.15:bs=0.15:rm=-0.1:bm=0.1")},
        {QStringLiteral("Warm"), QStringLiteral("colorbalance=rs=0.15:bs=-0.15:rm=0.1:bm=-0.1")},
        {QStringLiteral("Blur"), QStringLiteral("gblur=sigma=4")},
        {QStringLiteral("Sharpen"), QStringLiteral("unsharp=5:5:1.5")},
    };
    return table;
}

}  // namespace

QStringList EffectManager::allFilterNames()
{
    QStringList names;
    for (const auto& effect : effects()) {
        names << effect.first;
    }
    return names;
}

QString EffectManager::filterChainForName(const QString& name)
{
    for (const auto& effect : effects()) {
        if (effect.first == name) {
            return effect.second;
        }
    }
    return {};
}
