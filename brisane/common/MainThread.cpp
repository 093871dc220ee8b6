#include "common/MainThread.h"

#include <QCoreApplication>
#include <QThread>

bool MainThread::isCurrent()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return !application || QThread::currentThread() == application->thread();
}

void MainThread::call(const std::function<void()>& work)
{
    if (!work) {
        return;
    }
    if (isCurrent()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), work, Qt::BlockingQueuedConnection);
}
