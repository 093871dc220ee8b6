#pragma once
// Points HOME, the XDG folders and TMPDIR at fresh folders of one test, so
// that everything the program writes into the user's folders (settings, log,
// output, temporary root) lands there. The previous values come back when the
// object goes.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <utility>

namespace testsupport {

class UserFolders {
public:
    UserFolders();
    ~UserFolders();
    UserFolders(const UserFolders&) = delete;
    UserFolders& operator=(const UserFolders&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    // The folder holding them all.
    QString root() const { return m_dir.path(); }
    QString home() const { return root() + QStringLiteral("/home"); }
    QString dataHome() const { return root() + QStringLiteral("/data"); }
    QString configHome() const { return root() + QStringLiteral("/config"); }
    QString tmp() const { return root() + QStringLiteral("/tmp"); }

private:
    void set(const char* name, const QString& value);

    QTemporaryDir m_dir;
    // Each variable touched, with whether it was set and its old value.
    QList<std::pair<QByteArray, std::pair<bool, QByteArray>>> m_saved;
};

}  // namespace testsupport
