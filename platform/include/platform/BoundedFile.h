#pragma once
// Reads whole files that the program did not write itself (archives, property
// lists, subtitles, pictures) without trusting what the path names: only a
// regular file, after links are followed, is opened, so a named pipe cannot
// block the reader and a link to a device cannot feed it for ever; and no
// more than the caller's limit (plus one byte, to tell "too large") is read.

#include <QByteArray>
#include <QString>
#include <optional>

class BoundedFile {
public:
    // Whether `path` names a regular file once links are followed. When it
    // does not, `error` says why ("no such file", "not a regular file", or
    // that the name is not valid UTF-8).
    static bool isRegularFile(const QString& path, QString* error = nullptr);

    // The whole content of the regular file at `path`, at most `limit` bytes;
    // empty with the reason in `error` for anything else ("the file is too
    // large" past the limit).
    static std::optional<QByteArray> read(const QString& path, qint64 limit,
                                          QString* error = nullptr);

    // The message for a path whose name could not be decoded (it holds the
    // replacement character): the file cannot be opened through that name.
    static QString invalidNameMessage();
    static bool hasUndecodableName(const QString& path);
};
