#pragma once
// The disc bitrate choices of the main window's quality pop-up: five presets,
// a separator, the project's own bitrate when no preset has it, and
// "Custom Size", which opens the custom bitrate panel. The pop-up is drawn
// from this model; choosing an entry gives the bitrate to store.
//
// Plain values and functions; any thread.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QualityMenuModel {
public:
    // The custom bitrate panel's bounds, in kbit/s.
    static constexpr qint64 minQualityValue = 500;
    static constexpr qint64 maxQualityValue = 8000;

    // What choosing an entry does.
    enum class Action {
        Preset,        // menuItemDVDQualityAction: the preset at `tag`
        ExistQuality,  // useExistQualityAction: the bitrate in the title
        CustomSize,    // openCustomDvdQualityWnd:
        Separator,     // nothing
    };
    struct Entry {
        QString title;
        qint64 tag = 0;
        Action action = Action::Separator;
    };

    // The preset titles and their bitrates, in menu order (tag = position).
    static QStringList menuItemTitles();
    static QList<qint64> qualityValueArray();

    // The menu for the project's bitrate and the entry to select: the preset
    // with that bitrate, or the "%ld kbps" entry added at position 6.
    static QualityMenuModel setDvdQualityMenu(qint64 dvdBitrate);

    // The bitrate of the preset at `tag`; none for a tag outside the presets.
    static std::optional<qint64> bitrateForPresetTag(qint64 tag);
    // The bitrate an entry's title shows: the integer its leading digits
    // (after blanks and a sign) make, 0 when there are none.
    static qint64 bitrateForExistQualityTitle(const QString& title);
    // A custom value raised to the minimum, then lowered to the maximum.
    static qint64 clampQualityValue(qint64 value);

    const QList<Entry>& entries() const { return m_entries; }
    qsizetype selectedIndex() const { return m_selectedIndex; }

private:
    QList<Entry> m_entries;
    qsizetype m_selectedIndex = 0;
};
