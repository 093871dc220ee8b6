#pragma once
// A user's own picture used as a play, previous or next button in place of a
// template button picture. It answers the template button names "12-pre",
// "12-play" and "12-next" by its type, so every role test that reads the
// name gives its role; its element type is its stored type (see ButtonType).
//
// The picture file is a project source (`fileSource`), copied into and
// re-pointed with the project like the others. Archived under "fileSource"
// and "type", which replace the template button's keys. Resources are equal
// only to themselves.

#include <QImage>
#include <memory>

#include "corvane/DVDLibraryButtonResource.h"

class DVDFileSource;

class CustomButtonImageResource : public DVDLibraryButtonResource {
public:
    // A resource over the picture file, of type 0; the caller sets the type.
    static std::shared_ptr<CustomButtonImageResource> createCustomButtonResourceWithPath(
        const QString& path);

    // "12-pre" for type 1, "12-play" for type 2, "12-next" otherwise.
    QString name() const override;
    // The picture read from the file at every call; null when unreadable.
    QImage image() const override;
    // True only for this very object.
    bool isEqualToResource(const Object* other) const override;

    std::shared_ptr<DVDFileSource> fileSource() const { return m_fileSource; }
    void setFileSource(const std::shared_ptr<DVDFileSource>& source) { m_fileSource = source; }
    // 1 previous, 2 play, any other value next.
    qint64 type() const { return m_type; }
    void setType(qint64 type) { m_type = type; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    std::shared_ptr<DVDFileSource> m_fileSource;
    qint64 m_type = 0;
};
