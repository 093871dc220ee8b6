#include "PipeWatch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>

namespace testsupport {

PipeWatch::PipeWatch(const QString& path, std::string reader, std::chrono::milliseconds patience)
    : m_path(QFile::encodeName(path)),
      m_reader(std::move(reader)),
      m_patience(patience),
      m_thread([this] { watch(); })
{
}

PipeWatch::~PipeWatch()
{
    m_stop = true;
    m_thread.join();
    if (m_released) {
        ADD_FAILURE() << m_reader << " waited on the pipe " << m_path.constData();
    }
}

void PipeWatch::watch()
{
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + m_patience;
    while (!m_stop) {
        std::this_thread::sleep_for(50ms);
        if (std::chrono::steady_clock::now() < deadline) {
            continue;
        }
        struct stat status {};
        if (::lstat(m_path.constData(), &status) != 0 || !S_ISFIFO(status.st_mode)) {
            return;
        }
        const int writer = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            m_released = true;
            ::close(writer);
        }
    }
}

}  // namespace testsupport
