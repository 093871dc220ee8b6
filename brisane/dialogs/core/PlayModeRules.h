#pragma once
// The rules of the play mode dialog that need no window: the loop length
// choices, which one a project's settings select, and the page durations a
// choice writes.
//
// Loop titles are "5", "10", ... "60" followed by "Background Music Length".
// Under the music length every page runs as long as its trimmed music, or
// 15 seconds without music; a number title gives every page that many
// seconds.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class DVDPage;

class PlayModeRules {
public:
    static constexpr double kDurationWithoutMusic = 15.0;

    static QString musicLengthTitle() { return QStringLiteral("Background Music Length"); }
    // The twelve seconds titles.
    static QStringList secondsTitles();
    // The title selected on opening: the music length when the flag is set,
    // else "%.0f" of `duration`; empty when no title has that text.
    static QString selectedTitle(bool useMusicLength, double duration);
    // Writes every page's duration for `title`.
    static void saveMenuDurationToPages(const QList<std::shared_ptr<DVDPage>>& pages,
                                        const QString& title);
    // The colour as the dialog's well shows it (opaque) and the colour with an
    // opacity as the project keeps it.
    static QColor opaque(const QColor& color);
    static QColor withAlpha(const QColor& color, double alpha);
};
