#include "slideshow/PendingSortWndCtrl.h"

#include <QtDebug>

void PendingSortWndCtrl::setBlkSortCompleted(SortCompleted completed)
{
    m_completed = std::move(completed);
}

void PendingSortWndCtrl::startResortingItems(Photos&)
{
    qInfo("Photo sort sheet is not available yet; the order is unchanged");
    if (m_completed) {
        m_completed({});
    }
}
