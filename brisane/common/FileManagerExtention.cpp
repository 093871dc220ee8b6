#include "common/FileManagerExtention.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtDebug>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The longest template the unique-file call takes, in UTF-8 bytes.
constexpr qsizetype maxTemplateBytes = 2047;
// mkstemps replaces six placeholders; the names carry eight random characters.
constexpr int placeholderCount = 8;
constexpr int mkstempsPlaceholders = 6;

struct TempRootState {
    QMutex mutex;
    std::unique_ptr<QLockFile> lock;
    bool ownRoot = false;  // another instance holds the shared root
};

TempRootState& tempRootState()
{
    static TempRootState state;
    return state;
}

QString sharedTempRoot()
{
    return QDir::tempPath() + QLatin1Char('/') + FileManagerExtention::bundleIdentifier() +
           QLatin1Char('-') + QString::number(getuid());
}

// Anything at the path, a dangling symbolic link included.
bool existsAtPath(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Removes a file, a link (never what it points to) or a folder with
// everything in it. Errors are ignored.
void removeItemAtPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) {
        QDir(path).removeRecursively();
    } else if (existsAtPath(path)) {
        QFile::remove(path);
    }
}

// Makes the temporary root (mode 0700) when missing and refuses one that is
// not a real folder of this user, so nothing is written where someone else
// could read or redirect it.
bool ensureTempRoot(const QString& root)
{
    const QByteArray native = QFile::encodeName(root);
    struct stat st {};
    if (lstat(native.constData(), &st) != 0) {
        QDir().mkpath(QFileInfo(root).absolutePath());
        if (mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
            qWarning("Cannot create the temporary folder %s: %s", native.constData(),
                     std::strerror(errno));
            return false;
        }
        if (lstat(native.constData(), &st) != 0) {
            return false;
        }
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != getuid()) {
        qWarning("The temporary folder %s is not a folder of this user", native.constData());
        return false;
    }
    if ((st.st_mode & 0777) != 0700) {
        chmod(native.constData(), 0700);
    }
    return true;
}

// The user's folder of that kind + the bundle identifier, created, links
// resolved.
QString userFolder(QStandardPaths::StandardLocation kind)
{
    const QString path = QStandardPaths::writableLocation(kind) + QLatin1Char('/') +
                         FileManagerExtention::bundleIdentifier();
    FileManagerExtention::createDirectoryAtPathIfCan(path);
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
}

QString createdSubfolder(const QString& folder, const QString& name)
{
    const QString path = folder + QLatin1Char('/') + name;
    FileManagerExtention::createDirectoryAtPathIfCan(path);
    return path;
}

}  // namespace

QString FileManagerExtention::bundleIdentifier()
{
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty()) {
        name = QStringLiteral("Brisane");
    }
    return QStringLiteral("org.brisane.") + name;
}

bool FileManagerExtention::claimTempRoot()
{
    TempRootState& state = tempRootState();
    {
        QMutexLocker locker(&state.mutex);
        if (!state.lock) {
            QDir().mkpath(QDir::tempPath());
            auto lock = std::make_unique<QLockFile>(sharedTempRoot() + QStringLiteral(".lock"));
            // The lock is held for the whole run: only a dead holder makes it stale.
            lock->setStaleLockTime(0);
            if (lock->tryLock(0)) {
                state.lock = std::move(lock);
                state.ownRoot = false;
            } else {
                if (lock->error() != QLockFile::LockFailedError) {
                    qWarning("Cannot lock the temporary folder %s", qPrintable(sharedTempRoot()));
                }
                state.ownRoot = true;
            }
        }
    }
    removeTempFiles();
    QMutexLocker locker(&state.mutex);
    return !state.ownRoot;
}

void FileManagerExtention::releaseTempRoot()
{
    TempRootState& state = tempRootState();
    QMutexLocker locker(&state.mutex);
    if (state.ownRoot) {
        removeItemAtPath(sharedTempRoot() + QLatin1Char('-') +
                         QString::number(QCoreApplication::applicationPid()));
        state.ownRoot = false;
    }
    state.lock.reset();
}

QString FileManagerExtention::tempUsedFileDirectory()
{
    TempRootState& state = tempRootState();
    QMutexLocker locker(&state.mutex);
    QString root = sharedTempRoot();
    if (state.ownRoot) {
        root += QLatin1Char('-') + QString::number(QCoreApplication::applicationPid());
    }
    return root;
}

