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
