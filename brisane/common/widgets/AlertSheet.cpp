#include "common/widgets/AlertSheet.h"

#include <QMutexLocker>
#include <utility>

#include "common/widgets/AlertService.h"

AlertSheet::AlertSheet(AlertContent content)
    : m_content(std::move(content)), m_returnCode(AlertService::OtherReturn)
{
}

void AlertSheet::setButtonEnabled(int returnCode, bool enabled)
{
    std::function<void()> changed;
    {
        QMutexLocker locker(&m_mutex);
        if (m_enabled.value(returnCode, true) == enabled) {
            return;
        }
        m_enabled.insert(returnCode, enabled);
        changed = m_buttonsChanged;
    }
    if (changed) {
        changed();
    }
}

bool AlertSheet::isButtonEnabled(int returnCode) const
{
    QMutexLocker locker(&m_mutex);
    return m_enabled.value(returnCode, true);
}

bool AlertSheet::hasEnded() const
{
    QMutexLocker locker(&m_mutex);
    return m_ended;
}

int AlertSheet::returnCode() const
{
    QMutexLocker locker(&m_mutex);
    return m_returnCode;
}

bool AlertSheet::end(int returnCode)
{
    std::function<void()> ended;
    {
        QMutexLocker locker(&m_mutex);
        if (m_ended) {
            return false;
        }
        m_ended = true;
        m_returnCode = returnCode;
        ended = m_endedHandler;
    }
    if (ended) {
        ended();
    }
    return true;
}

void AlertSheet::dismiss()
{
    std::function<void()> takeAway;
    std::function<void()> ended;
    {
        QMutexLocker locker(&m_mutex);
        if (m_ended) {
            return;
        }
        m_ended = true;
        m_returnCode = AlertService::OtherReturn;
        takeAway = m_dismiss;
        ended = m_endedHandler;
    }
    if (takeAway) {
        takeAway();
    }
    if (ended) {
        ended();
    }
}

void AlertSheet::setEndHandler(std::function<void()> handler)
{
    bool endedAlready = false;
    {
        QMutexLocker locker(&m_mutex);
        m_endedHandler = handler;
        endedAlready = m_ended;
    }
    if (endedAlready && handler) {
        handler();
    }
}

void AlertSheet::setDismissHandler(std::function<void()> handler)
{
    QMutexLocker locker(&m_mutex);
    m_dismiss = std::move(handler);
}

void AlertSheet::setButtonsChangedHandler(std::function<void()> handler)
{
    QMutexLocker locker(&m_mutex);
    m_buttonsChanged = std::move(handler);
}
