#pragma once
// Shows a file or folder selected in a window of the user's file browser,
// replaceable as a whole: the program asks the desktop
// (DesktopRevealService), tests install a recording fake. Main thread;
// returns at once.

#include <QString>
#include <memory>

class RevealService {
public:
    virtual ~RevealService();

    virtual void selectFile(const QString& path) = 0;

    // The installed service, or the desktop's.
    static std::shared_ptr<RevealService> current();
    // Installs a service for the whole process; null restores the default.
    static void install(std::shared_ptr<RevealService> service);
};
