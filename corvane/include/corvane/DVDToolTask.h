#pragma once
// One run of a command-line tool: what to start, with which arguments, in
// which folder, with which environment and standard streams; then the run
// itself and how it ended.
//
// Configure it, then call launchAndWait once; it blocks the calling thread
// until the tool has exited. terminate may come from any other thread at any
// time: before the launch it keeps the tool from starting, during the run it
// asks the tool to stop (and kills it when it has not stopped after a few
// seconds).
//
// Standard input is the named file, or nothing (the null device) so that a
// tool never waits on our terminal. Standard output goes to the named file
// (created empty first), or to our own standard output; standard error always
// goes to ours, where the application keeps its log.
//
// Only a normal exit with status 0 counts as success: a tool that could not be
// started, crashed, was terminated or ended with another status has failed.
// Every failure is logged once with qWarning.
//
// Process-wide termination observers hear of every run that was started,
// once it has ended (the application's log keeps a line per tool run).

#include <QMutex>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class DVDToolTask {
public:
    enum class Outcome {
        NotRun,         // not launched (yet)
        Succeeded,      // normal exit, status 0
        FailedToStart,  // missing, not executable, or refused by terminate
        Failed,         // normal exit with another status
        Crashed,        // killed by a signal it was not sent by terminate
        Terminated,     // stopped through terminate
    };

    // How a started run ended.
    enum class TerminationReason {
        Exit = 1,            // the tool exited; the status is its exit status
        UncaughtSignal = 2,  // a signal ended it; the status is the signal's number
    };
    // Called on the thread that ran the tool, with the tool's file name. It
    // must not block or start a tool run itself.
    using TerminationObserver =
        std::function<void(const QString& toolName, int status, TerminationReason reason)>;
    // Any thread. Answers the id that removes the observer again.
    static int addTerminationObserver(TerminationObserver observer);
    static void removeTerminationObserver(int id);

    DVDToolTask() = default;
    DVDToolTask(const DVDToolTask&) = delete;
    DVDToolTask& operator=(const DVDToolTask&) = delete;

    // Configuration, set before the launch.
    QString launchPath() const { return m_launchPath; }
    void setLaunchPath(const QString& path) { m_launchPath = path; }
    QStringList arguments() const { return m_arguments; }
    void setArguments(const QStringList& arguments) { m_arguments = arguments; }
    QString currentDirectoryPath() const { return m_currentDirectory; }
    void setCurrentDirectoryPath(const QString& path) { m_currentDirectory = path; }
    // Empty: the tool inherits this program's environment. Otherwise exactly
    // the variables given, nothing else.
    std::optional<QProcessEnvironment> environment() const { return m_environment; }
    void setEnvironment(const QProcessEnvironment& environment) { m_environment = environment; }
    QString standardInputFile() const { return m_standardInput; }
    void setStandardInputFile(const QString& path) { m_standardInput = path; }
    QString standardOutputFile() const { return m_standardOutput; }
    void setStandardOutputFile(const QString& path) { m_standardOutput = path; }

    // Starts the tool and waits until it has exited. Call once.
    Outcome launchAndWait();
    // Any thread: keeps the tool from starting, or asks it to stop.
    void terminate();

    bool isRunning() const;
    bool terminateRequested() const;
    Outcome outcome() const;
    // The exit status of a normal exit; -1 otherwise.
    int terminationStatus() const;
    bool succeeded() const { return outcome() == Outcome::Succeeded; }

private:
    Outcome finish(Outcome outcome, int status);
    void notifyTermination(int status, TerminationReason reason) const;
    QString toolName() const;

    QString m_launchPath;
    QStringList m_arguments;
    QString m_currentDirectory;
    std::optional<QProcessEnvironment> m_environment;
    QString m_standardInput;
    QString m_standardOutput;

    mutable QMutex m_mutex;
    bool m_launched = false;
    bool m_running = false;
    bool m_terminateRequested = false;
    Outcome m_outcome = Outcome::NotRun;
    int m_status = -1;
};
