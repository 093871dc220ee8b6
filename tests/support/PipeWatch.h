#pragma once
// Watches a reader that must not wait on the named pipe at `path`: unless
// the watch ends within its patience, it fails the running test and keeps
// opening the pipe for writing, so that a reader waiting there gets an end
// of file and the test goes on instead of hanging. Nothing is watched when
// `path` is no pipe.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace testsupport {

class PipeWatch {
public:
    // `reader` names what is watched, for the failure.
    PipeWatch(const QString& path, std::string reader,
              std::chrono::milliseconds patience = std::chrono::seconds(20));
    ~PipeWatch();
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;

private:
    void watch();

    QByteArray m_path;
    std::string m_reader;
    std::chrono::milliseconds m_patience;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_released = false;
    std::thread m_thread;
};

}  // namespace testsupport
