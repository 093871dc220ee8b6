#pragma once
// Finds the command-line tools Corvane runs (dvdauthor, spumux, mkisofs).
//
// A tool is looked for beside the program's executable first, then on PATH.
// For "mkisofs", "genisoimage" (the same program under its Debian name) is
// accepted as well. A tool that is found nowhere still gets a path: the one
// beside the executable, so that starting it fails with a clear message.
//
// Tests can replace the whole search by one folder (setToolFolder): then only
// that folder is searched, so a test decides exactly which tools exist. All
// functions may be called from any thread.

#include <QString>
#include <QStringList>

class DVDToolLocator {
public:
    // The path to start `tool` from (never empty for a non-empty name).
    static QString pathForTool(const QString& tool);
    // Whether pathForTool names an executable file.
    static bool isToolAvailable(const QString& tool);

    // The folder that holds the program's executable.
    static QString executableFolder();

    // Tests only: search nothing but `folder` (an empty string restores the
    // normal search).
    static void setToolFolder(const QString& folder);
    static QString toolFolder();

private:
    static QStringList namesForTool(const QString& tool);
    static QString findIn(const QString& folder, const QStringList& names);
};
