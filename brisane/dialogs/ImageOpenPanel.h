#pragma once
// The open panel the menu dialogs choose a picture file with: a file dialog,
// window-modal on the dialog's window, offering every picture format the
// program reads. It returns at once; on a confirmed choice `chosen` runs with
// the first chosen file (the list is logged), and a cancel does nothing.
// Main thread.

#include <QString>
#include <functional>

class QWidget;

class ImageOpenPanel {
public:
    ImageOpenPanel() = delete;

    // "Pictures (*.png *.jpg ...)" over every format the program reads.
    static QString nameFilter();
    static void open(QWidget* window, std::function<void(const QString&)> chosen);
};
