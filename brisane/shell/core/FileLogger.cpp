#include "shell/core/FileLogger.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QSysInfo>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

#include "common/FileManagerExtention.h"
#include "common/RevealService.h"

namespace {

double megabytes(qint64 bytes)
{
    return double(bytes) / 1024 / 1024;
}

void writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        done += written;
    }
}

void messageHandler(QtMsgType, const QMessageLogContext&, const QString& message)
{
    FileLogger::writeLine(message);
}

}  // namespace

FileLogger& FileLogger::share()
{
    static FileLogger logger;
    return logger;
}

QString FileLogger::loggerPath() const
{
    return FileManagerExtention::applicationSupportPath() + QStringLiteral("/app.file.log");
}

void FileLogger::openLogger()
{
    installMessageHandler();
    if (!m_observer) {
        m_observer = DVDToolTask::addTerminationObserver(
            [](const QString& toolName, int status, DVDToolTask::TerminationReason reason) {
                FileLogger::share().taskDidTerminate(toolName, status, reason);
            });
    }

    const QString path = loggerPath();
    const qint64 size = QFileInfo(path).size();
    writeLine(QString::asprintf("disk:%f M", megabytes(size)));
    if (size > maxLogBytes) {
        QFile::remove(path);
    }
    FileManagerExtention::createDirectoryAtPathIfCan(QFileInfo(path).absolutePath());

    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd > 0) {
        std::fflush(stdout);
        std::fflush(stderr);
        const int out = ::dup2(fd, STDOUT_FILENO);
        const int err = ::dup2(fd, STDERR_FILENO);
        writeLine(QString::asprintf("%d %d", out, err));
    } else {
        writeLine(QStringLiteral("Cannot open the log file %1").arg(path));
    }

    writeLine(QString::asprintf(
        "disk:%f M", megabytes(QStorageInfo(QFileInfo(path).absolutePath()).bytesAvailable())));
    writeLine(QStringLiteral("SystemVersion %1").arg(QSysInfo::prettyProductName()));
}

void FileLogger::taskDidTerminate(const QString& toolName, int status,
                                  DVDToolTask::TerminationReason reason) const
{
    // The second field is the notification's extra information, which a
    // tool run has none of.
    writeLine(QStringLiteral("task name %1 (null)").arg(toolName));
    writeLine(QString::asprintf("task exit %d %ld", status, static_cast<long>(reason)));
}

void FileLogger::showLoggerFile() const
{
    RevealService::current()->selectFile(loggerPath());
}

void FileLogger::writeLine(const QString& text)
{
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty()) {
        name = QStringLiteral("Brisane");
    }
    const QString line =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz ")) + name +
        QStringLiteral("[%1:%2] ").arg(::getpid()).arg(::gettid()) + text + QLatin1Char('\n');
    writeAll(STDERR_FILENO, line.toUtf8());
}

void FileLogger::installMessageHandler()
{
    qInstallMessageHandler(messageHandler);
}
