#pragma once
// A menu page background: either a template picture in the bundle's
// "backgrounds" folder (isResource, archived by its path alone) or a user's
// picture held in memory as PNG and archived with the resource.

#include <QImage>
#include <memory>

#include "corvane/DVDLibraryResourceCoder.h"

class DVDMenuBackgroundResource : public DVDLibraryResourceCoder {
public:
    // A user picture: `path` is the file's full path and `image` the file read
    // and re-encoded as PNG. An unreadable file gives a null image.
    static std::shared_ptr<DVDMenuBackgroundResource> resourceWithPath(const QString& path);

    // A template background: "backgrounds/<file name>"; a user picture: its full path.
    QString path() const { return m_path; }
    void setPath(const QString& path) { m_path = path; }
    // A user picture's image; null for a template background.
    QImage image() const { return m_image; }
    void setImage(const QImage& image) { m_image = image; }
    bool isResource() const { return m_isResource; }
    void setIsResource(bool isResource) { m_isResource = isResource; }

    // The template picture read from the bundle at every call, or `image`.
    QImage backgroundImage() const;
    // Answers `path`.
    QString fullPath() const { return m_path; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    QString m_path;
    QImage m_image;
    bool m_isResource = false;
};
