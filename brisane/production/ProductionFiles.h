#pragma once
// The file operations of production that must never lose a user's files:
// what may be cleared from an output path before a result is moved there,
// and a move that also works across file systems. Any thread.

#include <QString>
#include <QStringList>

class ProductionFiles {
public:
    ProductionFiles() = delete;

    // Whether the path holds nothing production could not have put there
    // itself: nothing at all, an empty regular file (a reserved temporary
    // name) or an empty folder. Symbolic links never count.
    static bool isPlaceholder(const QString& path);
    // Removes a placeholder; true when nothing is at the path afterwards.
    // Anything else is left alone and answers false.
    static bool removePlaceholder(const QString& path);

    // Moves a file or a folder with everything in it to `to` (nothing may be
    // there). A rename when it can; else a copy, then the source is removed.
    // A failed copy leaves nothing at `to`. False with `error` set on failure.
    static bool moveItem(const QString& from, const QString& to, QString* error);

    // The names directly inside a folder, sorted; empty when it cannot be read.
    static QStringList entryNames(const QString& folder);
    // Removes a file or a folder with everything in it; silent when missing.
    static void removeItem(const QString& path);

    // The bytes free to this user on the file system of `path` (of its
    // nearest existing folder); -1 when it cannot be read.
    static qint64 freeBytesAt(const QString& path);
};
