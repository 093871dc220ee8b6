#pragma once
// File helpers of the slideshow's project folders ("slideshow-photo",
// "slideshow-audio").

#include <QString>

namespace SlideshowFiles {

inline const QString PhotoFolderName = QStringLiteral("slideshow-photo");
inline const QString AudioFolderName = QStringLiteral("slideshow-audio");

// True for a name that stays inside a folder: not empty, no separator, not
// "." or "..". Names read from a project file are checked with it before use.
bool isPlainFileName(const QString& name);

// Puts `source` (the file itself when it is a link) at `target` as a hard
// link, or a copy when linking fails, only when the source exists and the
// target does not; makes the target's folder.
// Answers whether the target exists afterwards (logged when not).
bool linkOrCopy(const QString& source, const QString& target);

// Lowercase hexadecimal SHA-256 of the text's UTF-8 bytes.
QString sha256Hex(const QString& text);

}  // namespace SlideshowFiles
