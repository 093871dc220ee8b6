// The property refresh, the timing aids and tryBlock.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QStringList>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "common/PropertyNotifier.h"
#include "common/TryBlock.h"
#include "common/widgets/CommonFunctionThreads.h"

namespace {

// Collects the log lines written while it lives.
class LogCapture {
public:
    LogCapture()
    {
        lines().clear();
        previous_ = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(previous_); }
    static QStringList& lines()
    {
        static QStringList collected;
        return collected;
    }

private:
    static void handler(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        lines() << message;
    }
    QtMessageHandler previous_;
};

struct Recorder {
    QStringList events;
    void attach(PropertyNotifier& notifier)
    {
        QObject::connect(&notifier, &PropertyNotifier::willChangeValue,
                         [this](const QString& key) { events << "will " + key; });
        QObject::connect(&notifier, &PropertyNotifier::didChangeValue,
                         [this](const QString& key) { events << "did " + key; });
    }
};

void processEventsFor(int ms)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
}

}  // namespace

TEST(PropertyRefresh, WillChangeAtOnceDidChangeOnALaterPassOnMainThread)
{
    PropertyNotifier notifier;
    Recorder recorder;
    recorder.attach(notifier);
    CommonFunctionThreads::flushObject(&notifier, "playTime");
    EXPECT_EQ(recorder.events, QStringList{"will playTime"});
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.events, (QStringList{"will playTime", "did playTime"}));
}

TEST(PropertyRefresh, FromWorkerThreadDidChangeRunsOnMainThread)
{
    PropertyNotifier notifier;
    std::atomic<bool> willOnWorker = false;
    QThread* didThread = nullptr;
    QObject::connect(
        &notifier, &PropertyNotifier::willChangeValue, &notifier,
        [&](const QString&) { willOnWorker = QThread::currentThread() != qApp->thread(); },
        Qt::DirectConnection);
    QObject::connect(
        &notifier, &PropertyNotifier::didChangeValue, &notifier,
        [&](const QString&) { didThread = QThread::currentThread(); }, Qt::DirectConnection);
    std::thread worker([&] { CommonFunctionThreads::flushObject(&notifier, "status"); });
    worker.join();
    EXPECT_TRUE(willOnWorker);
    EXPECT_EQ(didThread, nullptr);  // the caller has returned; the loop has not run yet
    QCoreApplication::processEvents();
    EXPECT_EQ(didThread, qApp->thread());
}

TEST(PropertyRefresh, ObserveKeyRefreshesOnlyThatKeyAndDropsVanishedNotifier)
{
    int refreshed = 0;
    {
        PropertyNotifier notifier;
        QObject context;
        notifier.observeKey("enabled", &context, [&] { ++refreshed; });
        CommonFunctionThreads::flushObject(&notifier, "enabled");
        CommonFunctionThreads::flushObject(&notifier, "other");
        QCoreApplication::processEvents();
        EXPECT_EQ(refreshed, 1);
        CommonFunctionThreads::flushObject(&notifier, "enabled");
    }  // gone before the did-change is delivered
    QCoreApplication::processEvents();
    EXPECT_EQ(refreshed, 1);
    CommonFunctionThreads::flushObject(nullptr, "enabled");  // nothing, no crash
}

TEST(BackgroundWork, RunsMemberOnAnotherThreadAndKeepsObjectAlive)
{
    struct Worker {
        std::atomic<bool> ran = false;
        std::thread::id where;
        void work()
        {
            where = std::this_thread::get_id();
            ran = true;
        }
    };
    auto worker = std::make_shared<Worker>();
    std::weak_ptr<Worker> weak = worker;
    CommonFunctionThreads::object(worker, &Worker::work);
    auto keep = worker;
    worker.reset();
    for (int i = 0; i < 200 && !keep->ran; ++i) {
        QThread::msleep(5);
    }
    ASSERT_TRUE(keep->ran);
    EXPECT_NE(keep->where, std::this_thread::get_id());
}

TEST(TryBlock, StandardExceptionIsLoggedOnceAndCatchBlockRuns)
{
    LogCapture capture;
    int receiver = 0;
    bool caught = false;
    const bool ok = tryBlock(
        &receiver, [] { throw std::runtime_error("broken page"); }, [&] { caught = true; });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(caught);
    ASSERT_EQ(LogCapture::lines().size(), 1);
    EXPECT_TRUE(LogCapture::lines().first().startsWith("tryBlock <int: 0x"));
    EXPECT_TRUE(LogCapture::lines().first().contains("std::runtime_error: broken page"));
}

TEST(TryBlock, NoThrowLogsNothingAndOtherThrowsPassThrough)
{
    LogCapture capture;
    int receiver = 0;
    int ran = 0;
    EXPECT_TRUE(tryBlock(&receiver, [&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    EXPECT_THROW(tryBlock(&receiver, [] { throw 42; }), int);
    EXPECT_TRUE(LogCapture::lines().isEmpty());
}

TEST(TimeProfile, ReportsOnFirstCallThenNotWithinFiveSeconds)
{
    LogCapture capture;
    CommonFunctionThreads::timeProfileBlock([] {});
    ASSERT_EQ(LogCapture::lines().size(), 1);
    EXPECT_EQ(LogCapture::lines().first().split(' ').size(), 4);
    EXPECT_TRUE(LogCapture::lines().first().endsWith(" 1"));
    CommonFunctionThreads::timeProfileBlock([] {});
    CommonFunctionThreads::timeProfileBlock([] {});
    EXPECT_EQ(LogCapture::lines().size(), 1);
}

TEST(TimeProfile, TimeBlockLogsElapsedSeconds)
{
    LogCapture capture;
    CommonFunctionThreads::timeBlock([] { QThread::msleep(20); });
    ASSERT_EQ(LogCapture::lines().size(), 1);
    const double seconds = LogCapture::lines().first().toDouble();
    EXPECT_GE(seconds, 0.015);
    EXPECT_LT(seconds, 2.0);
}

TEST(WindowHelpers, ShowWindowNibShowsAndMousePointIsInViewCoordinates)
{
    QWidget window;
    window.setGeometry(100, 100, 200, 150);
    CommonFunctionThreads::showWindowNib(&window);
    EXPECT_TRUE(window.isVisible());
    CommonFunctionThreads::showWindowNib(&window);  // already visible: still fine
    EXPECT_TRUE(window.isVisible());
    QCursor::setPos(150, 160);
    const QPointF inView = CommonFunctionThreads::eventMousePointInView(&window);
    EXPECT_EQ(inView, window.mapFromGlobal(QCursor::pos()).toPointF());
    EXPECT_EQ(CommonFunctionThreads::eventMousePointInView(nullptr), QPointF());
    processEventsFor(1);
}
