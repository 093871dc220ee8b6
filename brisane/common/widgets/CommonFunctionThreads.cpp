#include "common/widgets/CommonFunctionThreads.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <QtDebug>
#include <mutex>

#include "common/PropertyNotifier.h"

namespace {

double secondsNow()
{
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

// The running totals of timeProfileBlock. Locked, so that calls from several
// threads do not race; the totals then mix the threads' calls.
struct ProfileTotals {
    std::mutex mutex;
    int calls = 0;
    double sum = 0.0;
    double lastReport = 0.0;
};

ProfileTotals& profileTotals()
{
    static ProfileTotals totals;
    return totals;
}

}  // namespace

void CommonFunctionThreads::flushObject(PropertyNotifier* object, const QString& key)
{
    if (!object) {
        return;
    }
    object->willChangeValueForKey(key);
    auto* app = QCoreApplication::instance();
    if (!app) {
        qWarning() << "flushObject: no application, did-change of" << key << "not sent";
        return;
    }
    // Queued even on the main thread, so observers see it after the caller
    // has gone back to the event loop. The guard drops it when the object
    // has gone by then.
    QPointer<PropertyNotifier> guard(object);
    QMetaObject::invokeMethod(
        app,
        [guard, key] {
            if (guard) {
                guard->didChangeValueForKey(key);
            }
        },
        Qt::QueuedConnection);
}

void CommonFunctionThreads::timeBlock(const std::function<void()>& block)
{
    const double start = secondsNow();
    if (block) {
        block();
    }
    qInfo().noquote() << QString::asprintf("%f", secondsNow() - start);
}

void CommonFunctionThreads::timeProfileBlock(const std::function<void()>& block)
{
    const double start = secondsNow();
    if (block) {
        block();
    }
    const double end = secondsNow();
    ProfileTotals& totals = profileTotals();
    std::lock_guard lock(totals.mutex);
    totals.calls += 1;
    totals.sum += end - start;
    const double sinceReport = end - totals.lastReport;
    if (sinceReport <= 5.0) {
        return;
    }
    qInfo().noquote() << QString::asprintf("%f %f %f %d", totals.sum / std::max(totals.calls, 1),
                                           totals.calls / sinceReport, sinceReport, totals.calls);
    totals.lastReport = end;
    totals.calls = 0;
    totals.sum = 0.0;
}

void CommonFunctionThreads::showWindowNib(QWidget* window)
{
    if (!window) {
        return;
    }
    QWidget* top = window->window();
    top->show();
    top->raise();
    top->activateWindow();
}

QPointF CommonFunctionThreads::eventMousePointInView(const QWidget* view)
{
    if (!view) {
        return {};
    }
    return view->mapFromGlobal(QCursor::pos().toPointF());
}