QString FileManagerExtention::tempFileDirectory(const QString& name)
{
    return tempUsedFileDirectory() + QLatin1Char('/') + name;
}

QString FileManagerExtention::tempFilePath(const QString& name, const QString& extension)
{
    if (!ensureTempRoot(tempUsedFileDirectory())) {
        return {};
    }
    const QString folder = tempFileDirectory(name);
    createDirectoryAtPathIfCan(folder);

    const QString suffix = QLatin1Char('.') + extension;
    QByteArray path = QFile::encodeName(folder + QLatin1Char('/') +
                                        QString(placeholderCount, QLatin1Char('X')) + suffix);
    if (path.size() > maxTemplateBytes) {
        qWarning("The temporary file path is too long (%lld bytes): %s",
                 static_cast<long long>(path.size()), path.constData());
        return {};
    }
    // mkstemps draws the last six characters; the first two are drawn here.
    const int suffixBytes = static_cast<int>(QFile::encodeName(suffix).size());
    const qsizetype first = path.size() - suffixBytes - placeholderCount;
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int i = 0; i < placeholderCount - mkstempsPlaceholders; ++i) {
        path[first + i] = alphabet[QRandomGenerator::system()->bounded(int(sizeof alphabet - 1))];
    }
    const int fd = mkstemps(path.data(), suffixBytes);
    if (fd < 0) {
        qWarning("Cannot create a temporary file in %s: %s", qPrintable(folder),
                 std::strerror(errno));
        return {};
    }
    close(fd);
    return QFile::decodeName(path);
}

void FileManagerExtention::removeTempFiles()
{
    removeItemAtPath(tempUsedFileDirectory());
}

void FileManagerExtention::removeTempFile(const QString& name)
{
    removeItemAtPath(tempFileDirectory(name));
}

bool FileManagerExtention::createDirectoryAtPathIfCan(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    if (!existsAtPath(path) && !QDir().mkpath(path)) {
        qWarning("Cannot create the folder %s", qPrintable(path));
    }
    return QFileInfo(path).isDir();
}

void FileManagerExtention::prepareForCreateFilePath(const QString& path)
{
    removeItemAtPath(path);
    createDirectoryAtPathIfCan(QFileInfo(path).absolutePath());
}

bool FileManagerExtention::isDirectoryAtPath(const QString& path)
{
    return QFileInfo(path).isDir();
}

bool FileManagerExtention::isSymbolicLinkFileAtPath(const QString& path)
{
    return QFileInfo(path).isSymLink();
}

QString FileManagerExtention::fullPathWithNumberIncreaseIfExist(const QString& path)
{
    QString extension = QFileInfo(path).suffix();
    QString base = path;
    if (extension.isEmpty()) {
        extension = QStringLiteral("mov");
    } else {
        base.chop(extension.size() + 1);
    }
    QString candidate = base + QLatin1Char('.') + extension;
    for (int number = 1; existsAtPath(candidate); ++number) {
        candidate = base + QString::number(number) + QLatin1Char('.') + extension;
    }
    return candidate;
}

QString FileManagerExtention::defaultOutputPath()
{
    return userFolder(QStandardPaths::MoviesLocation);
}

QString FileManagerExtention::defaultOutputVideoPath()
{
    return userFolder(QStandardPaths::MoviesLocation);
}

QString FileManagerExtention::defaultOutputMusicPath()
{
    return userFolder(QStandardPaths::MusicLocation);
}

QString FileManagerExtention::defaultOutputScreenshotPath()
{
    return userFolder(QStandardPaths::PicturesLocation);
}

QString FileManagerExtention::defaultSaveDocumentPath()
{
    return userFolder(QStandardPaths::MoviesLocation);
}

QString FileManagerExtention::defaultRecordPath()
{
    return defaultOutputPath() + QStringLiteral("/RecordWavePath.mov");
}

QString FileManagerExtention::projectPath()
{
    return createdSubfolder(defaultSaveDocumentPath(), QStringLiteral("project"));
}

QString FileManagerExtention::libraryPath()
{
    return createdSubfolder(defaultSaveDocumentPath(), QStringLiteral("library"));
}

QString FileManagerExtention::applicationSupportPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QLatin1Char('/') + bundleIdentifier();
}
