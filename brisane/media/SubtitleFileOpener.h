#pragma once
// Opens a subtitle file for a clip: the file is read as text (see
// SubtitleEncodings, starting with the clip's chosen encoding), written as a
// UTF-8 copy into the temporary folder "open-Subtitle-Path" with the file's
// own extension, handed to the clip's movie, and the copy is deleted right
// after, also when the movie refuses it. The movie keeps its own copy, so its
// subtitles stay through later frames and seeks.
//
// The clip's media item always keeps the chosen path. A file that no
// encoding reads, and one the movie refuses, leave the clip without
// subtitles; the result says why, so the sheet can show it. A UTF-8 file with
// damaged bytes is shown with those bytes replaced; the result names its
// damaged lines.
//
// Logs "subtitle <0|1>" after every opening. Any thread: the sheet opens
// files on the main thread, a project load on its own.

#include <QList>
#include <QString>

#include "media/VCMovie.h"

class SubtitleFileOpener {
public:
    SubtitleFileOpener() = delete;

    // The temporary folder of the UTF-8 copies.
    static QString temporaryFolderName() { return QStringLiteral("open-Subtitle-Path"); }

    struct Result {
        bool hasSubtitle = false;
        // Why the file shows no subtitles; empty when it does.
        QString problem;
        // 1-based lines of a UTF-8 file that hold bytes that are not UTF-8.
        QList<int> damagedLines;
    };

    static Result openSubtitlePath(VCMovie& item, const QString& path);

private:
    static Result handToMovie(IMovie& movie, const QString& text, const QString& path);
    static QString refusalOf(const IMovie& movie);
};
