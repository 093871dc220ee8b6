#pragma once
// Writes a picture made by a test where a person can look at it: flattened on
// mid grey, enlarged three times, under $BRISANE_TEST_TMP/pictures (or the
// system temporary folder).

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>

inline QString savePictureForViewing(const QImage& image, const QString& name)
{
    QString root = qEnvironmentVariable("BRISANE_TEST_TMP");
    if (root.isEmpty()) {
        root = QDir::tempPath();
    }
    const QString folder = root + QStringLiteral("/pictures");
    QDir().mkpath(folder);
    QImage flat(image.size() * 3, QImage::Format_RGB32);
    flat.fill(QColor(128, 128, 128));
    QPainter painter(&flat);
    painter.drawImage(flat.rect(), image);
    painter.end();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    flat.save(path);
    return path;
}
