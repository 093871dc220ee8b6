#include "dialogs/core/PreviewHideSchedule.h"

bool PreviewHideSchedule::valueChanged(qint64 now)
{
    const bool pending = m_changing && now < m_hideAt;
    m_changing = true;
    if (pending) {
        return false;
    }
    m_hideAt = now + kShowMs;
    return true;
}
