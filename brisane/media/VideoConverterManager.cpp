#include "media/VideoConverterManager.h"

#include <QFileInfo>
#include <mutex>

namespace {

std::mutex sourceLock;
std::function<int()>& countSource()
{
    static std::function<int()> source;
    return source;
}

}  // namespace

void VideoConverterManager::setMaxConvertCountSource(std::function<int()> source)
{
    std::lock_guard lock(sourceLock);
    countSource() = std::move(source);
}

int VideoConverterManager::getMaxConvertCount()
{
    std::function<int()> source;
    {
        std::lock_guard lock(sourceLock);
        source = countSource();
    }
    return qMax(1, source ? source() : 1);
}

VideoConverterManager::Jobs VideoConverterManager::filtered(
    const std::function<bool(const VCVideoConverter&)>& test) const
{
    Jobs jobs;
    for (const auto& job : m_converters) {
        if (job && test(*job)) {
            jobs << job;
        }
    }
    return jobs;
}

VideoConverterManager::Jobs VideoConverterManager::currentConverting() const
{
    return filtered([](const VCVideoConverter& j) { return j.isRunning(); });
}

VideoConverterManager::Jobs VideoConverterManager::currentPausedConvert() const
{
    return filtered([](const VCVideoConverter& j) { return j.isPaused(); });
}

VideoConverterManager::Jobs VideoConverterManager::currentFinishedConvert() const
{
    return filtered([](const VCVideoConverter& j) { return j.isFinished() || j.isCanceled(); });
}

VideoConverterManager::Jobs VideoConverterManager::currentCanceledConvert() const
{
    return filtered([](const VCVideoConverter& j) { return j.isCanceled(); });
}

VideoConverterManager::Jobs VideoConverterManager::currentReadyConvert() const
{
    return filtered([](const VCVideoConverter& j) { return j.isReady(); });
}

bool VideoConverterManager::isConvertingFinish() const
{
    return currentFinishedConvert().size() == m_converters.size();
}

void VideoConverterManager::cancelAllOperations()
{
    for (const auto& job : m_converters) {
        if (job) {
            job->cancel();
        }
    }
}

QStringList VideoConverterManager::allValidConvertedFiles() const
{
    QStringList paths;
    for (const auto& job : m_converters) {
        if (job && !job->path().isEmpty() && QFileInfo::exists(job->path())) {
            paths << job->path();
        }
    }
    return paths;
}

VCVideoConverter::Ptr VideoConverterManager::findNextMediaToConvert(
    const VCVideoConverter* from) const
{
    const qsizetype count = m_converters.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (m_converters[i].get() == from) {
            start = i;
            break;
        }
    }
    for (qsizetype step = 0; step < count; ++step) {
        const auto& job = m_converters[(start + step) % count];
        if (job && job->isReady()) {
            return job;
        }
    }
    return nullptr;
}

void VideoConverterManager::converterDidPaused(VCVideoConverter*)
{
    startMoreMediaConvert();
}

void VideoConverterManager::converterDidResume(VCVideoConverter*)
{
    startMoreMediaConvert();
}

void VideoConverterManager::startMoreMediaConvert()
{
    converterDidFinished(nullptr);
}

void VideoConverterManager::convertersDidFinished()
{
    if (m_delegate) {
        m_delegate->convertersDidFinished();
    }
}
