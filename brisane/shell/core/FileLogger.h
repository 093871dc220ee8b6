#pragma once
// The application's log file, "app.file.log" in the application-support
// folder. openLogger (first of all launch steps) sends the process's standard
// output and error into it, so every diagnostic line of every module ends up
// there, and has every finished tool run recorded.
//
// Diagnostic lines have the form
//     yyyy-MM-dd hh:mm:ss.zzz Brisane[pid:tid] text
// on standard error; the Qt message handler installed by openLogger writes
// qDebug/qInfo/qWarning lines in the same form. Each line is one write, so
// lines from different threads never mix; no lock is needed.
//
// The size cap (5 MB, applied at launch only): a larger log is replaced by a
// new one; otherwise the file grows across runs.

#include <QString>

#include "corvane/DVDToolTask.h"

class FileLogger {
public:
    static constexpr qint64 maxLogBytes = 5 * 1024 * 1024;

    // The shared logger, made on first use.
    static FileLogger& share();

    // The application-support folder + "/app.file.log".
    QString loggerPath() const;
    bool isLoggerAllowed() const { return true; }
    // Starts logging. Main thread, once, at launch. When the file cannot be
    // opened, the lines stay on the streams the process started with.
    void openLogger();
    // Writes the two lines of a finished tool run. Any thread.
    void taskDidTerminate(const QString& toolName, int status,
                          DVDToolTask::TerminationReason reason) const;
    // Shows the log file selected in the file browser.
    void showLoggerFile() const;

    // Writes one diagnostic line to standard error. Any thread.
    static void writeLine(const QString& text);
    // Routes Qt's messages through writeLine. Idempotent.
    static void installMessageHandler();

private:
    FileLogger() = default;

    int m_observer = 0;
};
