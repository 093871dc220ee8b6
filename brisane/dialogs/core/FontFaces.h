#pragma once
// The faces of a font family (its styles: "Regular", "Bold", "Italic"...)
// and the fonts made from them, so that the text style panel keeps a text's
// weight and slant when its size or family changes. Main thread (the font
// database).

#include <QFont>
#include <QString>
#include <QStringList>

class FontFaces {
public:
    FontFaces() = delete;

    // The faces of `family` in the font database's order; empty for an
    // unknown family.
    static QStringList faces(const QString& family);
    // The face of `family` closest to `weight` and `italic` (italic or
    // oblique): the same slant first, then the nearest weight, then the
    // plainest name; empty when the family has no faces.
    static QString closestFace(const QString& family, int weight, bool italic);
    // The face `font` shows: its style name, else the face closest to its
    // weight and slant.
    static QString faceOf(const QFont& font);
    // A font of `family` in `face` at `pointSize`. Without a face (a family
    // the database does not list), the family at that size keeping
    // `weight` and `italic`.
    static QFont font(const QString& family, const QString& face, double pointSize,
                      int weight = QFont::Normal, bool italic = false);
    // `current` moved to `family`: the face closest to its weight and
    // slant, at its size.
    static QFont withFamily(const QFont& current, const QString& family);
    // `current` at `pointSize`, face kept.
    static QFont withPointSize(const QFont& current, double pointSize);
};
