#pragma once
// Names shared by the archive writer and reader.

#include <QString>

namespace archiveformat {

inline const QString Format = QStringLiteral("format");
inline const QString FormatName = QStringLiteral("brisane-archive");
inline const QString Version = QStringLiteral("version");
inline const QString Root = QStringLiteral("root");
inline const QString Objects = QStringLiteral("objects");
inline const QString Class = QStringLiteral("class");
inline const QString Keys = QStringLiteral("keys");
inline const QString Type = QStringLiteral("$t");
inline const QString Payload = QStringLiteral("v");

inline const QString Rect = QStringLiteral("rect");
inline const QString Size = QStringLiteral("size");
inline const QString Point = QStringLiteral("point");
inline const QString Image = QStringLiteral("image");
inline const QString Color = QStringLiteral("color");
inline const QString Font = QStringLiteral("font");
inline const QString Shadow = QStringLiteral("shadow");
inline const QString Data = QStringLiteral("data");
inline const QString Reference = QStringLiteral("ref");
inline const QString Dictionary = QStringLiteral("dict");

constexpr int CurrentVersion = 1;

}  // namespace archiveformat
