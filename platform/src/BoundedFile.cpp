#include "platform/BoundedFile.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void setError(QString* error, const QString& message)
{
    if (error) {
        *error = message;
    }
}

}  // namespace

QString BoundedFile::invalidNameMessage()
{
    return QStringLiteral("the file name is not valid UTF-8; rename the file");
}

bool BoundedFile::hasUndecodableName(const QString& path)
{
    return path.contains(QChar::ReplacementCharacter);
}

bool BoundedFile::isRegularFile(const QString& path, QString* error)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0) {
        setError(error, hasUndecodableName(path) ? invalidNameMessage()
                                                 : QStringLiteral("no such file"));
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        setError(error, QStringLiteral("not a regular file"));
        return false;
    }
    return true;
}

std::optional<QByteArray> BoundedFile::read(const QString& path, qint64 limit, QString* error)
{
    if (!isRegularFile(path, error)) {
        return std::nullopt;
    }
    // Opened without blocking and looked at again through the handle: the
    // path may have been swapped for a pipe between the look and the open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (fd >= 0) {
            ::close(fd);
        }
        setError(error, fd < 0 ? QStringLiteral("cannot open the file")
                               : QStringLiteral("not a regular file"));
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setError(error, file.errorString());
        return std::nullopt;
    }
    if (status.st_size > limit) {
        setError(error, QStringLiteral("the file is too large"));
        return std::nullopt;
    }
    // In pieces, so that memory follows what is really there.
    constexpr qint64 Piece = 1 << 20;
    QByteArray content;
    content.reserve(static_cast<qsizetype>(qMin(status.st_size, limit) + 1));
    while (content.size() <= limit) {
        const QByteArray piece = file.read(qMin(Piece, limit + 1 - content.size()));
        if (piece.isEmpty()) {
            break;
        }
        content += piece;
    }
    if (content.size() > limit) {
        setError(error, QStringLiteral("the file is too large"));
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        setError(error, file.errorString());
        return std::nullopt;
    }
    return content;
}
