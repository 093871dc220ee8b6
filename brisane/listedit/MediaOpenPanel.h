#pragma once
// The open panel of the title list's imports: what it asks for, and the one
// place it is shown. The list edit controller runs it through a Runner, which
// tests replace to answer the panel themselves.

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

class MediaOpenPanel {
public:
    struct Request {
        QString title = QStringLiteral("Open Media");
        QString prompt = QStringLiteral("Add");
        bool allowsMultipleSelection = true;
        bool canChooseDirectories = false;
        bool canChooseFiles = true;
        // File name extensions offered, without dots; empty offers any file.
        QStringList allowedFileTypes;
    };

    // Gets the chosen paths in the panel's order; an empty list when the
    // panel was cancelled. Called once, on the main thread.
    using Completion = std::function<void(const QStringList& paths)>;
    // Shows the panel for `window` and answers through the completion.
    using Runner = std::function<void(const Request&, QWidget* window, Completion)>;

    MediaOpenPanel() = delete;

    // The panel for videos: any file.
    static Request videoRequest();
    // The panel for pictures: the files the picture reader opens.
    static Request pictureRequest();
    // Every file name extension the picture reader opens, lower case.
    static QStringList imageUnfilteredTypes();
    // The panel's name filter for the allowed types (both letter cases, as
    // file systems here tell them apart); empty for any file.
    static QString nameFilter(const Request& request);

    // The real panel: a window-modal file dialog on `window` that answers
    // when it closes, without holding up the event loop.
    static void beginSheetModalForWindow(const Request& request, QWidget* window,
                                         Completion completion);
};
