#pragma once
// What the three production steps share (the dvdauthor, mkisofs and spumux
// runs): a preparing call stores the run, start performs it on the calling
// thread, progress compares file sizes, cancel stops it.
//
// start blocks until the run is over and tells whether it succeeded. A step
// is used for one run: a second start, a start without a prepared run, or a
// start after cancel does nothing and answers false. cancel and progress may
// come from any other thread while start runs; cancel terminates the running
// tool, and a cancelled run always counts as failed.

#include <QMutex>
#include <QString>
#include <functional>
#include <memory>

#include "corvane/DVDToolTask.h"

class DVDToolStep {
public:
    DVDToolStep() = default;
    virtual ~DVDToolStep();
    DVDToolStep(const DVDToolStep&) = delete;
    DVDToolStep& operator=(const DVDToolStep&) = delete;

    // Runs the prepared run to its end; true when it succeeded.
    bool start();
    // Cancels the run: before start it will not run at all, during it the
    // running tool is terminated.
    void cancel();
    bool isCancelled() const;

    // How far the run is, from the sizes of its files; 0 before it starts.
    virtual double progress() const = 0;

    // The tool of the current run; null before the run and after its exit.
    std::shared_ptr<DVDToolTask> task() const;

    // Bytes in the files directly inside `folder` (sub-folders count 0 and
    // are not entered); 0 for an empty path or an unreadable folder.
    static qint64 fileSizeForItem(const QString& folder);
    // Bytes of one file; 0 when it cannot be read.
    static qint64 fileSizeForFile(const QString& path);

protected:
    // Stores the run that start performs; it answers whether it succeeded.
    void setAction(std::function<bool()> action);
    // Launches `task` as this step's running tool, so that cancel reaches it,
    // and waits for its end.
    DVDToolTask::Outcome runTask(const std::shared_ptr<DVDToolTask>& task);

private:
    mutable QMutex m_mutex;
    std::function<bool()> m_action;
    std::shared_ptr<DVDToolTask> m_task;
    bool m_cancelled = false;
    bool m_started = false;
};
