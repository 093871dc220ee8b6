#include "platform/ThreadBudget.h"

#include <QThread>
#include <QtGlobal>

int ThreadBudget::cores()
{
    return qBound(1, QThread::idealThreadCount(), mostCores);
}
