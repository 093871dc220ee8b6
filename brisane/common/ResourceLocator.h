#pragma once
// Where the program's resources lie: beside the executable in the build tree,
// or in the installed resource folder once installed, which the build's
// installed layout names relative to the program's folder. Any thread.

#include <QString>

class ResourceLocator {
public:
    ResourceLocator() = delete;

    // The installed resource folder for an executable in `executableFolder`.
    static QString sharedResourceFolder(const QString& executableFolder);
    // The path of the resource `name` (a file or a folder): beside the
    // executable when it is there, else in the installed resource folder
    // when it is there, else the path beside the executable.
    static QString resourcePath(const QString& name, const QString& executableFolder);
    // The same for the running program.
    static QString resourcePath(const QString& name);
};
