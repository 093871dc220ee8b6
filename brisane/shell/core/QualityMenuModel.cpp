#include "shell/core/QualityMenuModel.h"

#include <algorithm>

#include "common/ValueTransformer.h"

QStringList QualityMenuModel::menuItemTitles()
{
    return {"Best Quality", "High Quality", "Standard", "Smaller", "Lower"};
}

QList<qint64> QualityMenuModel::qualityValueArray()
{
    return {8000, 6000, 4000, 2000, 500};
}

QualityMenuModel QualityMenuModel::setDvdQualityMenu(qint64 dvdBitrate)
{
    QualityMenuModel menu;
    const QStringList titles = menuItemTitles();
    const QList<qint64> values = qualityValueArray();
    std::optional<qsizetype> match;
    for (qsizetype tag = 0; tag < titles.size(); ++tag) {
        menu.m_entries.append({titles[tag], tag, Action::Preset});
        if (values[tag] == dvdBitrate) {
            match = tag;
        }
    }
    menu.m_entries.append({QString(), 0, Action::Separator});
    if (!match) {
        menu.m_entries.append({QString("%1 kbps").arg(dvdBitrate), 0, Action::ExistQuality});
    }
    menu.m_entries.append({"Custom Size", 0, Action::CustomSize});
    menu.m_selectedIndex = match.value_or(titles.size() + 1);
    return menu;
}

std::optional<qint64> QualityMenuModel::bitrateForPresetTag(qint64 tag)
{
    const QList<qint64> values = qualityValueArray();
    if (tag < 0 || tag >= values.size()) {
        return std::nullopt;
    }
    return values[tag];
}

qint64 QualityMenuModel::bitrateForExistQualityTitle(const QString& title)
{
    return ValueTransformer::intValue(Value(title));
}

qint64 QualityMenuModel::clampQualityValue(qint64 value)
{
    return std::min(std::max(value, minQualityValue), maxQualityValue);
}
