#pragma once
// How the desktop knows the program's windows: the desktop entry they belong
// to ("brisane", the name of the installed brisane.desktop, which Wayland
// takes as the windows' application id) and the icon every window shows.
//
// The icon is the desktop theme's "brisane" icon, installed with the program
// into the hicolor theme; where the theme has none (the program not installed,
// or a theme search path without it), the pictures built into the program
// (":/app/icons/brisane-<size>.png", rendered from resources/brisane.svg).
// Main thread, after the application object is made and before any window.

#include <QIcon>
#include <QString>

class ApplicationIdentity {
public:
    ApplicationIdentity() = delete;

    // The desktop entry's name, without ".desktop".
    static QString desktopFileName();
    // The theme icon, else the built-in one; never null.
    static QIcon windowIcon();
    // The built-in icon alone.
    static QIcon builtInIcon();

    // Gives the application its desktop file name and window icon.
    static void install();
};
