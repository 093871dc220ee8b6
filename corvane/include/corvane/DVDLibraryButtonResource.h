#pragma once
// A template button: one picture in the bundle's "buttons" folder. Its name
// is the file name without extension and ends with the button's role, "play",
// "pre" or "next". Open to subclassing: the application's own user-picture
// buttons replace name, image, isEqualToResource and the key list.

#include <QImage>

#include "corvane/DVDLibraryResourceCoder.h"

class DVDLibraryButtonResource : public DVDLibraryResourceCoder {
public:
    // Relative to the template bundle: "buttons/<file name>".
    QString path() const { return m_path; }
    void setPath(const QString& path) { m_path = path; }

    // The picture, read from the template bundle at every call; null when missing.
    virtual QImage image() const;
    // Same class (or a subclass), same path and same name. A resource whose
    // path or name is empty equals nothing.
    virtual bool isEqualToResource(const Object* other) const;

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    QString m_path;
};
