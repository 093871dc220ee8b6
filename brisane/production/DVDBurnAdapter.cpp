#include "production/DVDBurnAdapter.h"

#include "corvane/DVDBurn.h"

DVDBurnAdapter::~DVDBurnAdapter()
{
    QObject::disconnect(m_changed);
}

double DVDBurnAdapter::progress() const
{
    return m_burner->progress();
}

void DVDBurnAdapter::cancel()
{
    m_burner->cancel();
}

qint64 DVDBurnAdapter::mediaWritableSpace() const
{
    return m_burner->mediaWritableSpace();
}

bool DVDBurnAdapter::mediaIsBlank() const
{
    return m_burner->mediaIsBlank();
}

bool DVDBurnAdapter::hasDevice() const
{
    return m_burner->isValid();
}

void DVDBurnAdapter::prepareForBurn()
{
    m_burner->prepareForBurn();
}

bool DVDBurnAdapter::burnISOPath(const QString& path)
{
    return m_burner->burnISOPath(path);
}

bool DVDBurnAdapter::isFinished() const
{
    return m_burner->isFinished();
}

bool DVDBurnAdapter::isFailed() const
{
    return m_burner->isFailed();
}

bool DVDBurnAdapter::isBurning() const
{
    return m_burner->isBurning();
}

QString DVDBurnAdapter::statusText() const
{
    return DVDBurn::describeDictionary(m_burner->status());
}

void DVDBurnAdapter::setChangeHandler(std::function<void()> changed)
{
    QObject::disconnect(m_changed);
    m_changed = {};
    if (changed && m_burner) {
        m_changed = QObject::connect(m_burner, &DVDBurn::burnStateChanged, m_burner,
                                     std::move(changed), Qt::DirectConnection);
    }
}
