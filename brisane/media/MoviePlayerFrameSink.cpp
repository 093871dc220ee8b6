#include "media/MoviePlayerFrameSink.h"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>

#include "lumenta/LMDrawContext.h"

MoviePlayerFrameSink::MoviePlayerFrameSink(QObject* owner) : m_owner(owner) {}

void MoviePlayerFrameSink::requestStarted(const QSize& drawSize)
{
    std::lock_guard lock(m_mutex);
    ++m_pending;
    m_drawSize = drawSize;
}

int MoviePlayerFrameSink::pendingRequests() const
{
    std::lock_guard lock(m_mutex);
    return m_pending;
}

void MoviePlayerFrameSink::detach()
{
    std::lock_guard lock(m_mutex);
    m_owner = nullptr;
    m_frameArrived = nullptr;
    if (m_pending > 0) {
        m_self = shared_from_this();
    }
}

void MoviePlayerFrameSink::postToOwner(std::function<void()> task)
{
    std::unique_lock lock(m_mutex);
    if (!m_owner || !task) {
        return;
    }
    if (QThread::currentThread() == m_owner->thread()) {
        // The owner lives on this very thread, so it cannot go away meanwhile.
        lock.unlock();
        task();
        return;
    }
    // Posted while the lock is held: the owner cannot be destroyed in between,
    // and Qt drops the posted call if it is destroyed before it runs.
    QMetaObject::invokeMethod(m_owner, std::move(task), Qt::QueuedConnection);
}

void MoviePlayerFrameSink::setFrameArrived(std::function<void()> task)
{
    std::lock_guard lock(m_mutex);
    m_frameArrived = std::move(task);
}

QByteArray MoviePlayerFrameSink::imageData() const
{
    std::lock_guard lock(m_mutex);
    return m_imageData;
}

QImage MoviePlayerFrameSink::originImage() const
{
    std::lock_guard lock(m_mutex);
    return m_originImage;
}

QImage MoviePlayerFrameSink::effectImage() const
{
    std::lock_guard lock(m_mutex);
    return m_effectImage;
}

void MoviePlayerFrameSink::setImages(const QImage& origin, const QImage& effect)
{
    std::lock_guard lock(m_mutex);
    m_originImage = origin;
    m_effectImage = effect;
}

uint8_t* MoviePlayerFrameSink::movieFormatSize(IMovie*, const LMFFVideoFormat&, int32_t bytes)
{
    if (bytes <= 0) {
        return nullptr;
    }
    std::lock_guard lock(m_mutex);
    if (m_imageData.size() != bytes || !m_imageData.isDetached()) {
        if (!m_imageData.isEmpty()) {
            m_retiredData << m_imageData;
        }
        m_imageData = QByteArray(bytes, '\0');
    }
    return reinterpret_cast<uint8_t*>(m_imageData.data());
}

void MoviePlayerFrameSink::mediaImage(IMovie*, const QImage& image)
{
    std::lock_guard lock(m_mutex);
    m_originImage = image;
}

void MoviePlayerFrameSink::mediaEffectImage(IMovie*, const QImage& image)
{
    {
        std::lock_guard lock(m_mutex);
        m_effectImage = image;
    }
    answered();
}

void MoviePlayerFrameSink::fillImageBufferWithBlock(
    const std::function<void(LMDrawContext&)>& block)
{
    QSize size;
    {
        std::lock_guard lock(m_mutex);
        size = m_drawSize;
    }
    QImage picture;
    if (block && !size.isEmpty()) {
        LMDrawContext context(size.width(), size.height());
        block(context);
        picture = context.image();
    }
    setImages(picture, picture);
    answered();
}

void MoviePlayerFrameSink::answered()
{
    std::shared_ptr<MoviePlayerFrameSink> lastReference;  // released after the lock
    std::lock_guard lock(m_mutex);
    m_pending = qMax(m_pending - 1, 0);
    if (m_pending == 0) {
        m_retiredData.clear();
        lastReference = std::move(m_self);
    }
    if (m_owner && m_frameArrived) {
        QMetaObject::invokeMethod(m_owner, m_frameArrived, Qt::QueuedConnection);
    }
}
