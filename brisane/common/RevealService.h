#pragma once
// Shows a file or folder selected in a window of the user's file browser,
// replaceable as a whole: the program asks the desktop
// (DesktopRevealService), tests install a recording fake. Main thread;
// returns at once.

#include <QString>
#include <functional>
#include <memory>

class RevealService {
public:
    virtual ~RevealService();

    virtual void selectFile(const QString& path) = 0;
    // The same, and `notShown` runs on the main thread (at once or later)
    // when the path could not be shown, so that the caller can tell the
    // user where it is. A service that cannot tell counts it as shown.
    virtual void selectFile(const QString& path, std::function<void()> notShown);

    // The installed service, or the desktop's.
    static std::shared_ptr<RevealService> current();
    // Installs a service for the whole process; null restores the default.
    static void install(std::shared_ptr<RevealService> service);
};
