#pragma once
// The two manuals of the Help menu ("Brisane Help.pdf" and "Orvella
// Help.pdf"), opened from a copy in the user's own help folder: a document
// is copied from the program's resources unless a copy at least as new is
// there, then opened with the default application (tests record the opening
// instead). Main thread.

#include <QString>
#include <functional>

class HelpDocuments {
public:
    HelpDocuments() = delete;

    // What an opening came to: the copy opened, or why there is none.
    struct Opened {
        QString copy;     // empty when nothing was opened
        QString message;  // the failure, for an alert
        QString reason;
    };

    // The user's own folder of the copies (in the user's cache).
    static QString helpDocumentFolder();
    // Copies `fileName` when needed and opens the copy.
    static Opened openHelpDocument(const QString& fileName);
    // Opens a document with the default application (tests record it); null
    // restores the default application.
    using DocumentOpener = std::function<void(const QString& path)>;
    static void setDocumentOpener(DocumentOpener opener);
};
