#include "UserFolders.h"

#include <QDir>
#include <QFile>

#include "TestSupport.h"

namespace testsupport {

UserFolders::UserFolders() : m_dir(makeTempDir())
{
    if (!m_dir.isValid()) {
        return;
    }
    for (const QString& folder : {home(), dataHome(), configHome(), tmp()}) {
        QDir().mkpath(folder);
    }
    set("HOME", home());
    set("XDG_DATA_HOME", dataHome());
    set("XDG_CONFIG_HOME", configHome());
    set("XDG_CACHE_HOME", root() + QStringLiteral("/cache"));
    set("TMPDIR", tmp());
}

UserFolders::~UserFolders()
{
    for (const auto& [name, old] : m_saved) {
        if (old.first) {
            qputenv(name.constData(), old.second);
        } else {
            qunsetenv(name.constData());
        }
    }
}

void UserFolders::set(const char* name, const QString& value)
{
    m_saved.append({name, {qEnvironmentVariableIsSet(name), qgetenv(name)}});
    qputenv(name, QFile::encodeName(value));
}

}  // namespace testsupport
