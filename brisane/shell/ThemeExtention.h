#pragma once
// The main window's dark look: the header strip installed above the
// window's content.

class QMainWindow;
class WndTitleBackView;

class ThemeExtention {
public:
    ThemeExtention() = delete;

    // Puts the strip at the top of the window's central widget, which must
    // have a vertical box layout; the window takes it over. Nothing for a
    // null window or view.
    static void changeTitleBarTheme(QMainWindow* window, WndTitleBackView* view);
};
