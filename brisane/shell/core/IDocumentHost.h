#pragma once
// What the editors and dialogs ask of the window that holds the open
// project, and nothing more: the edited mark, the window to put sheets on,
// and the few disc-wide refreshes an edit sets off. The main window
// controller derives from this; ControllerFunction::documentHost() reaches
// it, null when there is none. Main thread, except setDocumentEdited (any
// thread).

#include <memory>

class MediaData;
class QWidget;

class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;

    // Sets or clears the window's edited mark, the record of unsaved changes.
    virtual void setDocumentEdited(bool edited) = 0;
    // The window sheets and alerts go on; null before the window is made.
    virtual QWidget* window() const = 0;

    // Rebuilds the disc side of the open project from the title list, then
    // has the menu editor reload its pages.
    virtual void initDvdResource() = 0;
    // Puts the previous, next and play buttons on every page again.
    virtual void updatePreNextButtonForDVDPageArray() = 0;
    // The duration, in seconds, a new or refreshed menu page gets.
    virtual double getCurrentDVDMenuDuration() = 0;
    // Recomputes the disc size estimate and shows it.
    virtual void changeCapacityValue() = 0;
    // The seconds a clip plays on the disc; 0 for no clip.
    virtual double totalMediaDataTime(const std::shared_ptr<MediaData>& media) = 0;
};
