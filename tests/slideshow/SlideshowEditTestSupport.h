#pragma once
// Helpers of the slideshow editor tests: waiting on the main event loop,
// showing a window so it can take the keyboard focus, and pictures of
// windows for looking at.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace slideshowedit {

// Runs the main event loop until `done` holds or `ms` pass; answers `done`.
inline bool waitUntil(const std::function<bool()>& done, int ms = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Runs `then` on the main event loop once `ready` holds, checking every few
// milliseconds from a timer, without a nested event loop (so it can be set up
// before a modal run that must be driven from inside). After `ms` it reports
// a failure and runs `then` all the same, so that a sheet still gets closed.
inline void whenReady(const std::function<bool()>& ready, const std::function<void()>& then,
                      int ms = 20000)
{
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, ready, then, ms] {
        const bool done = ready();
        if (!done && clock->elapsed() <= ms) {
            return;
        }
        if (!done) {
            ADD_FAILURE() << "not ready after " << ms << " ms";
        }
        timer->stop();
        timer->deleteLater();
        delete clock;
        then();
    });
    timer->start(5);
}

// Shows the window and makes it the active one, so focus and keys reach it.
inline void showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

// Writes the window's picture into $BRISANE_TEST_ARTIFACTS (when set) as
// <name>.png; answers the path, empty when nothing was written.
inline QString writeArtifact(const QImage& picture, const QString& name)
{
    const QString folder = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
    if (folder.isEmpty()) {
        return {};
    }
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    return picture.save(path) ? path : QString();
}

}  // namespace slideshowedit
