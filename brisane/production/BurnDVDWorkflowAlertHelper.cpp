#include "production/BurnDVDWorkflowAlertHelper.h"

#include "common/widgets/AlertSheet.h"

int BurnDVDWorkflowAlertHelper::returnCode() const
{
    const std::lock_guard lock(m_mutex);
    return m_returnCode;
}

bool BurnDVDWorkflowAlertHelper::alertReturn() const
{
    const std::lock_guard lock(m_mutex);
    return m_alertReturn;
}

void BurnDVDWorkflowAlertHelper::alertDidEnd(int returnCode)
{
    const std::lock_guard lock(m_mutex);
    m_returnCode = returnCode;
    m_alertReturn = true;
}

std::shared_ptr<AlertSheet> BurnDVDWorkflowAlertHelper::sheet() const
{
    const std::lock_guard lock(m_mutex);
    return m_sheet;
}

void BurnDVDWorkflowAlertHelper::setSheet(const std::shared_ptr<AlertSheet>& sheet)
{
    bool dismissed = false;
    {
        const std::lock_guard lock(m_mutex);
        m_sheet = sheet;
        dismissed = m_dismissed;
    }
    if (dismissed && sheet) {
        sheet->dismiss();
    }
}

void BurnDVDWorkflowAlertHelper::dismissSheet()
{
    std::shared_ptr<AlertSheet> shown;
    {
        const std::lock_guard lock(m_mutex);
        m_dismissed = true;
        shown = m_sheet;
    }
    if (shown) {
        shown->dismiss();
    }
}

bool BurnDVDWorkflowAlertHelper::isDismissed() const
{
    const std::lock_guard lock(m_mutex);
    return m_dismissed;
}
