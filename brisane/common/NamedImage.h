#pragma once
// The application's named pictures, looked up by the names the code asks for
// ("DefaultImage", "TransparentButtonLeftN", "TransparentSliderThumbN.tiff").
//
// The pictures are PNG files in the Qt resource of this module under
// ":/common/images/<name>"; a name without an extension is also found with
// ".png" added. Each is decoded once and kept for the life of the process.
// Safe to call from any thread.

#include <QImage>
#include <QString>

class NamedImage {
public:
    NamedImage() = delete;

    // The picture, or a null image (logged once per name) when there is none.
    static QImage imageNamed(const QString& name);
    // The resource path the name resolves to, empty when there is none.
    static QString resourcePath(const QString& name);
};
