#pragma once
// A source file of the project: the file a clip, a page's music or a custom
// button picture was made from, and its copy in the project folder.
//
// Until the project is first saved or opened, path() is the imported file;
// from then on it is the copy "<project>/dvd-file/<savedFileName>", named by
// the SHA-256 of the imported path and the file's extension. The copy is a
// hard link where the volume allows, else a full copy; a copy whose source
// file changed (size or modification time) is made afresh.
//
// Archived under "name" and "savedFileName"; the path is not archived and is
// empty after decoding until loadSourceAtPath() sets it.

#include <QString>
#include <memory>

#include "platform/CodingBase.h"

class DVDFileSource : public CodingBase {
public:
    static inline const QString FolderName = QStringLiteral("dvd-file");

    // `file_path` = path, `name` = its file name without the extension,
    // `savedFileName` = shaString(path) + "." + the extension (the text after
    // the last dot of the file name; empty when there is none).
    static std::shared_ptr<DVDFileSource> sourceWithPath(const QString& path);

    QString path() const { return m_filePath; }
    QString originName() const { return m_name; }

    // Places the copy in `projectFolder`'s "dvd-file" folder; the path is
    // left as it is. Nothing is done when the file is missing (logged).
    // Answers whether the copy is there afterwards.
    bool saveSourceAtPath(const QString& projectFolder) const;
    // Writes `content` as the copy in `projectFolder`'s "dvd-file" folder, in
    // place of the file, which is gone: what the project still holds of it.
    // Answers whether the copy was written.
    bool saveContentAtPath(const QString& projectFolder, const QByteArray& content) const;
    // Points the path at the copy in `projectFolder` (not checked). A saved
    // name that is not a plain file name leaves the path empty (logged).
    void loadSourceAtPath(const QString& projectFolder);

    // 64 lowercase hexadecimal digits of the SHA-256 of the text's UTF-8
    // bytes; an empty text counts as five spaces.
    static QString shaString(const QString& text);

    // --- Properties ---
    QString file_path() const { return m_filePath; }
    void setFile_path(const QString& path) { m_filePath = path; }
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    QString savedFileName() const { return m_savedFileName; }
    void setSavedFileName(const QString& name) { m_savedFileName = name; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    // "<projectFolder>/dvd-file/<savedFileName>"; empty (logged) when the
    // saved name is not a plain file name.
    QString copyPath(const QString& projectFolder) const;

    QString m_filePath;
    QString m_name;
    QString m_savedFileName;
};
