#include "dialogs/core/FontFaces.h"

#include <QFontDatabase>
#include <cstdlib>
#include <limits>

QStringList FontFaces::faces(const QString& family)
{
    return QFontDatabase::styles(family);
}

namespace {

// Italic and oblique faces are both slanted.
bool slanted(const QFont& font)
{
    return font.style() != QFont::StyleNormal;
}

}  // namespace

QString FontFaces::closestFace(const QString& family, int weight, bool italic)
{
    QString best;
    qint64 bestScore = std::numeric_limits<qint64>::max();
    for (const QString& face : faces(family)) {
        const QFont candidate = QFontDatabase::font(family, face, 12);
        // The slant first, then the weight; among equals the plainest face
        // (the shortest name: "Bold Oblique" before "Condensed Bold Oblique").
        const qint64 score = (slanted(candidate) == italic ? 0 : 1'000'000'000) +
                             qint64(std::abs(candidate.weight() - weight)) * 1000 + face.size();
        if (score < bestScore) {
            bestScore = score;
            best = face;
        }
    }
    return best;
}

QString FontFaces::faceOf(const QFont& font)
{
    const QStringList known = faces(font.family());
    if (!font.styleName().isEmpty() && known.contains(font.styleName())) {
        return font.styleName();
    }
    return closestFace(font.family(), font.weight(), slanted(font));
}

QFont FontFaces::font(const QString& family, const QString& face, double pointSize, int weight,
                      bool italic)
{
    QFont made(family);
    if (!face.isEmpty() && faces(family).contains(face)) {
        const QFont database = QFontDatabase::font(family, face, 12);
        made.setWeight(database.weight());
        made.setStyle(database.style());
        made.setStyleName(face);
    } else {
        made.setWeight(static_cast<QFont::Weight>(weight));
        made.setItalic(italic);
    }
    if (pointSize > 0) {
        made.setPointSizeF(pointSize);
    }
    return made;
}

QFont FontFaces::withFamily(const QFont& current, const QString& family)
{
    return font(family, closestFace(family, current.weight(), slanted(current)),
                current.pointSizeF(), current.weight(), slanted(current));
}

QFont FontFaces::withPointSize(const QFont& current, double pointSize)
{
    QFont sized = current;
    if (pointSize > 0) {
        sized.setPointSizeF(pointSize);
    }
    return sized;
}
