#include "videoedit/core/AudioTrackChoice.h"

#include <QObject>
#include <algorithm>
#include <cmath>

QList<AudioTrackChoice::MenuEntry> AudioTrackChoice::createSubMenuWithStreamsArray(
    qsizetype streamCount)
{
    QList<MenuEntry> entries;
    for (qsizetype i = 0; i < streamCount; ++i) {
        entries.append({QObject::tr("Audio Track %1").arg(i + 1), static_cast<qint64>(i)});
    }
    entries.append({QObject::tr("All Tracks"), kAllTracksTag});
    return entries;
}

std::optional<IMovie::IndexSet> AudioTrackChoice::selectionForTag(qint64 tag, qsizetype streamCount)
{
    if (tag == kAllTracksTag) {
        return streamCount > 0 ? std::optional(IMovie::IndexSet{0}) : std::nullopt;
    }
    return IMovie::IndexSet{static_cast<int>(tag)};
}

float AudioTrackChoice::volumeFromPercentText(const QString& text)
{
    bool ok = false;
    const double percent = text.trimmed().remove(QLatin1Char('%')).trimmed().toDouble(&ok);
    return clampedVolume(ok && std::isfinite(percent) ? static_cast<float>(percent / 100.0) : 0.0f);
}

float AudioTrackChoice::clampedVolume(float volume)
{
    if (!std::isfinite(volume)) {
        return kMinimumVolume;
    }
    return std::clamp(volume, kMinimumVolume, kMaximumVolume);
}

int AudioTrackChoice::percentOfVolume(float volume)
{
    return static_cast<int>(std::lround(static_cast<double>(volume) * 100.0));
}
