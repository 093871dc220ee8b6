#pragma once
// The rules of the sheet's audio page, without widgets: the entries of the
// audio track menu, what choosing one selects on the movie, and the volume
// typed as a percentage.
//
// The menu has one entry "Audio Track <n>" per audio stream (n from 1, its
// tag the stream's index from 0), then "All Tracks" with the tag 99, which is
// there even for a source without audio. The tag of the chosen entry is what
// a clip stores (MediaData::audioTreamTag).
//
// Pure functions; any thread.

#include <QList>
#include <QString>
#include <optional>

#include "lumenta/IMovie.h"

class AudioTrackChoice {
public:
    AudioTrackChoice() = delete;

    static constexpr qint64 kAllTracksTag = 99;
    // The volume factor's bounds (0 % to 300 %).
    static constexpr float kMinimumVolume = 0.0f;
    static constexpr float kMaximumVolume = 3.0f;

    struct MenuEntry {
        QString title;
        qint64 tag = 0;
        bool operator==(const MenuEntry&) const = default;
    };

    // The menu for a movie with `streamCount` audio streams.
    static QList<MenuEntry> createSubMenuWithStreamsArray(qsizetype streamCount);

    // The streams to select on the movie for a chosen tag: that stream, or
    // stream 0 for "All Tracks"; nothing when the movie has no stream to
    // select (All Tracks without audio).
    static std::optional<IMovie::IndexSet> selectionForTag(qint64 tag, qsizetype streamCount);

    // The volume factor of a typed percentage: the text's number / 100,
    // held to 0 .. 3; text that is no number counts as 0.
    static float volumeFromPercentText(const QString& text);
    static float clampedVolume(float volume);
    // The percentage a volume factor shows, rounded.
    static int percentOfVolume(float volume);
};
