#pragma once
// Every folder the program uses, in one place: the temporary root and unique
// temporary files in it, the default output folders in the user's home, the
// application-support folder, folder creation and numbered file names.
//
// Folder names that depend on the program use bundleIdentifier(). Paths are
// worked out at every call from the environment (HOME, the XDG_* variables,
// TMPDIR), never cached.
//
// The temporary root belongs to one user and one running instance:
//   <QDir::tempPath()>/<bundle id>-<uid>          (mode 0700)
// The instance that holds the lock file "<root>.lock" (claimTempRoot) owns
// it and wipes it at launch. Another instance running at the same time works
// in "<root>-<pid>" instead and removes that at quit (releaseTempRoot), so it
// never touches the first one's work.
//
// Failures: removals ignore errors; creations log a line; tempFilePath
// answers an empty path (and logs why) when no file could be made.
// Any thread, except claimTempRoot/releaseTempRoot (main thread, at launch
// and quit).

#include <QString>

class FileManagerExtention {
public:
    FileManagerExtention() = delete;

    // The program's identifier in folder names ("org.brisane.Brisane").
    static QString bundleIdentifier();

    // --- temporary files ---------------------------------------------------

    // At launch: takes the lock beside the temporary root and, holding it,
    // empties the root. When another instance holds the lock, this process
    // switches to a root of its own and empties that. Answers whether this
    // process owns the shared root.
    static bool claimTempRoot();
    // At quit: a root of its own is removed; the lock is let go.
    static void releaseTempRoot();

    // The temporary root. Not created here.
    static QString tempUsedFileDirectory();
    // The temporary root + "/" + name. Not created here.
    static QString tempFileDirectory(const QString& name);
    // A new empty file "XXXXXXXX.<extension>" (eight random characters) in
    // the named temporary folder, which is created when missing. Empty, with
    // a log line, when the file could not be made (also for a path over 2047
    // bytes in UTF-8).
    static QString tempFilePath(const QString& name, const QString& extension);
    // Removes the temporary root with everything in it; silent when missing.
    static void removeTempFiles();
    // Removes the named temporary folder with everything in it.
    static void removeTempFile(const QString& name);

    // --- folders and files -------------------------------------------------

    // When nothing exists at the path, creates a folder there with its
    // parents; when anything exists there (a file too), leaves it alone.
    // Answers whether a folder is there afterwards.
    static bool createDirectoryAtPathIfCan(const QString& path);
    // Removes whatever is at the path, then creates its parent folder.
    static void prepareForCreateFilePath(const QString& path);
    // Whether something exists at the path and it is a folder.
    static bool isDirectoryAtPath(const QString& path);
    // Whether the item at the path itself (not followed) is a symbolic link.
    static bool isSymbolicLinkFileAtPath(const QString& path);
    // The first free variant of the path: a path without an extension gets
    // "mov"; while something exists there, "<folder>/<base><n>.<ext>" with
    // n = 1, 2, 3 ...
    static QString fullPathWithNumberIncreaseIfExist(const QString& path);

    // --- user folders ------------------------------------------------------
    // Each is the user's folder of that kind + "/" + bundle identifier,
    // created when missing, symbolic links resolved.

    static QString defaultOutputPath();            // video folder
    static QString defaultOutputVideoPath();       // video folder
    static QString defaultOutputMusicPath();       // music folder
    static QString defaultOutputScreenshotPath();  // picture folder
    static QString defaultSaveDocumentPath();      // video folder
    // defaultOutputPath() + "/RecordWavePath.mov"; not created.
    static QString defaultRecordPath();
    // defaultSaveDocumentPath() + "/project", created when missing.
    static QString projectPath();
    // defaultSaveDocumentPath() + "/library", created when missing.
    static QString libraryPath();
    // The user's data folder + "/" + bundle identifier. Not created here.
    static QString applicationSupportPath();
};
